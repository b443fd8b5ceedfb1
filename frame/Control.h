#pragma once
// The base of every control: the lifecycle calls a host makes, the input events it
// delivers, and the class record that lets a host create the control by name.
#include <memory>
#include <span>
#include <string_view>

#include "frame/Events.h"
#include "frame/Members.h"
#include "frame/Template.h"

namespace talvik {

class ControlHost;
class PropertyBag;

class Control {
public:
    explicit Control(ControlHost& host) : host_(host) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Lifecycle, in the order a host calls them.
    virtual void Initialize() {}
    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag&) {}
    virtual void WriteProperties(PropertyBag&) {}
    virtual void Resize() {}
    virtual void Paint() {}
    virtual void Terminate() {}

    // Input and timer events of the child elements and of the surface, and a label's
    // Change. Events a control does not handle are ignored.
    virtual void OnEvent(const InputEvent&) {}

protected:
    ControlHost& host() const { return host_; }

private:
    ControlHost& host_;
};

// What a host needs to create a control: its name, design template, constructor and
// the bindings of its public members.
struct ControlClass {
    std::string_view name;
    const ControlTemplate& (*design)();
    std::unique_ptr<Control> (*create)(ControlHost&);
    std::span<const MemberBinding> (*members)();
};

// The ControlClass of a control class C that has `static const ControlTemplate&
// Design()` and `static std::span<const MemberBinding> Members()`.
template <class C>
constexpr ControlClass controlClass(std::string_view name) {
    return {name, &C::Design,
            [](ControlHost& h) -> std::unique_ptr<Control> { return std::make_unique<C>(h); },
            &C::Members};
}

}  // namespace talvik

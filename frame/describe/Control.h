#pragma once
// The base of every control: the lifecycle calls a host makes, the input events it
// delivers, and the class record that describes the control and lets a host create it.
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "frame/describe/AccessibleParts.h"
#include "frame/model/Events.h"
#include "frame/describe/Guid.h"
#include "frame/describe/Members.h"
#include "frame/model/Template.h"

namespace talvik {

class ControlHost;
class PropertyBag;
struct PictureFiles;

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

    // The control and its interactive parts as a screen reader presents them. A control
    // that does not say otherwise is one unnamed group that takes the focus.
    virtual AccessibleParts DescribeParts() const { return {}; }

protected:
    ControlHost& host() const { return host_; }

private:
    ControlHost& host_;
};

// The identity a public class has in the type description and the registration store;
// its interfaces are named after the class (_Matrix, __Matrix).
struct ClassIds {
    Guid clsid;
    Guid propertyIid;
    Guid eventIid;
};

// Everything the library knows of one control, written once in the control's own
// source: its name, identity, members and events, and, once the control is built, its
// design template and constructor. A class without identity is private to the library:
// it is absent from the type description and is created only by the library's private
// factory. A class without a constructor is described only: hosts cannot create it.
struct ControlClass {
    std::string_view name;
    std::optional<ClassIds> ids;          // none for a private class
    std::span<const MemberDesc> members;  // in the order of the type description
    std::span<const EventDecl> events;    // in their order, numbered from 1
    const ControlTemplate& (*design)() = nullptr;
    std::unique_ptr<Control> (*create)(ControlHost&) = nullptr;
    // The pictures of the library that holds the control: its bitmap resources and its
    // template pictures. None for a class that has neither.
    const PictureFiles* pictures = nullptr;

    bool isPublic() const { return ids.has_value(); }
    bool implemented() const { return create != nullptr && design != nullptr; }
};

template <class C>
std::unique_ptr<Control> construct(ControlHost& host) {
    return std::make_unique<C>(host);
}

// The record of a private class C with `static const ControlTemplate& Design()`, as the
// library's own tests make them.
template <class C>
constexpr ControlClass controlClass(std::string_view name, std::span<const MemberDesc> members = {},
                                    std::span<const EventDecl> events = {},
                                    const PictureFiles* pictures = nullptr) {
    return {name, std::nullopt, members, events, &C::Design, &construct<C>, pictures};
}

}  // namespace talvik

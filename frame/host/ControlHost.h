#pragma once
// The host layer every control is written against: the control's surface and child
// elements, the library's bitmap resources, event delivery and a few system services.
//
// The element model and the lifecycle driving live here once; a host (headless, Qt)
// derives from ControlHost, supplies the services and draws what the damage region
// says changed.
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"
#include "frame/model/Elements.h"
#include "frame/model/Events.h"
#include "frame/host/PropertyBag.h"
#include "frame/model/Surface.h"

namespace talvik {

// A resource identifier: a number (110) or a name ("SB_TOP_1").
class ResId {
public:
    ResId(std::int32_t number) : id_(number) {}
    ResId(std::string_view name) : id_(std::string(name)) {}
    ResId(const char* name) : id_(std::string(name)) {}
    std::string text() const;  // "110" or the name as asked

private:
    std::variant<std::int32_t, std::string> id_;
};

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};

enum class ScreenPointer { Default, Hourglass };

struct ShellRequest {
    std::uintptr_t window = 0;
    std::string verb, target, params, dir;
    std::int32_t show = 1;
};

// Message box flags: buttons plus icon.
inline constexpr std::int32_t kMsgOkOnly = 0;
inline constexpr std::int32_t kMsgCritical = 16;

class ControlHost : private ElementOwner {
public:
    ControlHost();
    virtual ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // ---- The container's side: creating and driving the control ----

    // Creates the elements from the class's template, gives the surface the design
    // size and constructs the control. Call once.
    void create(const ControlClass& cls);
    const ControlClass* controlClass() const { return class_; }
    Control* control() const { return control_.get(); }

    // Lifecycle calls. Errors that the control raises reach the caller as HostError.
    void Initialize();
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);
    void Paint();
    // The container sets the size; Resize is raised only when it changed.
    void resizeTo(float width, float height);
    // An input or timer event on an element (or on the surface when source is null).
    // Mouse input and drops reach only visible, enabled elements; an element of another
    // control is error 5. The handler may change the by-reference arguments of ev,
    // which the caller reads back afterwards.
    void deliver(const InputEvent& ev);
    // One Timer event of a timer element, if it is enabled.
    void tick(const Timer& t);
    // Terminate, then release the control. Inside a call into the control (an event
    // handler of the container that destroys the control) this waits until the
    // outermost call returns, so the control never runs on after its own destruction.
    void destroy();
    bool destroyed() const { return destroyed_; }

    // Runs f as a call into the control: nested calls, deferred destruction. A destroy
    // requested inside runs when the outermost call ends: on its normal way out, where
    // an error of Terminate reaches the caller like any other, or, when an exception is
    // already leaving the call, with Terminate's own errors dropped, since only one
    // exception can be on its way out at a time.
    template <class F>
    auto call(F&& f) -> decltype(f()) {
        using R = decltype(f());
        Guard g(*this);
        if constexpr (std::is_void_v<R>) {
            f();
            g.leave();
        } else {
            R r = f();
            g.leave();
            return static_cast<R&&>(r);
        }
    }

    // ---- What the control sees ----

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    // Elements are value handles into the host's element model; they stay valid as long
    // as the host.
    Image image(std::string_view name) { return single<Image>(name); }
    Label label(std::string_view name) { return single<Label>(name); }
    Line line(std::string_view name) { return single<Line>(name); }
    PictureBox pictureBox(std::string_view name) { return single<PictureBox>(name); }
    Timer timer(std::string_view name) { return single<Timer>(name); }
    Frame frame(std::string_view name) { return single<Frame>(name); }
    ElementArray<Image> images(std::string_view name) { return array<Image>(name); }
    ElementArray<Label> labels(std::string_view name) { return array<Label>(name); }
    ElementArray<Line> lines(std::string_view name) { return array<Line>(name); }
    ElementArray<PictureBox> pictureBoxes(std::string_view name) { return array<PictureBox>(name); }

    // Every element, all kinds together, in the template's stacking order.
    ElementRange elements() const { return ElementRange(&model_); }
    // The element of that name and index (-1 for a single element), or none.
    Element find(std::string_view name, int index = -1) const;
    // Where mouse input at a point of the surface (twips) goes: the topmost visible
    // image or label there, or none (the surface) when there is none or it is disabled.
    Element elementAt(float x, float y) const;
    const ElementModel& model() const { return model_; }

    // Services, as controls call them. Each raises a HostError when it fails.

    // A bitmap resource by number or by name (names match without regard to case).
    Picture LoadResPicture(const ResId& id, int kind = 0);
    // Delivers an event to the container's handler synchronously; by-reference
    // arguments may come back changed.
    void RaiseEvent(const EventDecl& ev, std::span<Variant> args);
    // A modal message; returns the button pressed. No title: the application's name.
    std::int32_t MsgBox(std::string_view text, std::int32_t flags,
                        std::optional<std::string_view> title = std::nullopt);
    void SetScreenPointer(ScreenPointer p);
    std::int32_t ShellOpen(const ShellRequest& request);
    TimeOfDay Now();
    void PropertyChanged(std::string_view property);
    // Tells the container's screen reader that a part of the control's DescribeParts
    // (-1: the control) changed. Never fails: a host without one ignores it.
    void PartChanged(PartChange what, int part = -1) noexcept { hostPartChanged(what, part); }
    bool IsNumeric(std::string_view text) const;
    // The extent of a text in a font, in twips.
    TextExtent MeasureText(std::string_view text, const Font& font) { return measure(text, font); }
    virtual std::uintptr_t WindowHandle() const { return 0; }

    // ---- Painting ----

    // What changed since the host last took it: for every changed element its old and
    // its new rectangle, and the surface where it changed.
    std::vector<RectF> takeDamage();

protected:
    // What a host implements. These never throw: a failure comes back as a status, so
    // that no exception crosses from a host into a control's code or back.
    struct Status {
        std::int32_t number = 0;  // 0 for success
        std::string description;
        static Status ok() { return {}; }
        static Status error(std::int32_t n, std::string d) { return {n, std::move(d)}; }
    };
    // The library's own resources; a host may inject faults and then defer to this.
    virtual Status hostLoadResPicture(const std::string& id, int kind, Picture& out) noexcept;
    virtual Status hostRaiseEvent(const EventDecl& ev, std::span<Variant> args) noexcept = 0;
    virtual Status hostMsgBox(std::string_view text, std::int32_t flags,
                              std::optional<std::string_view> title, std::int32_t& button) noexcept = 0;
    virtual Status hostSetScreenPointer(ScreenPointer p) noexcept = 0;
    virtual Status hostShellOpen(const ShellRequest& request, std::int32_t& result) noexcept = 0;
    virtual Status hostNow(TimeOfDay& now) noexcept = 0;
    virtual Status hostPropertyChanged(std::string_view property) noexcept = 0;
    virtual void hostPartChanged(PartChange, int) noexcept {}
    virtual TextExtent hostMeasureText(std::string_view text, const Font& font) noexcept = 0;
    // A timer was enabled, disabled or given a new interval.
    virtual void onTimerChanged(const Timer&) {}

private:
    class Guard {
    public:
        explicit Guard(ControlHost& h);
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        // The normal way out of the call: a destroy requested inside runs now.
        void leave();
        // Only when an exception leaves the call: the destroy runs, its errors dropped.
        ~Guard();

    private:
        ControlHost& host_;
        bool left_ = false;
    };
    friend class Surface;

    void captionChanged(const Label& l) override;
    void timerChanged(const Timer& t) override;
    TextExtent measure(std::string_view text, const Font& font) override;
    void surfaceResized();
    const PictureFiles& pictureFiles() const;
    void finishDestroy();
    static void check(const Status& s);

    template <class T>
    T single(std::string_view name);
    template <class T>
    ElementArray<T> array(std::string_view name);

    const ControlClass* class_ = nullptr;
    Surface surface_;
    mutable ElementModel model_;
    std::unique_ptr<Control> control_;
    int depth_ = 0;
    bool destroyPending_ = false;
    bool destroyed_ = false;
};

}  // namespace talvik

#pragma once
// A host without a window system, for tests and tools: deterministic text measurement,
// a clock that is set rather than read, scripted message-box answers, fault injection,
// and a record of every service call and of the damage each change caused.
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame/host/ControlHost.h"

namespace talvik {

// One service call the control made, as the headless host recorded it.
struct ServiceCall {
    enum class Kind { Event, MsgBox, Shell, Pointer, PropertyChanged, LoadResPicture, Now };
    Kind kind;
    std::string name;                // event, resource or property name; pointer shape
    std::vector<Variant> args;       // event arguments as the control raised them
    std::string text;                // message-box text, shell target
    std::int32_t flags = 0;          // message-box flags, shell show mode
    std::optional<std::string> title;  // message-box title
    ShellRequest shell;
};

class HeadlessHost : public ControlHost {
public:
    HeadlessHost() = default;
    // Creates the control of that class at once.
    explicit HeadlessHost(const ControlClass& cls) { create(cls); }

    // ---- Clock ----
    // The host's clock starts at 0 ms when the host is made and moves only by advance.
    // The present time of day is the one last set, moved on by the clock since then.
    std::int64_t elapsed() const { return elapsed_; }
    void setClock(TimeOfDay t) {
        clock_ = t;
        clockSetAt_ = elapsed_;
    }
    // Moves the clock on by ms (error 5 when negative), firing each enabled timer once
    // for every whole interval of it that elapses, in the order they fall due (timers
    // due at the same moment in template order). Enabling a timer or giving it an
    // interval starts its interval afresh. An error that a Timer handler raises ends
    // the advance at that tick and reaches the caller.
    void advance(std::int32_t ms);

    // ---- Script ----
    void setMsgBoxAnswer(std::int32_t button) { msgBoxAnswer_ = button; }
    void failResource(std::string id);  // matched without regard to case
    void failShell(bool on = true) { failShell_ = on; }
    void failPointer(bool on = true) { failPointer_ = on; }
    void unfailAll();
    void setShellResult(std::int32_t status) { shellResult_ = status; }

    // The container's handler of the control's events: it may change by-reference
    // arguments, set properties, or destroy the control. It must not throw.
    std::function<void(const EventDecl&, std::span<Variant>)> onEvent;
    // Called after every service call is recorded, in the order they happen.
    std::function<void(const ServiceCall&)> onServiceCall;

    // The most recent service calls, oldest first: at most recordLimit() of them, so
    // that a long session (the container reading a script for hours) does not grow.
    const std::deque<ServiceCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    std::size_t recordLimit() const { return recordLimit_; }
    void setRecordLimit(std::size_t n);
    int resourceLoads() const { return resourceLoads_; }
    ScreenPointer pointer() const { return pointer_; }

protected:
    Status hostLoadResPicture(const std::string& id, int kind, Picture& out) noexcept override;
    Status hostRaiseEvent(const EventDecl& ev, std::span<Variant> args) noexcept override;
    Status hostMsgBox(std::string_view text, std::int32_t flags, std::optional<std::string_view> title,
                      std::int32_t& button) noexcept override;
    Status hostSetScreenPointer(ScreenPointer p) noexcept override;
    Status hostShellOpen(const ShellRequest& request, std::int32_t& result) noexcept override;
    Status hostNow(TimeOfDay& now) noexcept override;
    Status hostPropertyChanged(std::string_view property) noexcept override;
    // One character is round(size * 2 / 3) pixels wide, a line round(size * 1.6)
    // pixels high, halves to even; 15 twips a pixel.
    TextExtent hostMeasureText(std::string_view text, const Font& font) noexcept override;
    void onTimerChanged(const Timer& t) override;

private:
    void record(ServiceCall c);

    TimeOfDay clock_{};
    std::int64_t elapsed_ = 0;     // ms
    std::int64_t clockSetAt_ = 0;  // the clock when clock_ was set
    // Every timer that has been enabled, in template order, with when it next ticks
    // (-1: it does not).
    struct Due {
        Timer timer;
        std::int64_t at;
    };
    std::vector<Due> due_;
    std::int32_t msgBoxAnswer_ = 1;
    std::int32_t shellResult_ = 42;
    std::vector<std::string> failedResources_;
    bool failShell_ = false;
    bool failPointer_ = false;
    ScreenPointer pointer_ = ScreenPointer::Default;
    int resourceLoads_ = 0;
    std::deque<ServiceCall> calls_;
    std::size_t recordLimit_ = 1024;
};

}  // namespace talvik

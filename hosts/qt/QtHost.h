#pragma once
// The host services of a control shown in a QtControlWidget: the message box, the
// screen pointer, shell open, the present time, property-changed notices, events to the
// container, text measurement and timers, all on Qt.
#include "frame/host/ControlHost.h"

namespace talvik {

class QtControlWidget;

class QtHost final : public ControlHost {
public:
    explicit QtHost(QtControlWidget& widget) : widget_(widget) {}
    ~QtHost() override;

    std::uintptr_t WindowHandle() const override;

protected:
    Status hostRaiseEvent(const EventDecl& ev, std::span<Variant> args) noexcept override;
    Status hostMsgBox(std::string_view text, std::int32_t flags, std::optional<std::string_view> title,
                      std::int32_t& button) noexcept override;
    Status hostSetScreenPointer(ScreenPointer p) noexcept override;
    Status hostShellOpen(const ShellRequest& request, std::int32_t& result) noexcept override;
    Status hostNow(TimeOfDay& now) noexcept override;
    Status hostPropertyChanged(std::string_view property) noexcept override;
    void hostPartChanged(PartChange what, int part) noexcept override;
    TextExtent hostMeasureText(std::string_view text, const Font& font) noexcept override;
    void onTimerChanged(const Timer& t) override;

private:
    static Status failure(const char* what);

    QtControlWidget& widget_;
    bool waitCursor_ = false;  // this host's hourglass is on the application's cursor stack
};

}  // namespace talvik

#include "hosts/qt/QtHost.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTime>
#include <QUrl>

#include "frame/host/HostError.h"
#include "hosts/qt/MessageBox.h"
#include "hosts/qt/QtControlWidget.h"
#include "hosts/qt/QtText.h"

namespace talvik {

namespace {
// The shell's status codes: above 32 is success.
constexpr std::int32_t kShellOpened = 42;
constexpr std::int32_t kShellFileNotFound = 2;
constexpr std::int32_t kShellNoAssociation = 31;
}  // namespace

QtHost::Status QtHost::failure(const char* what) {
    return {err::InvalidCall, std::string("Invalid procedure call or argument (") + what + ")"};
}

QtHost::~QtHost() {
    if (waitCursor_) QGuiApplication::restoreOverrideCursor();
}

std::uintptr_t QtHost::WindowHandle() const { return std::uintptr_t(widget_.effectiveWinId()); }

QtHost::Status QtHost::hostRaiseEvent(const EventDecl& ev, std::span<Variant> args) noexcept {
    try {
        emit widget_.eventRaised(ev, args);
        return Status::ok();
    } catch (const HostError& e) {
        return {e.number, e.description};
    } catch (const std::exception&) {
        return failure("event handler");
    }
}

QtHost::Status QtHost::hostMsgBox(std::string_view text, std::int32_t flags, std::optional<std::string_view> title,
                                  std::int32_t& button) noexcept {
    try {
        std::optional<QString> caption;
        if (title) caption = decodeText(*title);
        const auto box = makeMessageBox(decodeText(text), flags, caption, widget_.window());
        if (widget_.runMessageBox) {
            button = widget_.runMessageBox(*box);
        } else {
            box->exec();
            button = messageBoxResult(box->standardButton(box->clickedButton()));
        }
        return Status::ok();
    } catch (const std::exception&) {
        return failure("message box");
    }
}

QtHost::Status QtHost::hostSetScreenPointer(ScreenPointer p) noexcept {
    const bool wait = p == ScreenPointer::Hourglass;
    if (wait == waitCursor_) return Status::ok();
    if (wait) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else QGuiApplication::restoreOverrideCursor();
    waitCursor_ = wait;
    return Status::ok();
}

QtHost::Status QtHost::hostShellOpen(const ShellRequest& request, std::int32_t& result) noexcept {
    try {
        if (!request.verb.empty() && QString::fromStdString(request.verb).compare(u"open", Qt::CaseInsensitive) != 0) {
            result = kShellNoAssociation;
            return Status::ok();
        }
        const QUrl url = QUrl::fromUserInput(decodeText(request.target), decodeText(request.dir));
        result = url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url) ? kShellOpened : kShellFileNotFound;
        return Status::ok();
    } catch (const std::exception&) {
        return failure("shell open");
    }
}

QtHost::Status QtHost::hostNow(TimeOfDay& now) noexcept {
    if (widget_.timeOfDay) {
        try {
            now = widget_.timeOfDay();
            return Status::ok();
        } catch (const std::exception&) {
            return failure("time of day");
        }
    }
    const QTime t = QTime::currentTime();
    now = {t.hour(), t.minute(), t.second()};
    return Status::ok();
}

QtHost::Status QtHost::hostPropertyChanged(std::string_view property) noexcept {
    try {
        emit widget_.propertyChanged(QString::fromUtf8(property.data(), qsizetype(property.size())));
        return Status::ok();
    } catch (const std::exception&) {
        return failure("property changed");
    }
}

void QtHost::hostPartChanged(PartChange what, int part) noexcept { widget_.partChanged(what, part); }

TextExtent QtHost::hostMeasureText(std::string_view text, const Font& font) noexcept {
    try {
        return measureText(text, font);
    } catch (const std::exception&) {
        return {};
    }
}

void QtHost::onTimerChanged(const Timer& t) { widget_.timerChanged(t); }

}  // namespace talvik

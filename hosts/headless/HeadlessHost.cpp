#include "hosts/headless/HeadlessHost.h"

#include <algorithm>
#include <cctype>

#include "frame/Arith.h"
#include "frame/HostError.h"

namespace talvik {

namespace {
std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}
}  // namespace

void HeadlessHost::failResource(std::string id) { failedResources_.insert(upper(std::move(id))); }

void HeadlessHost::unfailAll() {
    failedResources_.clear();
    failShell_ = false;
    failPointer_ = false;
}

void HeadlessHost::record(ServiceCall c) {
    calls_.push_back(std::move(c));
    if (onServiceCall) onServiceCall(calls_.back());
}

Picture HeadlessHost::LoadResPicture(const ResId& id, int kind) {
    const std::string text = id.text();
    if (failedResources_.count(upper(text)) != 0) err::injectedFault();
    Picture p = ControlHost::LoadResPicture(id, kind);
    ++resourceLoads_;
    return p;
}

void HeadlessHost::RaiseEvent(const EventDecl& ev, std::span<Variant> args) {
    // Recorded as raised, before the handler may change the by-reference arguments.
    ServiceCall c{ServiceCall::Kind::Event, std::string(ev.name)};
    c.args.assign(args.begin(), args.end());
    record(std::move(c));
    if (onEvent) onEvent(ev, args);
}

std::int32_t HeadlessHost::MsgBox(std::string_view text, std::int32_t flags,
                                  std::optional<std::string_view> title) {
    ServiceCall c{ServiceCall::Kind::MsgBox, "msgbox"};
    c.text = std::string(text);
    c.flags = flags;
    if (title) c.title = std::string(*title);
    record(std::move(c));
    return msgBoxAnswer_;
}

void HeadlessHost::SetScreenPointer(ScreenPointer p) {
    if (failPointer_) err::injectedFault();
    pointer_ = p;
    record({ServiceCall::Kind::Pointer, p == ScreenPointer::Hourglass ? "hourglass" : "default"});
}

std::int32_t HeadlessHost::ShellOpen(const ShellRequest& request) {
    if (failShell_) err::injectedFault();
    ServiceCall c{ServiceCall::Kind::Shell, request.verb};
    c.text = request.target;
    c.flags = request.show;
    c.shell = request;
    record(std::move(c));
    return shellResult_;
}

void HeadlessHost::PropertyChanged(std::string_view property) {
    record({ServiceCall::Kind::PropertyChanged, std::string(property)});
}

TextExtent HeadlessHost::MeasureText(std::string_view text, const Font& font) {
    const std::int32_t charPx = roundHalfEven(font.size * 2.0 / 3.0);
    const std::int32_t linePx = roundHalfEven(font.size * 1.6);
    std::size_t longest = 0, current = 0, lines = 1;
    for (char ch : text) {
        if (ch == '\n') {
            ++lines;
            current = 0;
        } else if (ch != '\r') {
            longest = std::max(longest, ++current);
        }
    }
    return {static_cast<float>(longest) * charPx * kTwipsPerPixel,
            static_cast<float>(lines) * linePx * kTwipsPerPixel};
}

}  // namespace talvik

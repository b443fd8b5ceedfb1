#include "hosts/headless/HeadlessHost.h"

#include <algorithm>

#include <cmath>

#include "frame/text/Text.h"

#include "frame/host/HostError.h"

namespace talvik {

void HeadlessHost::failResource(std::string id) { failedResources_.push_back(std::move(id)); }

void HeadlessHost::unfailAll() {
    failedResources_.clear();
    failShell_ = false;
    failPointer_ = false;
}

void HeadlessHost::setRecordLimit(std::size_t n) {
    recordLimit_ = n;
    while (calls_.size() > recordLimit_) calls_.pop_front();
}

void HeadlessHost::record(ServiceCall c) {
    if (recordLimit_ == 0) {
        if (onServiceCall) onServiceCall(c);
        return;
    }
    if (calls_.size() == recordLimit_) calls_.pop_front();
    calls_.push_back(std::move(c));
    if (onServiceCall) onServiceCall(calls_.back());
}

HeadlessHost::Status HeadlessHost::hostLoadResPicture(const std::string& id, int kind, Picture& out) noexcept {
    if (std::any_of(failedResources_.begin(), failedResources_.end(),
                    [&](const std::string& f) { return equalsNoCase(f, id); }))
        return Status::error(err::InvalidCall, "Injected fault");
    const Status s = ControlHost::hostLoadResPicture(id, kind, out);
    if (s.number == 0) {
        ++resourceLoads_;
        record({ServiceCall::Kind::LoadResPicture, id});
    }
    return s;
}

HeadlessHost::Status HeadlessHost::hostRaiseEvent(const EventDecl& ev, std::span<Variant> args) noexcept {
    // Recorded as raised, before the handler may change the by-reference arguments.
    ServiceCall c{ServiceCall::Kind::Event, std::string(ev.name)};
    c.args.assign(args.begin(), args.end());
    record(std::move(c));
    if (onEvent) onEvent(ev, args);
    return Status::ok();
}

HeadlessHost::Status HeadlessHost::hostMsgBox(std::string_view text, std::int32_t flags,
                                              std::optional<std::string_view> title,
                                              std::int32_t& button) noexcept {
    ServiceCall c{ServiceCall::Kind::MsgBox, "msgbox"};
    c.text = std::string(text);
    c.flags = flags;
    if (title) c.title = std::string(*title);
    record(std::move(c));
    button = msgBoxAnswer_;
    return Status::ok();
}

HeadlessHost::Status HeadlessHost::hostSetScreenPointer(ScreenPointer p) noexcept {
    if (failPointer_) return Status::error(err::InvalidCall, "Injected fault");
    pointer_ = p;
    record({ServiceCall::Kind::Pointer, p == ScreenPointer::Hourglass ? "hourglass" : "default"});
    return Status::ok();
}

HeadlessHost::Status HeadlessHost::hostShellOpen(const ShellRequest& request, std::int32_t& result) noexcept {
    if (failShell_) return Status::error(err::InvalidCall, "Injected fault");
    ServiceCall c{ServiceCall::Kind::Shell, request.verb};
    c.text = request.target;
    c.flags = request.show;
    c.shell = request;
    record(std::move(c));
    result = shellResult_;
    return Status::ok();
}

void HeadlessHost::onTimerChanged(const Timer& t) {
    const std::int64_t at = t.Enabled() && t.Interval() > 0 ? elapsed_ + t.Interval() : -1;
    for (Due& d : due_)
        if (d.timer == t) {
            d.at = at;
            return;
        }
    if (at < 0) return;
    // Kept in template order, which decides between timers due at the same moment.
    std::size_t before = 0;
    while (before < due_.size() && due_[before].timer.id() < t.id()) ++before;
    due_.insert(due_.begin() + static_cast<std::ptrdiff_t>(before), {t, at});
}

void HeadlessHost::advance(std::int32_t ms) {
    if (ms < 0) err::invalidCall();
    const std::int64_t end = elapsed_ + ms;
    while (!destroyed()) {
        Due* next = nullptr;
        for (Due& d : due_)
            if (d.at >= 0 && d.at <= end && (next == nullptr || d.at < next->at)) next = &d;
        if (next == nullptr) break;
        elapsed_ = next->at;
        const Timer t = next->timer;
        // Before the tick, so that whatever the handler does to the timer wins.
        next->at += t.Interval();
        tick(t);
    }
    elapsed_ = end;
}

HeadlessHost::Status HeadlessHost::hostNow(TimeOfDay& now) noexcept {
    constexpr std::int64_t kDay = 24 * 60 * 60;
    const std::int64_t set = (clock_.hour * 60 + clock_.minute) * 60 + clock_.second;
    const std::int64_t s = (set + (elapsed_ - clockSetAt_) / 1000) % kDay;
    now = {int(s / 3600), int(s / 60 % 60), int(s % 60)};
    record({ServiceCall::Kind::Now, "now"});
    return Status::ok();
}

HeadlessHost::Status HeadlessHost::hostPropertyChanged(std::string_view property) noexcept {
    record({ServiceCall::Kind::PropertyChanged, std::string(property)});
    return Status::ok();
}

TextExtent HeadlessHost::hostMeasureText(std::string_view text, const Font& font) noexcept {
    // Sizes are points below 2048 (labels refuse larger), so the rounding cannot overflow.
    const auto charPx = static_cast<std::int32_t>(std::nearbyint(font.size * 2.0 / 3.0));
    const auto linePx = static_cast<std::int32_t>(std::nearbyint(font.size * 1.6));
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

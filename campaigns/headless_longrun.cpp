// A long day at the answer sheet and the option strip, in one process on the headless
// host: random clicks, presses and keys all over both controls, now and then a property
// set through the controls' own members (random values, errors expected and counted),
// then a day of the analog clock ticking second by second on the host's clock.
//
//     talvik_longrun_headless [EVENTS] [CLOCK_HOURS]      (10,000,000 and 24 by default)
//
// Prints one line per part (CAMPAIGN|what|rounds|seconds|...): what, rounds, seconds, resident size at start (after a
// warm-up) and end in kB, findings. Exits 1 when memory grew beyond the margin or an
// unexpected exception came out of a control.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>
#include <vector>

#include "Rss.h"
#include "answer/Matrix.h"
#include "answer/VelOptionToolBar.h"
#include "controls/TimerPicture.h"
#include "frame/host/HostError.h"
#include "frame/typelib/Dispatch.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {

struct Result {
    const char* what;
    long long rounds;
    double seconds;
    long rssStart, rssEnd;
    long long findings;
    long long hostErrors;
    long long changes;
};
Result clicks(long long events);
Result clock(int hours);

namespace {

using Clock = std::chrono::steady_clock;

void print(const Result& l) {
    std::printf("CAMPAIGN|%s|%lld|%.1f|%ld|%ld|%lld|%lld changed the picture, %lld errors the controls raised\n",
                l.what, l.rounds, l.seconds, l.rssStart, l.rssEnd, l.findings, l.changes, l.hostErrors);
    std::fflush(stdout);
}

// Keys a candidate presses, then any key at all.
constexpr std::int16_t kKeys[] = {37, 38, 39, 40, 9, 13, 32, 33, 34, 35, 36, 46, 8, 27,
                                   '1', '2', '3', '4', 'A', 'B', 'C', 'D', 'E', 'a', 'b', 'z'};

class Driver {
public:
    Driver(const ControlClass& cls, std::uint32_t seed) : cls_(cls), dispatch_(cls), random_(seed) {
        host_.create(cls);
        host_.Initialize();
        host_.InitProperties();
        host_.resizeTo(4000, 3000);
        host_.takeDamage();
        for (const MemberDesc& m : cls.members)
            if (m.hasLet() && m.bound()) settable_.push_back(&m);
    }

    // One event; false when something other than a control's error came out.
    bool step() {
        try {
            const int what = pick(1000);
            if (what < 3 && !settable_.empty())
                setRandomProperty();
            else if (what < 4)
                host_.resizeTo(float(200 + pick(9000)), float(200 + pick(7000)));
            else if (what < 600)
                click();
            else
                key();
            changes_ += !host_.takeDamage().empty();
        } catch (const HostError&) {
            ++hostErrors_;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%.*s: unexpected exception: %s\n", int(cls_.name.size()), cls_.name.data(), e.what());
            return false;
        }
        return true;
    }
    long long hostErrors() const { return hostErrors_; }
    // Events after which the picture changed: the run reaches the controls at all.
    long long changes() const { return changes_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void click() {
        const float x = float(pick(int(host_.surface().Width()) + 200) - 100);
        const float y = float(pick(int(host_.surface().Height()) + 200) - 100);
        const Element target = host_.elementAt(x, y);
        const std::int16_t button = pick(10) == 0 ? kRightButton : kLeftButton;
        const std::int16_t shift = std::int16_t(pick(8));
        switch (pick(6)) {
            case 0: host_.deliver({.kind = EventKind::MouseMove, .source = target, .button = 0, .shift = shift, .x = x, .y = y}); break;
            case 1: host_.deliver({.kind = EventKind::DblClick, .source = target}); break;
            default:
                host_.deliver({.kind = EventKind::MouseDown, .source = target, .button = button, .shift = shift, .x = x, .y = y});
                host_.deliver({.kind = EventKind::MouseUp, .source = target, .button = button, .shift = shift, .x = x, .y = y});
                host_.deliver({.kind = EventKind::Click, .source = target});
        }
    }

    void key() {
        const std::int16_t k = pick(5) == 0 ? std::int16_t(pick(256)) : kKeys[pick(std::size(kKeys))];
        const std::int16_t shift = pick(6) == 0 ? std::int16_t(pick(8)) : std::int16_t(0);
        host_.deliver({.kind = EventKind::KeyDown, .shift = shift, .key = k});
        host_.deliver({.kind = EventKind::KeyPress, .key = k});
        host_.deliver({.kind = EventKind::KeyUp, .shift = shift, .key = k});
    }

    Variant randomValue(const TypeRef& type) {
        switch (type.coerced()) {
            case VarType::Bool: return pick(2) == 0;
            case VarType::String: {
                static const char* const texts[] = {"", "A", "ABCD", "1234", "x\ny", "\xC3\xA9t\xC3\xA9", "ABCDEFGHIJ"};
                return std::string(texts[pick(std::size(texts))]);
            }
            case VarType::Float:
            case VarType::Double: return double(pick(12000) - 1000);
            default: return std::int32_t(pick(240) - 20);
        }
    }

    void setRandomProperty() {
        const MemberDesc& m = *settable_[pick(int(settable_.size()))];
        const Variant value = randomValue(m.type);
        host_.call([&] { dispatch_.invoke(*host_.control(), m.id, InvokeKind::PropertyPut, std::span(&value, 1)); });
    }

    const ControlClass& cls_;
    HeadlessHost host_;
    Dispatcher dispatch_;
    std::mt19937 random_;
    std::vector<const MemberDesc*> settable_;
    long long hostErrors_ = 0;
    long long changes_ = 0;
};

}  // namespace

Result clicks(long long events) {
    Driver sheet(controls::Matrix::Class, 1), strip(controls::VelOptionToolBar::Class, 2);
    long long findings = 0;
    const long long warmup = std::max<long long>(events / 20, 1);
    long rssStart = campaigns::residentKb();
    const auto t0 = Clock::now();
    for (long long i = 0; i < events; ++i) {
        if (i == warmup) rssStart = campaigns::residentKb();
        findings += !(i % 2 == 0 ? sheet : strip).step();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    return {"clicks+keys Matrix/strip", events, seconds, rssStart, campaigns::residentKb(), findings,
            sheet.hostErrors() + strip.hostErrors(), sheet.changes() + strip.changes()};
}

Result clock(int hours) {
    HeadlessHost host(controls::TimerPicture::Class);
    host.setClock({0, 0, 0});
    host.Initialize();
    host.InitProperties();
    host.takeDamage();
    const long long ticks = static_cast<long long>(hours) * 3600;
    long rssStart = campaigns::residentKb();
    long long findings = 0, changes = 0;
    const auto t0 = Clock::now();
    for (long long i = 1; i <= ticks; ++i) {
        if (i == 3600 || (ticks < 3600 && i == ticks / 2)) rssStart = campaigns::residentKb();
        try {
            host.advance(1000);
        } catch (const std::exception& e) {
            ++findings;
            std::fprintf(stderr, "clock tick %lld: %s\n", i, e.what());
        }
        changes += !host.takeDamage().empty();
    }
    if (host.elapsed() != ticks * 1000) ++findings;
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    return {"TimerPicture clock, seconds", ticks, seconds, rssStart, campaigns::residentKb(), findings, 0, changes};
}

}  // namespace talvik

int main(int argc, char** argv) {
    const long long events = argc > 1 ? std::atoll(argv[1]) : 10'000'000;
    const int hours = argc > 2 ? std::atoi(argv[2]) : 24;
    int status = 0;
    for (const talvik::Result& l : {talvik::clicks(events), talvik::clock(hours)}) {
        talvik::print(l);
        if (l.findings != 0) status = 1;
        if (l.rssEnd - l.rssStart > talvik::campaigns::kGrowthMarginKb) {
            std::fprintf(stderr, "%s: resident size grew by %ld kB\n", l.what, l.rssEnd - l.rssStart);
            status = 1;
        }
    }
    return status;
}

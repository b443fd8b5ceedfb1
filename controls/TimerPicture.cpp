#include "controls/TimerPicture.h"

#include <cmath>
#include <cstdio>

#include "frame/host/Arith.h"
#include "frame/host/ControlHost.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

namespace {
// Where the lines start does not matter: Initialize sets every end point.
ElementSpec handLine(const char* name) {
    return {.kind = ElementKind::Line, .name = name, .borderColor = rgb(0, 0, 64), .borderWidth = 2};
}
}  // namespace

const ControlTemplate& TimerPicture::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.width = 4800;
        t.height = 3600;
        t.add({.kind = ElementKind::Timer, .name = "Timer1", .interval = 1000});
        t.add(handLine("kimgiay"));
        t.add(handLine("kimphut"));
        t.add(handLine("kimgio"));
        return t;
    }();
    return t;
}

namespace {
using T = TimerPicture;
constexpr MemberDesc kMembers[] = {
    property<T, bool, &T::Enable, &T::Enable>("Enable", kProperty + 1),
    property<T, float, &T::Duration, &T::Duration>("Duration", kProperty + 0),
};
}  // namespace

const ControlClass TimerPicture::Class{
    .name = "TimerPicture",
    .ids = ClassIds{guid("{F77C1ABB-4AEC-4FB0-93F7-B21B700C9CA3}"), guid("{C7728E90-CCA2-4D4B-AF4B-2094B8F760D3}"),
                    guid("{90035826-7D28-4B52-80AA-45D9EE5229C9}")},
    .members = kMembers,
    .design = &TimerPicture::Design,
    .create = &construct<TimerPicture>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

namespace {
// Hand lengths, twips.
constexpr double kSecondHand = 650;
constexpr double kMinuteHand = 500;
constexpr double kHourHand = 350;
// The half and the full turn as the clock has always taken them; the exact values would
// move every hand by a few twips.
constexpr double kHalfTurn = 3.14;
constexpr double kFullTurn = 6.28;
}  // namespace

TimerPicture::TimerPicture(ControlHost& host)
    : Control(host),
      Timer1(host.timer("Timer1")),
      kimgiay(host.line("kimgiay")),
      kimphut(host.line("kimphut")),
      kimgio(host.line("kimgio")) {}

// ---- Property operations ----

// Applied to the timer also when unchanged: a new clock ticks from its template although
// Enable reads false, and Enable = false must still stop it.
void TimerPicture::Enable(bool v) {
    enable_ = v;
    Timer1.Enabled(v);
}

// ---- Routines ----

// End points are whole twips, halves to even.
void TimerPicture::DrawHand(const Line& hand, float angle, double length) const {
    hand.X1(centreX_);
    hand.Y1(centreY_);
    hand.X2(float(roundHalfEven(double(centreX_) + length * std::cos(double(angle)))));
    hand.Y2(float(roundHalfEven(double(centreY_) - length * std::sin(double(angle)))));
}

void TimerPicture::DrawHands() {
    const TimeOfDay now = host().Now();
    secondAngle_ = float((kHalfTurn / 2 + kFullTurn) - kHalfTurn * now.second / 30);
    minuteAngle_ = float((kHalfTurn / 2 + kFullTurn) - kHalfTurn * now.minute / 30);
    hourAngle_ = float(kHalfTurn / 2 - kHalfTurn * now.hour / 6 - (kHalfTurn / 360) * now.minute);
    DrawHand(kimphut, minuteAngle_, kMinuteHand);
    DrawHand(kimgiay, secondAngle_, kSecondHand);
    DrawHand(kimgio, hourAngle_, kHourHand);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", now.hour % 100, now.minute % 100);
    if (shownTime_ == text) return;
    shownTime_ = text;
    host().PartChanged(PartChange::Name);
}

// ---- Lifecycle ----

// The centre is taken once, here: a container that resizes the clock later leaves the
// hands turning about the same point of the face.
void TimerPicture::Initialize() {
    Surface& surface = host().surface();
    surface.setPicture(host().LoadResPicture("Clock_Firefox"));
    surface.Height(1800);
    surface.Width(1815);
    enable_ = false;
    duration_ = 45;
    centreX_ = surface.Width() / 2;
    centreY_ = surface.Height() / 2;
    for (const Line& hand : {kimgiay, kimphut, kimgio}) {
        hand.X1(centreX_);
        hand.Y1(centreY_);
    }
    DrawHands();
}

void TimerPicture::ReadProperties(const PropertyBag& bag) {
    Enable(bag.ReadProperty("Enable", enable_).toBool());
}

void TimerPicture::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("Enable", enable_, false);
}

// ---- Event handlers ----

void TimerPicture::OnEvent(const InputEvent& ev) {
    if (ev.kind == EventKind::Timer && ev.source == Timer1) DrawHands();
}


// ---- Screen readers ----

AccessibleParts TimerPicture::DescribeParts() const {
    AccessibleParts d;
    d.self = {.role = PartRole::Clock, .name = shownTime_, .value = shownTime_, .readOnly = true};
    d.takesFocus = false;
    return d;
}

}  // namespace talvik::controls

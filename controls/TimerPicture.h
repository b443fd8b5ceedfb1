#pragma once
// The analog clock: a clock face with an hour, a minute and a second hand, moved to the
// present time of day once a second while its timer runs. Enable starts and stops the
// ticking; Duration is kept for the container and read by nothing. It raises no events
// and persists Enable only.
#include <string>

#include "frame/describe/Control.h"
#include "frame/model/Elements.h"

namespace talvik::controls {

class TimerPicture : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit TimerPicture(ControlHost& host);

    // Starts or stops the timer; the hands stay where they were last drawn.
    bool Enable() const { return enable_; }
    void Enable(bool v);
    float Duration() const { return duration_; }
    void Duration(float v) { duration_ = v; }

    void Initialize() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void OnEvent(const InputEvent& ev) override;
    // A read-only clock named by the time its hands show ("10:42"); it takes no focus.
    AccessibleParts DescribeParts() const override;

private:
    void DrawHand(const Line& hand, float angle, double length) const;
    void DrawHands();

    std::string shownTime_;  // hours and minutes the hands show
    bool enable_ = false;
    float duration_ = 0;
    float centreX_ = 0, centreY_ = 0;  // twips
    float secondAngle_ = 0, minuteAngle_ = 0, hourAngle_ = 0;  // radians, counter-clockwise from the right

    Timer Timer1;
    Line kimgiay;  // second hand
    Line kimphut;  // minute hand
    Line kimgio;   // hour hand
};

}  // namespace talvik::controls

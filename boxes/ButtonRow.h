#pragma once
// What the three boxes with buttons share: a row of image buttons (Image4) above the
// bottom frame row, their normal and hover pictures by Style, the hover rule, and the
// click events. A box describes its row in a ButtonRowKind and places the row across in
// PlaceButtons; everything else about the buttons is here once.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "boxes/SkinFrame.h"
#include "boxes/SkinTable.h"
#include "frame/describe/Enumerations.h"
#include "frame/model/Events.h"
#include "resources/Resources.h"

namespace talvik::controls {

inline constexpr int kMaxButtons = 4;

// The argument of every click event: the button's index, which a handler may change
// without effect.
inline constexpr ArgDecl kButtonArg[] = {{"Button", VarType::Int16, true}};

// One picture for each button, by index; a row of three leaves the fourth unused.
struct ButtonSet {
    std::array<SliceBitmap, kMaxButtons> bitmaps;
};

// Where a mouse move that is on no button puts every button back to normal: always over
// a frame slice, and over these as the box says.
enum class RestoreOn : std::uint8_t { Slices = 0, Caption = 1, Surface = 2, CaptionAndSurface = 3 };

struct ButtonRowKind {
    // By Style from 0; a Style past the end of a table takes its "otherwise" set, and
    // with none there the buttons keep the pictures they have (normal) or show no hover.
    std::span<const ButtonSet> normal;
    std::span<const ButtonSet> hover;
    const ButtonSet* normalOtherwise = nullptr;
    const ButtonSet* hoverOtherwise = nullptr;
    RestoreOn restoreOn = RestoreOn::Slices;
    bool stretchOff = false;               // every refresh first sets Stretch false
    const EventDecl* click = nullptr;      // raised with the button's index
    const EventDecl* dblClick = nullptr;   // likewise; none: a double click is ignored
    std::array<const char*, kMaxButtons> names{};  // what a screen reader calls each button
};

class ButtonRow : public SkinFrame {
public:
    // The class record of a box with `Buttons` buttons, built and drawn from the library's
    // pictures.
    template <class Box, int Buttons>
    static constexpr ControlClass record(std::string_view name, ClassIds ids, std::span<const MemberDesc> members,
                                         std::span<const EventDecl> events) {
        static_assert(Buttons > 0 && Buttons <= kMaxButtons, "a button set has a picture for each button");
        return {.name = name, .ids = ids, .members = members, .events = events, .design = &design<Buttons>,
                .create = &construct<Box>, .pictures = &resources::kPictureFiles};
    }
    // The member rows of the two properties every box has.
    static constexpr MemberDesc styleMember(std::int32_t id) {
        return property<SkinFrame, std::int32_t, &SkinFrame::Style, &SkinFrame::Style>("Style", BoxStyleEnumType, id);
    }
    static constexpr MemberDesc captionMember(std::int32_t id) {
        return property<SkinFrame, std::string, &SkinFrame::Caption, &SkinFrame::Caption>("Caption", id);
    }

    void OnEvent(const InputEvent& ev) override;
    // The captioned group with its buttons, each pressed by a click.
    AccessibleParts DescribeParts() const override;

protected:
    ButtonRow(ControlHost& host, const BoxVariant& variant, const ButtonRowKind& kind);

    // Every button in its normal picture, and the button `hover` (none when it is no
    // button's index) in its hover picture. The pictures stay loaded once shown, and an
    // element is given a picture only when it shows another one.
    void SetButtonPictures(int hover);
    static constexpr int kNone = -1;

    // The row's lower edge 50 twips above the bottom frame row, each assignment a step.
    void PlaceButtonsDown(FrameSteps& step);
    // Across; each box has its own rule.
    virtual void PlaceButtons() = 0;

    ElementArray<Image> Image4;

private:
    // The frame's template with `count` buttons above the caption.
    static ControlTemplate buttonTemplate(int count);
    template <int Buttons>
    static const ControlTemplate& design() {
        static const ControlTemplate t = buttonTemplate(Buttons);
        return t;
    }

    // The loaded pictures of one set; an empty one is not loaded yet.
    struct Loaded {
        const ButtonSet* set;
        std::array<Picture, kMaxButtons> pictures;
    };
    const Picture& picture(int loaded, int button);
    int loadedIndex(const ButtonSet* set);
    // The sets the stored Style shows, found again only when the Style changed.
    void resolve();

    const ButtonRowKind& kind_;
    std::vector<Loaded> loaded_;
    std::int32_t resolvedStyle_ = 0;
    bool resolved_ = false;
    int normal_ = -1, hover_ = -1;  // into loaded_, -1 for none
};

}  // namespace talvik::controls

#include "answer/Matrix.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "frame/host/Arith.h"
#include "frame/host/ControlHost.h"
#include "frame/host/HostError.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

// ---- Template ----

namespace {
constexpr int kRows = 152;  // elements in every question array
constexpr int kLines = 8;   // two border lines for each of four columns
const char* const kChoiceArrays[4] = {"Image1", "Image2", "Image3", "Image4"};
const char* const kMarkArrays[4] = {"Picture1", "Picture2", "Picture3", "Picture4"};

// The parts a screen reader sees: for question i its row, then its choices A to D.
constexpr int RowPart(int i) { return 5 * i; }
constexpr int ChoicePart(int i, int k) { return 5 * i + 1 + k; }
}  // namespace

const ControlTemplate& Matrix::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.width = 4800;
        t.height = 3600;
        t.backStyle = 1;
        // Design positions: four columns of 38 rows, so that a question the layout does
        // not reach still sits somewhere sensible.
        const auto rowTop = [](int i) { return 50.0f + 390.0f * float(i % 38) + 20.0f * float(i % 38 / 5); };
        const auto columnLeft = [](int i) { return 50.0f + 2825.0f * float(i / 38); };
        t.addArray("Label1", kRows, [&](int i) {
            ElementSpec s{.kind = ElementKind::Label};
            s.left = columnLeft(i);
            s.top = rowTop(i) + 22.5f;
            s.width = 375;
            s.height = 195;
            s.caption = "100";
            s.font = {"MS Sans Serif", 8.25f, true, false};
            s.transparent = true;
            return s;
        });
        for (int k = 0; k < 4; ++k)
            t.addArray(kChoiceArrays[k], kRows, [&](int i) {
                ElementSpec s{.kind = ElementKind::Image};
                s.left = columnLeft(i) + 415 + 590.0f * float(k);
                s.top = rowTop(i);
                s.picture = std::string(kMarkArrays[k]) + "(0)";
                s.stretch = false;
                return s;
            });
        t.add({.kind = ElementKind::Image, .name = "imgArrow", .width = 120, .height = 120,
               .picture = "imgArrow", .stretch = true});
        t.addArray("Line1", kLines, [](int) { return ElementSpec{.kind = ElementKind::Line}; });
        for (int k = 0; k < 4; ++k)
            t.addArray(kMarkArrays[k], 2, [&](int i) {
                return ElementSpec{.kind = ElementKind::PictureBox, .visible = false,
                                   .picture = std::string(kMarkArrays[k]) + "(" + std::to_string(i) + ")"};
            });
        return t;
    }();
    return t;
}

namespace {
constexpr MemberDesc kMembers[] = {
    method<&Matrix::reset>("reset", 0x6003000C),
    property<Matrix, std::int16_t, &Matrix::DistanceItems, &Matrix::DistanceItems>("DistanceItems", kProperty + 5),
    property<Matrix, std::int16_t, &Matrix::MaxItemPerCol, &Matrix::MaxItemPerCol>("MaxItemPerCol", kProperty + 4),
    property<Matrix, std::int16_t, &Matrix::RowSel, &Matrix::RowSel>("RowSel", kProperty + 3),
    property<Matrix, std::int16_t, &Matrix::MaxItems, &Matrix::MaxItems>("MaxItems", kProperty + 2),
    property<Matrix, std::int16_t, &Matrix::MaxCols, &Matrix::MaxCols>("MaxCols", kProperty + 1),
    readOnly<&Matrix::result>("result", kProperty + 0),
};
}  // namespace

const ControlClass Matrix::Class{
    .name = "Matrix",
    .ids = ClassIds{guid("{1E2E8703-D9FD-48D0-9002-8B673A58920A}"), guid("{C71F02D4-6B61-468E-AF92-E27A6FC20698}"),
                    guid("{3649FC71-B77C-438B-A1D8-0DB0A6DE74E4}")},
    .members = kMembers,
    .design = &Matrix::Design,
    .create = &construct<Matrix>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

Matrix::Matrix(ControlHost& host)
    : Control(host),
      Label1(host.labels("Label1")),
      choices_{host.images("Image1"), host.images("Image2"), host.images("Image3"), host.images("Image4")},
      marks_{host.pictureBoxes("Picture1"), host.pictureBoxes("Picture2"), host.pictureBoxes("Picture3"),
             host.pictureBoxes("Picture4")},
      imgArrow(host.image("imgArrow")),
      Line1(host.lines("Line1")) {}

// ---- Property operations ----

void Matrix::DistanceItems(std::int16_t v) {
    distanceItems_ = v < 1 ? std::int16_t{210} : v;
    ArrangeGrid();
}

void Matrix::MaxItemPerCol(std::int16_t v) {
    ResumeNext step;
    step([&] { maxItemPerCol_ = v >= 2 ? v : std::int16_t{25}; });
    step([&] { ArrangeGrid(); });
}

void Matrix::MaxCols(std::int16_t v) {
    maxCols_ = std::clamp<std::int16_t>(v, 1, 4);
    ArrangeGrid();
}

void Matrix::MaxItems(std::int16_t v) {
    if (v > 150) v = 150;
    if (v <= 0) v = 25;
    maxItems_ = v;
    ArrangeGrid();
}

void Matrix::RowSel(std::int16_t v) {
    if (v == rowSel_) return;
    MakeCurrent(v);
}

void Matrix::reset() {
    for (std::int16_t i = 0; i < choices_[0].Count(); ++i) Unmark(i);
}

StringArray Matrix::result() const {
    const std::int16_t n = MaxItems();
    StringArray answers = makeStringArray(1, n);
    for (std::int16_t i = 0; i < MaxItems(); ++i) {
        std::string s;
        for (int k = 0; k < 4; ++k) {
            if (choices_[k](i).picture() == marks_[k](1).picture()) {
                if (!s.empty()) s += ',';
                s += char('1' + k);
            }
        }
        answers.items[static_cast<std::size_t>(i)] = std::move(s);
    }
    return answers;
}

// ---- Routines ----

void Matrix::ClearGrid(bool hide) {
    const ElementArray<Image> I1 = choices_[0];
    for (std::int16_t i = 0; i < I1.Count(); ++i) Unmark(i);
    for (std::int16_t i = 0; i < I1.Count(); ++i)
        for (int k = 0; k < 4; ++k) choices_[k](i).Visible(!hide);
    for (const Line line : Line1) {
        line.Visible(!hide);
        line.BorderColor(rgb(255, 128, 128));
        line.BorderWidth(1);
    }
}

void Matrix::ArrangeGrid() {
    const I16 P = maxItemPerCol_, C = maxCols_, N = maxItems_;
    const float D = distanceItems_;
    const ElementArray<Image> I1 = choices_[0];
    const ElementArray<Image> I4 = choices_[3];
    const auto g = [](std::int16_t i) { return i % 5 == 0 ? 20.0f : 0.0f; };
    const auto centreLabel = [&](std::int16_t i) {
        Label1(i).Top(I1(i).Top() + (I1(i).Height() - Label1(i).Height()) / 2);
    };
    // Questions past the last full column have no place in the grid; they stay hidden
    // (their marks are kept) rather than showing wherever they happen to be.
    const std::int16_t shown = ShownQuestions();

    // 1. Hide every choice.
    for (std::int16_t i = 0; i < I1.Count(); ++i)
        for (int k = 0; k < 4; ++k) choices_[k](i).Visible(false);

    // 2. Style every label.
    for (const Label l : Label1) {
        l.Visible(true);
        l.setAlignment(Alignment::Center);
        l.Height(195);
        l.FontSize(6);
    }

    // 3. Show the questions. Every question up to N is numbered, also one beyond the
    //    grid: it shows its own number as soon as a larger grid reaches it.
    for (std::int16_t i = 0; i < N.v(); ++i) {
        Label1(i).Visible(i < shown);
        char text[8];
        const auto end = std::to_chars(text, text + sizeof text, i + 1).ptr;
        Label1(i).Caption(std::string(text, end));
        Label1(i).Refresh();
        if (i < shown)
            for (int k = 0; k < 4; ++k) choices_[k](i).Visible(true);
    }

    // 4. Hide the labels beyond the last question.
    for (std::int16_t i = N.v(); i < Label1.Count(); ++i) Label1(i).Visible(false);

    // A column runs from element `first` to `last`: its numbers at `x` with choice A
    // beside them, each row below the one before; then choices B, C and D, each beside
    // the choice before it.
    const auto placeNumbersAndA = [&](I16 first, I16 last, float x) {
        Label1(first.v()).Left(x);
        I1(first.v()).Left(Label1(first.v()).Left() + Label1(first.v()).Width() + 40);
        I1(first.v()).Top(50);
        centreLabel(first.v());
        for (I16 i = first + 1; i <= last; i = i + 1) {
            Label1(i.v()).Left(x);
            I1(i.v()).Left(Label1(i.v()).Left() + Label1(i.v()).Width() + 40);
            I1(i.v()).Top(I1(i.v() - 1).Top() + I1(i.v() - 1).Height() + D + g(i.v()));
            centreLabel(i.v());
        }
    };
    const auto placeChoicesBToD = [&](I16 first, I16 last) {
        for (int k = 1; k < 4; ++k) {
            const ElementArray<Image> Ik = choices_[k];
            const ElementArray<Image> Iprev = choices_[k - 1];
            Ik(first.v()).Top(I1(first.v()).Top());
            Ik(first.v()).Left(Iprev(first.v()).Left() + Iprev(first.v()).Width() + D + 200);
            for (I16 i = first + 1; i <= last; i = i + 1) {
                Ik(i.v()).Left(Ik(first.v()).Left());
                Ik(i.v()).Top(Ik(i.v() - 1).Top() + Ik(i.v() - 1).Height() + D + g(i.v()));
            }
        }
    };

    // 5. and 6. The first column: elements 0 to P, one more than a full column (element
    //    P is placed again as the top of column 2 when there is one).
    placeNumbersAndA(0, P, 50);
    placeChoicesBToD(0, P);

    // 7. Further columns, each a fixed distance right of choice D of the column before.
    for (I16 c = 2; c <= C; c = c + 1) {
        const I16 f = P * (c - 1);
        const I16 p = P * (c - 2);
        const float x = static_cast<float>(roundHalfEven(I4(p.v()).Left() + I4(p.v()).Width() + D + 250));
        placeNumbersAndA(f, f + P - 1, x);
        placeChoicesBToD(f, f + P - 1);
    }

    // 8. Size of the control: the height follows the last full row of the first column,
    //    the width the choice D of the last shown question.
    Surface& surface = host().surface();
    surface.Height(I1((P - 1).v()).Top() + I1((P - 1).v()).Height() + 50);
    surface.Width(I4(shown - 1).Left() + I4(shown - 1).Width() + 100 + 20);

    // 9. Border lines, two per column, each spanning a full column of P rows; a line or
    //    label past the template is skipped.
    ResumeNext step;
    for (std::int16_t c = 1; c <= C.v(); ++c) {
        step([&] {
            const I16 f = P * c - P, l = P * c - 1;
            const std::int16_t a = static_cast<std::int16_t>(2 * c - 2), b = static_cast<std::int16_t>(2 * c - 1);
            const Line left = Line1(a);
            left.X1(Label1(f.v()).Left() - 50);
            left.Y1(Label1(f.v()).Top() - 50);
            left.X2(Label1(l.v()).Left() - 50);
            left.Y2(Label1(l.v()).Top() + Label1(l.v()).Height() + 50);
            left.Visible(true);
            const Line right = Line1(b);
            right.X1(I4(f.v()).Left() + I4(f.v()).Width() + 100);
            right.Y1(left.Y1());
            right.X2(I4(l.v()).Left() + I4(l.v()).Width() + 100);
            right.Y2(left.Y2());
            right.Visible(true);
        });
    }
    // The lines of columns the grid no longer has are hidden, not left where an earlier
    // layout put them.
    for (std::int16_t a = static_cast<std::int16_t>(2 * C.v()); a < Line1.Count(); ++a) Line1(a).Visible(false);
    host().PartChanged(PartChange::Structure);
}

std::int16_t Matrix::ShownQuestions() const {
    return static_cast<std::int16_t>(std::min<std::int64_t>(maxItems_, std::int64_t{maxItemPerCol_} * maxCols_));
}

void Matrix::PlaceMarker(std::int16_t r) {
    imgArrow.Top(choices_[0](r).Top() + 60);
    imgArrow.Left(choices_[0](r).Left() - imgArrow.Width() - 20);
}

void Matrix::Unmark(std::int16_t i) {
    for (int k = 0; k < 4; ++k) {
        const Image bubble = choices_[k](i);
        if (bubble.picture() == marks_[k](0).picture()) continue;
        bubble.setPicture(marks_[k](0).picture());
        host().PartChanged(PartChange::State, ChoicePart(i, k));
    }
}

void Matrix::Toggle(int k, std::int16_t i) {
    const Image bubble = choices_[k](i);
    if (bubble.picture() == marks_[k](0).picture())
        bubble.setPicture(marks_[k](1).picture());
    else
        bubble.setPicture(marks_[k](0).picture());
    host().PartChanged(PartChange::State, ChoicePart(i, k));
}

void Matrix::MakeCurrent(std::int16_t row) {
    rowSel_ = row;
    host().PartChanged(PartChange::Current, RowPart(row));
}

// ---- Lifecycle ----

void Matrix::Initialize() {
    ClearGrid(true);
    maxCols_ = 4;
    distanceItems_ = 150;
    maxItemPerCol_ = 25;
    maxItems_ = 100;
    rowSel_ = 0;
    ArrangeGrid();
    PlaceMarker(rowSel_);
}

void Matrix::ReadProperties(const PropertyBag& bag) {
    // Each key goes through its let, so restoring and assigning behave alike; MaxItems
    // too, so that a stored count is clamped and laid out like an assigned one.
    ResumeNext step;
    step([&] { MaxItemPerCol(bag.ReadProperty("MaxItemPerCol", std::int16_t{25}).toInt16()); });
    step([&] { DistanceItems(bag.ReadProperty("DistanceItems", std::int16_t{150}).toInt16()); });
    step([&] { MaxCols(bag.ReadProperty("MaxCols", std::int16_t{4}).toInt16()); });
    step([&] { MaxItems(bag.ReadProperty("MaxItems", std::int16_t{100}).toInt16()); });
}

void Matrix::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("MaxItemPerCol", maxItemPerCol_, std::int16_t{25});
    bag.WriteProperty("DistanceItems", distanceItems_, std::int16_t{150});
    bag.WriteProperty("MaxCols", maxCols_, std::int16_t{4});
    bag.WriteProperty("MaxItems", maxItems_, std::int16_t{100});
}

// ---- Event handlers ----

void Matrix::OnEvent(const InputEvent& ev) {
    if (ev.kind == EventKind::KeyDown && !ev.source) return OnKeyDown(ev.key);
    if (ev.kind != EventKind::Click) return;
    for (int k = 0; k < 4; ++k) {
        if (!choices_[k].holds(ev.source)) continue;
        const std::int16_t i = ev.source.index();
        Toggle(k, i);
        MakeCurrent(i);
        PlaceMarker(i);
        return;
    }
}

void Matrix::OnKeyDown(std::int16_t key) {
    const I16 P = maxItemPerCol_, C = maxCols_, N = maxItems_, r = rowSel_;
    const auto moveTo = [&](I16 row) {
        MakeCurrent(row.v());
        PlaceMarker(rowSel_);
    };
    switch (key) {
        case 32:  // Space: unmark the current question
            return Unmark(r.v());
        case 37:  // Left never wraps
            if (r <= P - 1) return;
            return moveTo(r - P);
        case 38:  // Up
            if (r <= 0) return;
            return moveTo(r - 1);
        case 39:  // Right: the same row of the next column, or from the last column the next row of the first
            if (r + 1 >= N) return;
            if (r <= (C - 1) * P - 1) {
                if (r + P + 1 > N) return;
                return moveTo(r + P);
            }
            return moveTo(r - (C - 1) * P + 1);
        case 40:  // Down
            if (r + 1 >= N) return;
            return moveTo(r + 1);
        case 49: case 65: return Toggle(0, r.v());
        case 50: case 66: return Toggle(1, r.v());
        case 51: case 67: return Toggle(2, r.v());
        case 52: case 68: return Toggle(3, r.v());
        default: return;
    }
}

// ---- Screen readers ----

AccessibleParts Matrix::DescribeParts() const {
    static constexpr char kLetters[] = "ABCD";
    AccessibleParts d;
    d.self.name = "Answer sheet";
    const std::int16_t shown = ShownQuestions();
    d.parts.reserve(static_cast<std::size_t>(std::max<int>(shown, 0)) * 5);
    for (std::int16_t i = 0; i < shown; ++i) {
        const std::string question = "Question " + std::to_string(i + 1);
        RectF row = Label1(i).bounds();
        for (int k = 0; k < 4; ++k) row = row.united(choices_[k](i).bounds());
        const int r = d.add({.role = PartRole::Row, .name = question, .bounds = row, .current = i == rowSel_});
        for (int k = 0; k < 4; ++k) {
            const Image bubble = choices_[k](i);
            d.add({.role = PartRole::CheckBox,
                   .name = question + ", choice " + kLetters[k],
                   .bounds = bubble.bounds(),
                   .element = bubble,
                   .action = PartAction::Toggle,
                   .checked = bubble.picture() == marks_[k](1).picture()},
                  r);
        }
    }
    return d;
}

}  // namespace talvik::controls

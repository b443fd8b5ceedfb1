#pragma once
// The answer sheet: numbered questions in columns, each with four choice bubbles A to D
// that the candidate marks with the mouse or the keyboard. A mark is the picture its
// bubble shows; the host reads the marks back through result().
#include <cstdint>
#include <span>

#include "frame/describe/Control.h"
#include "frame/model/ElementArray.h"

namespace talvik::controls {

class Matrix : public Control {
public:
    static const ControlClass Class;
    static const ControlTemplate& Design();

    explicit Matrix(ControlHost& host);

    // Vertical gap between rows (and part of the gaps between bubbles and columns).
    // Below 1 becomes 210.
    std::int16_t DistanceItems() const { return distanceItems_; }
    void DistanceItems(std::int16_t v);
    // Rows per column: 2 or more, any other value becomes 25.
    std::int16_t MaxItemPerCol() const { return maxItemPerCol_; }
    void MaxItemPerCol(std::int16_t v);
    // Columns, clamped to 1..4.
    std::int16_t MaxCols() const { return maxCols_; }
    void MaxCols(std::int16_t v);
    // Questions shown: above 150 becomes 150, then 0 or below becomes 25.
    std::int16_t MaxItems() const { return maxItems_; }
    void MaxItems(std::int16_t v);
    // Zero-based index of the current question; stored as given, the marker stays.
    std::int16_t RowSel() const { return rowSel_; }
    void RowSel(std::int16_t v);

    // Unmarks every choice of every question, shown or not.
    void reset();
    // One string per question, bounds 1 to MaxItems: the marked choices as digits 1 to
    // 4 joined by commas ("", "2", "1,3").
    StringArray result() const;

    void Initialize() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void OnEvent(const InputEvent& ev) override;
    // A row for each shown question holding its four choices as check boxes; the
    // current question is the current row.
    AccessibleParts DescribeParts() const override;

private:
    void ClearGrid(bool hide);
    void ArrangeGrid();
    void PlaceMarker(std::int16_t row);
    void Toggle(int choice, std::int16_t row);
    void Unmark(std::int16_t row);
    void OnKeyDown(std::int16_t key);
    void MakeCurrent(std::int16_t row);
    std::int16_t ShownQuestions() const;

    std::int16_t distanceItems_ = 0;
    std::int16_t maxItemPerCol_ = 0;
    std::int16_t maxCols_ = 0;
    std::int16_t maxItems_ = 0;
    std::int16_t rowSel_ = 0;

    ElementArray<Label> Label1;
    ElementArray<Image> choices_[4];     // Image1 .. Image4: choices A .. D
    ElementArray<PictureBox> marks_[4];  // Picture1 .. Picture4: (0) unmarked, (1) marked
    Image imgArrow;
    ElementArray<Line> Line1;
};

}  // namespace talvik::controls

#pragma once
// The answer sheet of a sitting: a Matrix with one row per delivered item, kept showing
// the session's responses, its current item and its flags, and turning what the
// candidate does on it (a click on a bubble, the sheet's own keys) into changes of the
// session.
//
// The sheet has bubbles A to D only: they stand for the first four choices in the
// candidate's display order. A row whose item has fewer choices shows its unused
// bubbles veiled and ignores clicks on them. A row whose item has more than four choices
// carries a small tab right of its number; the tab turns dark, with the letter, when a
// choice from E on is part of the response (those are made on the option strip, in the
// question pane or with the keys). On a single-answer item a click on another bubble
// moves the answer there, and a click on the marked bubble clears it.
#include <QWidget>
#include <bitset>
#include <functional>
#include <vector>

#include "hosts/qt/widgets/Matrix.h"

namespace talvik::exam {

class ExamSession;

class AnswerSheet : public talvik::Matrix {
    Q_OBJECT

public:
    static constexpr int kBubbles = 4;
    // DistanceItems: rows 18 pixels apart, so that forty questions fit beside the pane.
    static constexpr int kSpacing = 30;
    static constexpr int kRowsPerColumn = 10;

    // `session` outlives the sheet.
    explicit AnswerSheet(ExamSession& session, QWidget* parent = nullptr);

    // Shows the session's marks, current item and flags, touching only what differs.
    void follow();
    // Told of a choice the session refused: a further answer past the item's limit.
    std::function<void(int item)> onTooMany;

    // Where things are, in this widget's pixels (for the overlay and for tests).
    QRect bubbleRect(int item, int position) const;
    QRect numberRect(int item) const;
    QRect rowRect(int item) const;
    // The row under a point, or -1.
    int rowAt(QPoint at) const;
    // What the overlay shows for an item.
    bool showsFlag(int item) const { return flags_.at(std::size_t(item)); }
    int markerRow() const { return marker_; }

    // Columns and rows for a number of items: as few columns as keep a column at most
    // kRowsPerColumn rows, up to four; the rows then take every item.
    static std::pair<int, int> gridFor(int items);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    class Overlay;

    // Reads the marks and the current row from the control after the candidate's input
    // and passes the differences on to the session.
    void takeInput(bool cleared);
    std::bitset<kBubbles> wanted(int item) const;
    void setMarks(int item, std::bitset<kBubbles> marks);
    void placeMarker(int item);
    void sendKey(int key);
    float columnLeft(int column) const;  // twips
    float rowTop(int item) const;        // twips

    ExamSession& session_;
    Overlay* overlay_ = nullptr;  // owned by this widget
    std::vector<std::bitset<kBubbles>> shown_;  // what the bubbles show
    std::vector<bool> flags_;
    int marker_ = 0;
    int columns_ = 1, rows_ = 2;
    bool syncing_ = false;  // keys this class sends itself are no input of the candidate
};

}  // namespace talvik::exam

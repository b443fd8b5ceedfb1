#include "AnswerSheet.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "session/ExamSession.h"

namespace talvik::exam {

namespace {

constexpr int kMaxRows = 150;  // the most questions a sheet holds

// The sheet's layout in twips (a bubble 240 square, a number label 375 x 195).
constexpr float kBubble = 240;
constexpr float kLabelWidth = 375;
constexpr float kLabelHeight = 195;

std::bitset<AnswerSheet::kBubbles> marksIn(const QString& text) {
    std::bitset<AnswerSheet::kBubbles> bits;
    for (const QString& digit : text.split(u',', Qt::SkipEmptyParts)) {
        const int k = digit.toInt() - 1;
        if (k >= 0 && k < AnswerSheet::kBubbles) bits.set(std::size_t(k));
    }
    return bits;
}

// The first choice from E on that the response holds, or -1.
int beyondSheet(const ExamSession& s, int item) {
    const int count = int(s.itemState(item).order.size());
    for (int p = AnswerSheet::kBubbles; p < count; ++p)
        if (s.isChosen(item, p)) return p;
    return -1;
}

}  // namespace

// Drawn over the sheet: the flags beside the numbers, veils over bubbles an item does
// not have, and the tab of items with more choices than bubbles.
class AnswerSheet::Overlay : public QWidget {
public:
    explicit Overlay(AnswerSheet& sheet) : QWidget(&sheet), sheet_(sheet) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const ExamSession& s = sheet_.session_;
        const int rows = std::min(s.itemCount(), kMaxRows);
        for (int i = 0; i < rows; ++i) {
            const QRect row = sheet_.rowRect(i);
            if (!e->region().intersects(row)) continue;
            const int choices = int(s.itemState(i).order.size());
            for (int k = choices; k < kBubbles; ++k) {
                QColor veil = palette().color(QPalette::Base);
                veil.setAlpha(200);
                p.setPen(Qt::NoPen);
                p.setBrush(veil);
                p.drawEllipse(QRectF(sheet_.bubbleRect(i, k)).adjusted(0.5, 0.5, -0.5, -0.5));
            }
            const QRect number = sheet_.numberRect(i);
            if (choices > kBubbles) paintMore(p, i, beyondSheet(s, i));
            if (sheet_.flags_[std::size_t(i)]) paintFlag(p, number);
        }
    }

private:
    // A pennant on a pole, left of the number.
    static void paintFlag(QPainter& p, const QRect& number) {
        const qreal x = number.left() - 3, top = number.top() - 2;
        p.setPen(QPen(QColor(0x5a, 0x3a, 0x00), 1.2));
        p.drawLine(QPointF(x, top), QPointF(x, top + 13));
        QPainterPath pennant;
        pennant.moveTo(x + 0.5, top);
        pennant.lineTo(x + 9, top + 3);
        pennant.lineTo(x + 0.5, top + 6.5);
        pennant.closeSubpath();
        p.setPen(QPen(QColor(0x8a, 0x4b, 0x00), 0.8));
        p.setBrush(QColor(0xff, 0x9f, 0x1a));
        p.drawPath(pennant);
    }
    // Right of bubble D: a small tab; dark, with the letter, when the answer is there.
    void paintMore(QPainter& p, int item, int chosen) {
        const QRect d = sheet_.bubbleRect(item, kBubbles - 1);
        // Within the 8 pixels the sheet leaves right of its last column.
        const QRectF tab(d.right() + 1.5, d.top() + 1, 6, d.height() - 2);
        if (chosen < 0) {
            p.setPen(QPen(QColor(0x99, 0x99, 0x99), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(tab, 2, 2);
            return;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x40, 0x40, 0x40));
        p.drawRoundedRect(tab, 2, 2);
        QFont f = font();
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(tab, Qt::AlignCenter, QString(QChar(u'A' + chosen)));
    }

    AnswerSheet& sheet_;
};

std::pair<int, int> AnswerSheet::gridFor(int items) {
    const int n = std::clamp(items, 1, kMaxRows);
    const int columns = std::clamp((n + kRowsPerColumn - 1) / kRowsPerColumn, 1, 4);
    const int rows = std::max(2, (n + columns - 1) / columns);
    return {columns, rows};
}

AnswerSheet::AnswerSheet(ExamSession& session, QWidget* parent) : Matrix(parent), session_(session) {
    const int n = std::min(session_.itemCount(), kMaxRows);
    std::tie(columns_, rows_) = gridFor(n);
    // Rows first: every intermediate grid stays within the sheet's 152 rows.
    setMaxItemPerCol(rows_);
    setMaxCols(columns_);
    setDistanceItems(kSpacing);
    setMaxItems(std::max(n, 1));
    shown_.assign(std::size_t(std::max(n, 1)), {});
    flags_.assign(std::size_t(std::max(n, 1)), false);
    overlay_ = new Overlay(*this);
    overlay_->setGeometry(rect());
    follow();
}

float AnswerSheet::columnLeft(int column) const { return 50.0f + float(column) * (2225.0f + 4.0f * kSpacing); }

float AnswerSheet::rowTop(int item) const {
    const int first = (item / rows_) * rows_;
    int gaps = 0;
    for (int j = first + 1; j <= item; ++j) gaps += j % 5 == 0;
    return 50.0f + float(item - first) * (kBubble + kSpacing) + 20.0f * float(gaps);
}

QRect AnswerSheet::bubbleRect(int item, int position) const {
    const float left = columnLeft(item / rows_) + kLabelWidth + 40.0f + float(position) * (kBubble + kSpacing + 200.0f);
    return scale().snapped({left, rowTop(item), kBubble, kBubble});
}

QRect AnswerSheet::numberRect(int item) const {
    return scale().snapped({columnLeft(item / rows_), rowTop(item) + (kBubble - kLabelHeight) / 2, kLabelWidth, kLabelHeight});
}

QRect AnswerSheet::rowRect(int item) const {
    const float left = columnLeft(item / rows_) - 60.0f;
    return scale().snapped({left, rowTop(item) - 15.0f, 2225.0f + 4.0f * kSpacing, kBubble + kSpacing});
}

std::bitset<AnswerSheet::kBubbles> AnswerSheet::wanted(int item) const {
    std::bitset<kBubbles> bits;
    const int count = std::min<int>(kBubbles, int(session_.itemState(item).order.size()));
    for (int k = 0; k < count; ++k) bits[std::size_t(k)] = session_.isChosen(item, k);
    return bits;
}

void AnswerSheet::follow() {
    const int rows = std::min(session_.itemCount(), kMaxRows);
    for (int i = 0; i < rows; ++i) {
        if (const auto w = wanted(i); w != shown_[std::size_t(i)]) setMarks(i, w);
        const bool flag = session_.itemState(i).flagged;
        if (flag != flags_[std::size_t(i)]) {
            flags_[std::size_t(i)] = flag;
            overlay_->update(rowRect(i));
        } else if (int(session_.itemState(i).order.size()) > kBubbles) {
            overlay_->update(rowRect(i));  // the tab follows the response
        }
    }
    const int current = session_.state().current;
    if (current < rows && current != marker_) placeMarker(current);
}

// Straight to the control: through the application, the window's shortcuts would take
// the key first.
void AnswerSheet::sendKey(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    Matrix::keyPressEvent(&press);
}

// The sheet has no property for the marks of one question: its keys A to D toggle the
// choices of the row RowSel names, which moves no marker.
void AnswerSheet::setMarks(int item, std::bitset<kBubbles> marks) {
    syncing_ = true;
    const int keep = RowSel();
    setRowSel(item);
    for (int k = 0; k < kBubbles; ++k)
        if (marks[std::size_t(k)] != shown_[std::size_t(item)][std::size_t(k)]) sendKey(Qt::Key_A + k);
    setRowSel(keep);
    syncing_ = false;
    shown_[std::size_t(item)] = marks;
}

// Setting RowSel does not move the marker; an arrow key does, so the sheet steps onto
// the row from its neighbour.
void AnswerSheet::placeMarker(int item) {
    marker_ = item;
    if (MaxItems() < 2) return setRowSel(item);
    syncing_ = true;
    if (item > 0) {
        setRowSel(item - 1);
        sendKey(Qt::Key_Down);
    } else {
        setRowSel(1);
        sendKey(Qt::Key_Up);
    }
    syncing_ = false;
}

int AnswerSheet::rowAt(QPoint at) const {
    const int rows = std::min(session_.itemCount(), kMaxRows);
    for (int i = 0; i < rows; ++i)
        if (rowRect(i).contains(at)) return i;
    return -1;
}

void AnswerSheet::takeInput(bool cleared) {
    const QStringList marks = result();
    const int rows = std::min<int>(std::min(session_.itemCount(), kMaxRows), int(marks.size()));
    struct Change {
        int item;
        std::bitset<kBubbles> flipped, now;
    };
    std::vector<Change> changed;
    for (int i = 0; i < rows; ++i) {
        const auto now = marksIn(marks[i]);
        if (now != shown_[std::size_t(i)]) changed.push_back({i, now ^ shown_[std::size_t(i)], now});
        shown_[std::size_t(i)] = now;
    }
    const int row = RowSel();
    if (row >= 0 && row < rows) {
        marker_ = row;
        session_.goTo(row);
        if (cleared) session_.clearResponse(row);
    }
    if (!cleared) {
        // Against the marks as the candidate left them: each change of the session
        // below already makes the sheet show the session again.
        for (const Change& c : changed) {
            const int count = int(session_.itemState(c.item).order.size());
            for (int k = 0; k < std::min(count, int(kBubbles)); ++k)
                if (c.flipped[std::size_t(k)] && session_.isChosen(c.item, k) != c.now[std::size_t(k)] &&
                    !session_.toggleChoice(c.item, k) && c.now[std::size_t(k)] &&
                    session_.item(c.item).maxChoices > 1 && !session_.state().handedIn && onTooMany)
                    onTooMany(c.item);
        }
    }
    // Whatever the session refused (a bubble the item lacks, a second answer past the
    // limit, anything after hand-in) goes back to what the session holds.
    follow();
}

void AnswerSheet::mouseReleaseEvent(QMouseEvent* e) {
    Matrix::mouseReleaseEvent(e);
    if (syncing_) return;
    const int before = RowSel();
    takeInput(false);
    // The sheet itself answers clicks on bubbles only; a click elsewhere on a row goes to
    // that question.
    if (e->button() == Qt::LeftButton && RowSel() == before)
        if (const int row = rowAt(e->position().toPoint()); row >= 0 && row != session_.state().current) {
            session_.goTo(row);
            follow();
        }
}

void AnswerSheet::keyPressEvent(QKeyEvent* e) {
    Matrix::keyPressEvent(e);
    if (!syncing_) takeInput(e->key() == Qt::Key_Space);
}

void AnswerSheet::resizeEvent(QResizeEvent* e) {
    Matrix::resizeEvent(e);
    if (overlay_ != nullptr) overlay_->setGeometry(rect());
}

}  // namespace talvik::exam

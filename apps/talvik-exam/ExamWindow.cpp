#include "ExamWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "AnswerSheet.h"
#include "BoxFrame.h"
#include "hosts/qt/widgets/Banner.h"
#include "hosts/qt/widgets/ScrollBox.h"
#include "hosts/qt/widgets/TimerPicture.h"
#include "hosts/qt/widgets/URLLink.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/vltBox.h"
#include "hosts/qt/widgets/vltHeaderExam.h"
#include "hosts/qt/widgets/vltInfoBox.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "hosts/qt/widgets/vltZoomBox.h"
#include "session/ExamSession.h"

namespace talvik::exam {

namespace {

constexpr std::array kZoomSteps{70, 80, 90, 100, 115, 130, 150, 175, 200};
constexpr int kBannerHeight = 122;  // the banner's strip, 1830 twips

// The option strip tells the window when the candidate clicked it; it has no event.
class ChoiceStrip : public VelOptionToolBar {
public:
    using VelOptionToolBar::VelOptionToolBar;
    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        VelOptionToolBar::mouseReleaseEvent(e);
        if (clicked) clicked();
    }
};

QString letter(int position) { return QString(QChar(u'A' + position)); }

QString q(const std::string& s) { return QString::fromStdString(s); }

QLabel* label(const QString& text, QWidget* parent, qreal points, bool bold) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPointSizeF(points);
    f.setBold(bold);
    l->setFont(f);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QString clockText(qint64 ms) {
    const qint64 s = (ms + 999) / 1000;  // a second begun still counts
    const qint64 h = s / 3600, m = s / 60 % 60, sec = s % 60;
    if (h > 0) return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QChar(u'0')).arg(sec, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2").arg(m, 2, 10, QChar(u'0')).arg(sec, 2, 10, QChar(u'0'));
}

}  // namespace

QUrl defaultInstructions() {
    // Beside the program when installed, else where the sources keep it.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/instructions.html");
    if (QFileInfo::exists(beside)) return QUrl::fromLocalFile(beside);
    return QUrl::fromLocalFile(QStringLiteral(TALVIK_EXAM_INSTRUCTIONS));
}

ExamWindow::ExamWindow(ExamSession& session, const ExamScreenOptions& options, QWidget* parent)
    : QWidget(parent), session_(session), options_(options) {
    if (options_.instructions.isEmpty()) options_.instructions = defaultInstructions();
    setWindowTitle(QStringLiteral("Talvik exam"));

    auto* content = new QWidget;
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(8);
    outer->addWidget(makeBanner());

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(makeNotice());
    left->addWidget(makePane(), 1);
    left->addLayout(makeAnswerRow());
    left->addLayout(makeNavigationRow());

    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(makeHeader(), 0, Qt::AlignTop | Qt::AlignHCenter);
    right->addWidget(makeSheet(), 0, Qt::AlignTop);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(10);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
    outer->addLayout(columns, 1);

    scrollArea_ = new QScrollArea;
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(content);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scrollArea_);

    banner_->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(switch_), static_cast<QWidget*>(zoom_), static_cast<QWidget*>(scroll_),
                       static_cast<QWidget*>(link_)})
        w->installEventFilter(this);

    // Pane, strip, switch, sheet, flag, hand in, link; the pane's boxes with the pane.
    const QList<QWidget*> order{pane_, zoom_, scroll_, strip_, switch_, sheet_, flag_, review_, handIn_, link_};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    makeShortcuts();
    setRemaining(session_.remainingMs());
    setLastSaved(QDateTime());
    refresh();
    pane_->setFocus();
}

ExamWindow::~ExamWindow() = default;

QWidget& ExamWindow::header() const { return *header_; }

QWidget* ExamWindow::makeBanner() {
    banner_ = new Banner;
    banner_->setFocusPolicy(Qt::NoFocus);
    banner_->setFixedHeight(kBannerHeight);
    banner_->setMinimumWidth(400);
    banner_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    bannerTitle_ = label(QString(), banner_, 20, true);
    bannerLine_ = label(QString(), banner_, 11, false);
    for (QLabel* l : {bannerTitle_, bannerLine_}) {
        l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    return banner_;
}

QWidget* ExamWindow::makeNotice() {
    noticeBar_ = new QWidget;
    noticeBar_->setObjectName(QStringLiteral("notice"));
    noticeBar_->setAttribute(Qt::WA_StyledBackground);
    noticeBar_->setStyleSheet(QStringLiteral("#notice { background: #fff4c2; border: 1px solid #d9b300; }"
                                             "#notice QLabel { color: #3d3000; }"));
    auto* row = new QHBoxLayout(noticeBar_);
    row->setContentsMargins(8, 4, 4, 4);
    notice_ = label(QString(), noticeBar_, 10, true);
    notice_->setWordWrap(true);
    auto* dismiss = new QToolButton;
    dismiss->setText(QStringLiteral("Dismiss"));
    dismiss->setFocusPolicy(Qt::NoFocus);
    connect(dismiss, &QToolButton::clicked, this, [this] { showNotice(QString()); });
    row->addWidget(notice_, 1);
    row->addWidget(dismiss, 0, Qt::AlignTop);
    noticeBar_->hide();
    return noticeBar_;
}

QLayout* ExamWindow::makeAnswerRow() {
    auto* row = new QHBoxLayout;
    auto* strip = new ChoiceStrip;
    strip->clicked = [this] { takeStrip(); };
    strip_ = strip;
    strip_->setVelStyle(VelOptionToolBar::WindowXP);
    strip_->setVelOptionChar(VelOptionToolBar::VelUChar);
    strip_->setAccessibleName(QStringLiteral("Answer"));
    row->addWidget(strip_, 0, Qt::AlignVCenter);
    flag_ = new QPushButton(QStringLiteral("Flag for review"));
    flag_->setCheckable(true);
    flag_->setToolTip(QStringLiteral("Mark this question to come back to it (Ctrl+F)"));
    connect(flag_, &QPushButton::clicked, this, [this] { toggleFlag(); });
    row->addWidget(flag_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

QLayout* ExamWindow::makeNavigationRow() {
    auto* row = new QHBoxLayout;
    switch_ = new vltSwitch;
    switch_->setStyle(vltSwitch::Office2007box);
    switch_->setFixedSize(196, 84);
    connect(switch_, &vltSwitch::ButtonClick, this, [this](qint16& button) {
        switch (button) {
            case 0: goTo(0); break;
            case 1: step(-1); break;
            case 2: step(+1); break;
            case 3: goTo(session_.itemCount() - 1); break;
            default: break;
        }
    }, Qt::DirectConnection);
    scroll_ = new ScrollBox;
    scroll_->setStyle(ScrollBox::Office2007box);
    scroll_->setCaption(QStringLiteral("Scroll the question"));
    scroll_->setFixedSize(196, 84);
    connect(scroll_, &ScrollBox::ButtonClick, this, [this](qint16& button) { scrollPane(button); }, Qt::DirectConnection);
    row->addWidget(switch_);
    row->addWidget(scroll_);
    row->addStretch(1);
    review_ = new QPushButton(QStringLiteral("Review answers…"));
    review_->setToolTip(QStringLiteral("See every question's answer and flag (Ctrl+R)"));
    connect(review_, &QPushButton::clicked, this, &ExamWindow::reviewRequested);
    handIn_ = new QPushButton(QStringLiteral("Hand in…"));
    handIn_->setToolTip(QStringLiteral("Finish the test and hand in your answers (Ctrl+Enter)"));
    connect(handIn_, &QPushButton::clicked, this, &ExamWindow::handInRequested);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(review_);
    buttons->addWidget(handIn_);
    row->addLayout(buttons);
    return row;
}

QWidget* ExamWindow::makeHeader() {
    header_ = new vltHeaderExam;
    header_->setFocusPolicy(Qt::NoFocus);
    header_->setFixedSize(header_->sizeHint());
    // The header's own label reads "Lớp:" (class); the class name follows it.
    className_ = label(QString(), header_, 9, true);
    className_->setGeometry(50, 15, 260, 18);
    className_->setToolTip(QStringLiteral("Class"));
    auto* candidateCaption = label(QStringLiteral("Candidate"), header_, 8, false);
    candidateCaption->setGeometry(16, 42, 200, 16);
    candidate_ = label(QString(), header_, 13, true);
    candidate_->setGeometry(16, 58, 585, 26);
    auto* testCaption = label(QStringLiteral("Test"), header_, 8, false);
    testCaption->setGeometry(16, 90, 200, 16);
    testTitle_ = label(QString(), header_, 12, true);
    testTitle_->setWordWrap(true);
    testTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    testTitle_->setGeometry(16, 106, 585, 48);

    clock_ = new TimerPicture(header_);
    clock_->setFocusPolicy(Qt::NoFocus);
    clock_->move(16, 168);
    clock_->setEnable(true);
    auto* timeCaption = label(QStringLiteral("Time remaining"), header_, 9, false);
    timeCaption->setGeometry(150, 190, 170, 18);
    time_ = label(QString(), header_, 22, true);
    time_->setGeometry(150, 208, 170, 40);
    time_->setAccessibleName(QStringLiteral("Time remaining"));
    timeCaption_ = timeCaption;

    status_ = new vltInfoBox(header_);
    status_->setFocusPolicy(Qt::NoFocus);
    status_->setStyle(vltInfoBox::Natural_greenbox);
    status_->setGeometry(330, 170, 270, 72);
    status_->setAccessibleName(QStringLiteral("Status"));

    link_ = new URLLink(header_);
    link_->setText(QStringLiteral("Instructions"));
    link_->setURL(options_.instructions.toString());
    link_->setShowToolTip(true);
    link_->move(332, 262);
    link_->resize(100, 20);
    link_->setFocusPolicy(Qt::StrongFocus);
    return header_;
}

QWidget* ExamWindow::makePane() {
    paneStack_ = new QStackedWidget;
    pane_ = new QTextBrowser;
    pane_->setOpenLinks(false);
    // Tab leaves the pane rather than stepping through the choices' letters, which have
    // keys of their own; the arrow keys scroll.
    pane_->setTabChangesFocus(true);
    pane_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    // Without a frame of its own the pane shows the keyboard focus by a border.
    pane_->setStyleSheet(QStringLiteral("QTextBrowser { border: 2px solid transparent; }"
                                        "QTextBrowser:focus { border: 2px solid palette(highlight); }"));
    pane_->setFrameShape(QFrame::NoFrame);
    pane_->setAccessibleName(QStringLiteral("Question"));
    pane_->setFocusPolicy(Qt::StrongFocus);
    pane_->setMinimumSize(380, 150);
    pane_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(pane_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == u"choice") choose(url.path().toInt());
    });
    zoom_ = new vltZoomBox;
    zoom_->setStyle(vltZoomBox::Natural_greenbox);
    connect(zoom_, &vltZoomBox::vltZoomBoxClick, this, [this](qint16& button) {
        if (button == 0) zoomBy(-1);
        else if (button == 1) zoomBy(+1);
        else if (button == 2) zoomToFit();
    }, Qt::DirectConnection);
    // Clear of the skin's top row (18 pixels), its sides and, below, of the zoom buttons
    // (61 pixels, 50 twips above the 30-pixel bottom row).
    auto* frame = new BoxFrame(zoom_, pane_, QMargins(12, 20, 14, 30 + 61 + 6));
    frame->setMinimumHeight(200);
    paneStack_->addWidget(frame);
    return paneStack_;
}

QWidget* ExamWindow::makeSheet() {
    sheet_ = new AnswerSheet(session_);
    sheet_->setAccessibleName(QStringLiteral("Answer sheet"));
    sheet_->onTooMany = [this](int item) { tooMany(item); };
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(sheet_);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The box shows around the sheet; the sheet paints its own background.
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    const int barWidth = area->verticalScrollBar()->sizeHint().width();
    area->setMinimumWidth(sheet_->width() + barWidth);
    area->setMinimumHeight(std::min(sheet_->height(), 120));
    area->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    sheetArea_ = area;
    auto* box = new vltBox;
    box->setStyle(vltBox::Natural_greenbox);
    box->setCaption(QStringLiteral("Answer sheet"));
    box->setFocusPolicy(Qt::NoFocus);
    auto* frame = new BoxFrame(box, area, QMargins(10, 10, 10, 30 + 4));
    frame->setMaximumHeight(sheet_->height() + 10 + 34);
    frame->setMinimumWidth(sheet_->width() + barWidth + 20);
    return frame;
}

void ExamWindow::addShortcut(const QList<QKeySequence>& keys, const QString& key, const QString& what,
                             std::function<void()> run) {
    for (const QKeySequence& k : keys) {
        auto* s = new QShortcut(k, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, [run] { run(); });
        shortcutObjects_.push_back(s);
    }
    if (!key.isEmpty()) shortcutList_.append({key, what});
}

void ExamWindow::makeShortcuts() {
    addShortcut({QKeySequence(Qt::ALT | Qt::Key_N), QKeySequence(Qt::Key_PageDown)}, QStringLiteral("Alt+N, Page Down"),
                QStringLiteral("Next question"), [this] { step(+1); });
    addShortcut({QKeySequence(Qt::ALT | Qt::Key_P), QKeySequence(Qt::Key_PageUp)}, QStringLiteral("Alt+P, Page Up"),
                QStringLiteral("Previous question"), [this] { step(-1); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_Home)}, QStringLiteral("Ctrl+Home"), QStringLiteral("First question"),
                [this] { goTo(0); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_End)}, QStringLiteral("Ctrl+End"), QStringLiteral("Last question"),
                [this] { goTo(session_.itemCount() - 1); });
    for (int k = 0; k < kStripChoices; ++k) {
        addShortcut({QKeySequence(Qt::Key_A + k), QKeySequence(Qt::Key_1 + k),
                     QKeySequence(Qt::KeypadModifier | (Qt::Key_1 + k))},
                    QString(), QString(), [this, k] { choose(k); });
    }
    shortcutList_.append({QStringLiteral("A–I or 1–9"), QStringLiteral("Choose or unchoose that answer")});
    addShortcut({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}, QStringLiteral("Delete"),
                QStringLiteral("Clear this question's answer"), [this] { clearAnswer(); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_F)}, QStringLiteral("Ctrl+F"),
                QStringLiteral("Flag or unflag this question for review"), [this] { toggleFlag(); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
                QStringLiteral("Ctrl+="), QStringLiteral("Larger text"), [this] { zoomBy(+1); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, QStringLiteral("Ctrl+-"), QStringLiteral("Smaller text"),
                [this] { zoomBy(-1); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_0)}, QStringLiteral("Ctrl+0"),
                QStringLiteral("Fit the text to the pane"), [this] { zoomToFit(); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_R)}, QStringLiteral("Ctrl+R"), QStringLiteral("Review your answers"),
                [this] { emit reviewRequested(); });
    addShortcut({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
                QStringLiteral("Ctrl+Enter"), QStringLiteral("Hand in"), [this] { emit handInRequested(); });
    // The help overlay laid over the window owns F1, so that F1 also closes it.
    shortcutList_.append({QStringLiteral("F1"), QStringLiteral("Show or hide this help")});
    shortcutList_.append({QStringLiteral("Tab, Shift+Tab"), QStringLiteral("Move between the parts of the screen")});
    shortcutList_.append({QStringLiteral("Arrow keys on the sheet"), QStringLiteral("Move from question to question")});
    shortcutList_.append({QStringLiteral("Space on the sheet"), QStringLiteral("Clear the answer of the marked question")});
    shortcutList_.append({QStringLiteral("Left, Right, Home, End on the switch"),
                          QStringLiteral("Previous, next, first, last question")});
    shortcutList_.append({QStringLiteral("Arrow keys on the scroll box"), QStringLiteral("Scroll the question")});
    shortcutList_.append({QStringLiteral("- and + on the zoom box"), QStringLiteral("Smaller and larger text; Space fits")});
    shortcutList_.append({QStringLiteral("Enter on the link"), QStringLiteral("Open the instructions")});
}

QList<QPair<QString, QString>> ExamWindow::shortcuts() const { return shortcutList_; }

QWidget* ExamWindow::helpAnchor() const { return scrollArea_->viewport(); }

QList<QWidget*> ExamWindow::controls() const {
    return {banner_, header_, clock_, time_, status_, link_, zoom_, pane_, strip_, flag_,
            switch_, scroll_, sheet_, review_, handIn_};
}

// ---- The candidate's actions ----

void ExamWindow::afterChange() {
    // The owner's change handler normally refreshes; once more does no harm.
    refresh();
}

void ExamWindow::goTo(int index) {
    if (locked_ || session_.itemCount() == 0) return;
    session_.goTo(std::clamp(index, 0, session_.itemCount() - 1));
    afterChange();
}

void ExamWindow::step(int delta) { goTo(session_.state().current + delta); }

void ExamWindow::choose(int position) {
    if (locked_ || session_.itemCount() == 0) return;
    const int item = session_.state().current;
    const int count = int(session_.itemState(item).order.size());
    if (position < 0 || position >= count) return;
    if (!session_.toggleChoice(item, position) && session_.item(item).maxChoices > 1 &&
        !session_.isChosen(item, position))
        tooMany(item);
    afterChange();
}

void ExamWindow::tooMany(int item) {
    showNotice(QStringLiteral("Question %1 takes at most %2 answers: unchoose one first.")
                   .arg(item + 1)
                   .arg(session_.item(item).maxChoices));
}

void ExamWindow::clearAnswer() {
    if (locked_ || session_.itemCount() == 0) return;
    session_.clearResponse(session_.state().current);
    afterChange();
}

void ExamWindow::toggleFlag() {
    if (locked_ || session_.itemCount() == 0) return;
    const int item = session_.state().current;
    session_.setFlagged(item, !session_.itemState(item).flagged);
    afterChange();
}

void ExamWindow::takeStrip() {
    if (locked_ || session_.itemCount() == 0) return;
    const int item = session_.state().current;
    const QString value = strip_->VelValue();
    const int count = std::min<int>(kStripChoices, int(session_.itemState(item).order.size()));
    // A click marks or unmarks one box, and an option button also unmarks the one that
    // was marked: the box that became marked is the choice, else the one unmarked.
    int changed = -1;
    for (int p = 0; p < count; ++p) {
        const bool marked = value.contains(letter(p));
        if (marked == session_.isChosen(item, p)) continue;
        if (marked || changed < 0) changed = p;
        if (marked) break;
    }
    if (changed >= 0) choose(changed);
    // A refused click leaves the strip showing the session again.
    shownStrip_ = QStringLiteral("\x01");
    showStrip();
}

void ExamWindow::scrollPane(int button) {
    QScrollBar* bar = button < 2 ? pane_->verticalScrollBar() : pane_->horizontalScrollBar();
    const int dir = button % 2 == 0 ? -1 : +1;
    bar->setValue(bar->value() + dir * std::max(bar->pageStep() * 3 / 4, bar->singleStep()));
}

void ExamWindow::zoomBy(int steps) {
    const auto at = std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom_percent_);
    const int i = int(at - kZoomSteps.begin()) + steps;
    applyZoom(kZoomSteps[std::size_t(std::clamp(i, 0, int(kZoomSteps.size()) - 1))]);
}

// The largest size at which the whole question shows without scrolling; a question too
// long for that at the normal size gets the normal size.
void ExamWindow::zoomToFit() {
    int best = 100;
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        applyZoom(*it);
        if (pane_->document()->size().height() <= pane_->viewport()->height()) {
            best = *it;
            break;
        }
    }
    if (best < 100) best = 100;
    applyZoom(best);
}

void ExamWindow::applyZoom(int percent) {
    zoom_percent_ = percent;
    QFont f = font();
    f.setPointSizeF(11.0 * percent / 100.0);
    pane_->document()->setDefaultFont(f);
    pane_->document()->setTextWidth(pane_->viewport()->width());
    zoom_->setCaption(QStringLiteral("Text size %1%").arg(percent));
}

// ---- Showing the session ----

void ExamWindow::refresh() {
    const SessionState& st = session_.state();
    const QString headerText = q(st.className) + u'\n' + q(st.candidate) + u'\n' + q(session_.test().title);
    if (headerText != shownHeader_) {
        shownHeader_ = headerText;
        className_->setText(q(st.className));
        candidate_->setText(st.candidate.empty() ? QStringLiteral("—") : q(st.candidate));
        const QString title = session_.test().title.empty() ? QStringLiteral("Test") : q(session_.test().title);
        testTitle_->setText(title);
        bannerTitle_->setText(title);
        setWindowTitle(title + QStringLiteral(" — Talvik exam"));
    }
    if (session_.itemCount() == 0 && shownItem_ != -2) {
        shownItem_ = -2;
        pane_->setHtml(QStringLiteral("<p>This test has no questions that can be shown here.</p>"));
        sheet_->parentWidget()->setVisible(false);
        switch_->setCaption(QStringLiteral("No questions"));
    }
    if (session_.itemCount() > 0) {
        if (st.current != shownItem_) {
            showItem();
        } else if (session_.itemState(st.current).response != shownResponse_) {
            showPane(true);
            showStrip();
        }
        if (flag_->isChecked() != session_.itemState(st.current).flagged)
            flag_->setChecked(session_.itemState(st.current).flagged);
    }
    sheet_->follow();
    if (session_.itemCount() > 0 && st.current != sheetShows_) {
        // A sheet taller than the room it gets scrolls, and keeps the current row in view.
        sheetShows_ = st.current;
        if (sheetShows_ < sheet_->MaxItems())
            sheetArea_->ensureVisible(0, sheet_->rowRect(sheetShows_).center().y(), 0, 24);
    }
    showStatus();
}

void ExamWindow::showItem() {
    const int item = session_.state().current;
    shownItem_ = item;
    const QString where = QStringLiteral("Question %1 of %2").arg(item + 1).arg(session_.itemCount());
    switch_->setCaption(where);
    bannerLine_->setText(where);
    showPane(false);
    showStrip();
}

void ExamWindow::showPane(bool keepScroll) {
    const int item = session_.state().current;
    shownResponse_ = session_.itemState(item).response;
    const int v = pane_->verticalScrollBar()->value();
    pane_->document()->setBaseUrl(QUrl::fromLocalFile(q(session_.item(item).path)));
    pane_->setHtml(paneHtml());
    applyZoom(zoom_percent_);
    if (keepScroll) pane_->verticalScrollBar()->setValue(v);
}

QString ExamWindow::paneHtml() const {
    const int item = session_.state().current;
    const qti::Item& it = session_.item(item);
    const int count = int(session_.itemState(item).order.size());
    QString how;
    if (it.maxChoices == 1) how = QStringLiteral("Choose one answer.");
    else if (it.maxChoices == 0 || it.maxChoices >= count) how = QStringLiteral("Choose every answer that applies.");
    else how = QStringLiteral("Choose up to %1 answers.").arg(it.maxChoices);
    QString html = QStringLiteral("<p style='color:#555555'>Question %1 of %2 &middot; %3</p>")
                       .arg(item + 1)
                       .arg(session_.itemCount())
                       .arg(how);
    html += q(it.body);
    if (!it.prompt.empty()) html += QStringLiteral("<p><b>") + q(it.prompt) + QStringLiteral("</b></p>");
    html += QStringLiteral("<table cellspacing='4' cellpadding='4'>");
    for (int p = 0; p < count; ++p) {
        const bool chosen = session_.isChosen(item, p);
        const QString style = chosen ? QStringLiteral("background-color:#2f3b52; color:#ffffff;")
                                     : QStringLiteral("background-color:#e4ebf7; color:#1a3a8a;");
        html += QStringLiteral("<tr><td valign='top'><a href='choice:%1' style='text-decoration:none'>"
                               "<span style='%2 font-weight:bold'>&nbsp;%3&nbsp;</span></a></td>"
                               "<td valign='top'%4>%5</td></tr>")
                    .arg(p)
                    .arg(style)
                    .arg(letter(p))
                    .arg(chosen ? QStringLiteral(" style='font-weight:bold'") : QString())
                    .arg(q(session_.choiceAt(item, p).markup));
    }
    html += QStringLiteral("</table>");
    if (count > kStripChoices)
        html += QStringLiteral("<p style='color:#555555'>Choices after I: click the letter to choose.</p>");
    return html;
}

void ExamWindow::showStrip() {
    const int item = session_.state().current;
    const int count = int(session_.itemState(item).order.size());
    const bool single = session_.item(item).maxChoices == 1;
    QString value;
    for (int p = 0; p < std::min(count, kStripChoices); ++p)
        if (session_.isChosen(item, p)) value += letter(p);
    const QString shape = QStringLiteral("%1/%2/%3/%4").arg(item).arg(count).arg(single).arg(value);
    if (shape == shownStrip_) return;
    const bool sameItem = shownStrip_.section(u'/', 0, 0) == QString::number(item);
    shownStrip_ = shape;
    if (!sameItem) {
        // A new question: its kind of boxes first, which also unmarks them.
        strip_->setVelOptionBox(single ? VelOptionToolBar::VelOption : VelOptionToolBar::VelCheck);
        strip_->setVelCountItems(std::clamp(count, 1, kStripChoices));
    }
    strip_->setVelValue(value);
}

void ExamWindow::showStatus() {
    const int n = session_.itemCount();
    const QString info = QStringLiteral("Answered %1 of %2, %3 flagged").arg(session_.answeredCount()).arg(n).arg(session_.flaggedCount());
    const QString caption = saveProblem_.isEmpty() ? saveCaption_ : QStringLiteral("Not saved!");
    const QString shown = info + u'\n' + caption;
    if (shown == shownStatus_) return;
    shownStatus_ = shown;
    status_->setInfo(info);
    status_->setCaption(caption);
    status_->setAccessibleDescription(info + QStringLiteral(". ") + caption);
}

void ExamWindow::setRemaining(qint64 ms) {
    const bool shown = ms >= 0;
    time_->setVisible(shown);
    timeCaption_->setVisible(shown);
    if (!shown) return;
    const QString text = clockText(ms);
    if (time_->text() != text) time_->setText(text);
    time_->setAccessibleDescription(QStringLiteral("Time remaining ") + text);
}

void ExamWindow::setLastSaved(const QDateTime& when) {
    saveCaption_ = when.isValid() ? QStringLiteral("Saved ") + when.toLocalTime().toString(QStringLiteral("HH:mm:ss"))
                                  : QStringLiteral("Not saved yet");
    showStatus();
}

void ExamWindow::setSaveProblem(const QString& problem) {
    if (problem == saveProblem_) return;
    saveProblem_ = problem;
    if (!problem.isEmpty())
        showNotice(QStringLiteral("Your answers could not be saved: %1. Tell the invigilator.").arg(problem));
    else if (notice_->text().startsWith(QStringLiteral("Your answers could not be saved")))
        showNotice(QString());
    showStatus();
}

void ExamWindow::showNotice(const QString& text) {
    notice_->setText(text);
    noticeBar_->setVisible(!text.isEmpty());
    notice_->setAccessibleName(text);
}

void ExamWindow::lock(QWidget* receipt) {
    locked_ = true;
    for (QShortcut* s : shortcutObjects_) s->setEnabled(false);
    for (QWidget* w : QList<QWidget*>{strip_, switch_, zoom_, scroll_, sheet_, flag_, review_, handIn_, pane_})
        w->QWidget::setEnabled(false);
    if (receipt != nullptr) {
        paneStack_->addWidget(receipt);
        paneStack_->setCurrentWidget(receipt);
        receipt->setFocus();
    }
}

void ExamWindow::closeEvent(QCloseEvent* e) {
    if (confirmClose && !confirmClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool ExamWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == banner_ && e->type() == QEvent::Resize) {
        // The title keeps clear of the banner's picture at the right (183 pixels).
        const int width = std::max(100, banner_->width() - 200);
        bannerTitle_->setGeometry(24, 26, width, 40);
        bannerLine_->setGeometry(26, 68, width, 24);
        return false;
    }
    if (watched == zoom_ && e->type() == QEvent::Resize && zoom_->width() != zoomPlacedFor_) {
        // The box centres its buttons when it loads its skin, not when it is resized;
        // after the box has taken its new size, the skin is given again.
        zoomPlacedFor_ = zoom_->width();
        QMetaObject::invokeMethod(this, [this] { zoom_->setStyle(zoom_->Style()); }, Qt::QueuedConnection);
        return false;
    }
    if (e->type() != QEvent::KeyPress || locked_) return QWidget::eventFilter(watched, e);
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return QWidget::eventFilter(watched, e);
    // The boxes' buttons have no keys of their own: these give them the ones a
    // candidate expects.
    if (watched == switch_) {
        switch (k->key()) {
            case Qt::Key_Left: case Qt::Key_Up: step(-1); return true;
            case Qt::Key_Right: case Qt::Key_Down: case Qt::Key_Space: case Qt::Key_Return: step(+1); return true;
            case Qt::Key_Home: goTo(0); return true;
            case Qt::Key_End: goTo(session_.itemCount() - 1); return true;
            default: break;
        }
    } else if (watched == zoom_) {
        switch (k->key()) {
            case Qt::Key_Minus: case Qt::Key_Left: case Qt::Key_Down: zoomBy(-1); return true;
            case Qt::Key_Plus: case Qt::Key_Equal: case Qt::Key_Right: case Qt::Key_Up: zoomBy(+1); return true;
            case Qt::Key_Space: case Qt::Key_Return: zoomToFit(); return true;
            default: break;
        }
    } else if (watched == scroll_) {
        switch (k->key()) {
            case Qt::Key_Up: scrollPane(0); return true;
            case Qt::Key_Down: scrollPane(1); return true;
            case Qt::Key_Left: scrollPane(2); return true;
            case Qt::Key_Right: scrollPane(3); return true;
            default: break;
        }
    } else if (watched == link_ && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Space)) {
        // The link opens on a press of the mouse on its text: the key makes that press.
        const QPointF at(4, 4);
        QMouseEvent press(QEvent::MouseButtonPress, at, link_->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, link_->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(link_, &press);
        QCoreApplication::sendEvent(link_, &release);
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace talvik::exam

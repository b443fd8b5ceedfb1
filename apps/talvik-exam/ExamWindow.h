#pragma once
// The screen a candidate sits a test on, over an ExamSession owned elsewhere: the banner
// with the test's title, the exam header (class, candidate, test, clock and time left,
// status, link to the instructions), the question pane in a zoom box, the option strip,
// the question switch, the scroll buttons, and the answer sheet as the overview.
//
// Every change goes to the session; the window shows the session again in refresh(),
// which whoever owns the session calls from its change handler.
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLayout;
class QPushButton;
class QScrollArea;
class QShortcut;
class QStackedWidget;
class QTextBrowser;

namespace talvik {
class Banner;
class vltHeaderExam;
class vltZoomBox;
class ScrollBox;
class vltSwitch;
class vltInfoBox;
class TimerPicture;
class URLLink;
class VelOptionToolBar;
class BoxFrame;
}  // namespace talvik

namespace talvik::exam {

class AnswerSheet;
class ExamSession;

struct ExamScreenOptions {
    // The instructions the link opens; empty: the page shipped with the program.
    QUrl instructions;
};

// The instructions page shipped with the program, as a file URL.
QUrl defaultInstructions();

class ExamWindow : public QWidget {
    Q_OBJECT

public:
    // The strip holds at most this many choices; later ones are answered in the pane.
    static constexpr int kStripChoices = 9;

    ExamWindow(ExamSession& session, const ExamScreenOptions& options, QWidget* parent = nullptr);
    ~ExamWindow() override;

    // Shows the session again, changing only what differs from what is shown.
    void refresh();
    // Time left in milliseconds; -1: the test has no limit, and no time is shown.
    void setRemaining(qint64 ms);
    void setLastSaved(const QDateTime& when);
    // Empty: the problem is over.
    void setSaveProblem(const QString& problem);
    // A message strip above the pane; empty text hides it.
    void showNotice(const QString& text);
    // After hand-in: no more input; `receipt` (taken over) is shown in the pane's place.
    void lock(QWidget* receipt);
    bool isLocked() const { return locked_; }

    // Decides whether the window may close; unset, it may.
    std::function<bool()> confirmClose;

    // Where a help overlay goes, and the keys it should explain: (key, what it does).
    QWidget* helpAnchor() const;
    QList<QPair<QString, QString>> shortcuts() const;

    // The parts, for the application and for tests.
    AnswerSheet& sheet() const { return *sheet_; }
    VelOptionToolBar& strip() const { return *strip_; }
    vltSwitch& questionSwitch() const { return *switch_; }
    vltZoomBox& zoomBox() const { return *zoom_; }
    ScrollBox& scrollBox() const { return *scroll_; }
    vltInfoBox& status() const { return *status_; }
    URLLink& instructionsLink() const { return *link_; }
    TimerPicture& clock() const { return *clock_; }
    QTextBrowser& pane() const { return *pane_; }
    QPushButton& flagButton() const { return *flag_; }
    QPushButton& handInButton() const { return *handIn_; }
    QPushButton& reviewButton() const { return *review_; }
    QLabel& timeLabel() const { return *time_; }
    QLabel& noticeLabel() const { return *notice_; }
    QScrollArea& scrollArea() const { return *scrollArea_; }
    QWidget& header() const;
    Banner& banner() const { return *banner_; }
    // The text size of the pane, in percent of the normal size.
    int zoomPercent() const { return zoom_percent_; }
    // Every control of the screen, for checks that they are all in view.
    QList<QWidget*> controls() const;

signals:
    void handInRequested();
    void reviewRequested();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* makeBanner();
    QWidget* makeNotice();
    QLayout* makeAnswerRow();
    QLayout* makeNavigationRow();
    QWidget* makeHeader();
    QWidget* makePane();
    QWidget* makeSheet();
    void makeShortcuts();
    void addShortcut(const QList<QKeySequence>& keys, const QString& key, const QString& what, std::function<void()> run);

    void goTo(int index);
    void step(int delta);
    // The candidate picks choice `position` of the current question.
    void choose(int position);
    void clearAnswer();
    void tooMany(int item);
    void toggleFlag();
    void takeStrip();
    void zoomBy(int steps);
    void zoomToFit();
    void applyZoom(int percent);
    void scrollPane(int button);

    void showItem();
    void showPane(bool keepScroll);
    void showStrip();
    void showStatus();
    QString paneHtml() const;
    void afterChange();

    ExamSession& session_;
    ExamScreenOptions options_;

    QScrollArea* scrollArea_ = nullptr;
    Banner* banner_ = nullptr;
    QLabel* bannerTitle_ = nullptr;
    QLabel* bannerLine_ = nullptr;
    vltHeaderExam* header_ = nullptr;
    QLabel* className_ = nullptr;
    QLabel* candidate_ = nullptr;
    QLabel* testTitle_ = nullptr;
    TimerPicture* clock_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* timeCaption_ = nullptr;
    vltInfoBox* status_ = nullptr;
    URLLink* link_ = nullptr;
    QLabel* notice_ = nullptr;
    QWidget* noticeBar_ = nullptr;
    QStackedWidget* paneStack_ = nullptr;
    vltZoomBox* zoom_ = nullptr;
    QTextBrowser* pane_ = nullptr;
    VelOptionToolBar* strip_ = nullptr;
    vltSwitch* switch_ = nullptr;
    ScrollBox* scroll_ = nullptr;
    AnswerSheet* sheet_ = nullptr;
    QScrollArea* sheetArea_ = nullptr;
    QPushButton* flag_ = nullptr;
    QPushButton* review_ = nullptr;
    QPushButton* handIn_ = nullptr;
    std::vector<QShortcut*> shortcutObjects_;
    QList<QPair<QString, QString>> shortcutList_;

    // What is shown, to change only what differs.
    int shownItem_ = -1;
    int sheetShows_ = -1;
    std::vector<std::string> shownResponse_;
    QString shownStrip_;
    QString shownStatus_;
    QString shownHeader_;
    QString saveCaption_;
    QString saveProblem_;
    int zoom_percent_ = 100;
    int zoomPlacedFor_ = -1;
    bool locked_ = false;
    bool takingStrip_ = false;
};

}  // namespace talvik::exam

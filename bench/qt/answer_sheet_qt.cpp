// A 150-question answer sheet three ways, side by side: the library's Matrix painted by
// the Qt host; the sheet a Qt developer builds from widgets (a QGridLayout of a QLabel
// and four QCheckBoxes per question); and the sheet a Qt developer paints by hand (one
// widget, a few hundred bytes of state, the same bubble pictures), which is the limit
// the painted sheet approaches. Measured: construction to the first complete render, a
// click on a bubble with the repaint it causes, a click that also moves the marker, and
// the heap each sheet keeps.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "hosts/qt/QtControlWidget.h"
#include "hosts/qt/QtText.h"

using namespace talvik;

namespace {

constexpr int kQuestions = 150, kColumns = 4, kPerColumn = 38;

const PropertyBag& sheetProperties() {
    static const PropertyBag bag{{"MaxItems", std::int16_t{kQuestions}},
                                 {"MaxCols", std::int16_t{kColumns}},
                                 {"MaxItemPerCol", std::int16_t{kPerColumn}}};
    return bag;
}

std::unique_ptr<QtControlWidget> paintedSheet() {
    return std::make_unique<QtControlWidget>("Matrix", &sheetProperties());
}

// What a Qt developer writes: a label and four check boxes per question, the
// questions down columns of 38.
std::unique_ptr<QWidget> widgetSheet() {
    auto sheet = std::make_unique<QWidget>();
    auto* grid = new QGridLayout(sheet.get());
    grid->setSpacing(4);
    for (int q = 0; q < kQuestions; ++q) {
        const int row = q % kPerColumn, column = (q / kPerColumn) * 5;
        grid->addWidget(new QLabel(QString::number(q + 1)), row, column);
        for (int k = 0; k < 4; ++k) grid->addWidget(new QCheckBox(QString(QChar(u'A' + k))), row, column + 1 + k);
    }
    sheet->adjustSize();
    return sheet;
}

// ---- The hand-painted sheet ----

// The pictures every hand-painted sheet shares, as a developer would load them once: the
// Matrix's own bubbles and marker, so that both sheets draw the same pixels.
struct HandPictures {
    std::array<std::array<QPixmap, 2>, 4> bubbles;  // [choice][marked]
    QPixmap marker;                                   // 16 pixels shown in 8
    QFont numbers;
};

QPixmap pixmapOf(const Picture& pic) {
    const Bitmap& b = *pic.bitmap();
    const QImage img(reinterpret_cast<const uchar*>(b.argb.data()), b.width, b.height, qsizetype(b.width) * 4,
                     QImage::Format_ARGB32);
    return QPixmap::fromImage(img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

const HandPictures& handPictures() {
    static const HandPictures pictures = [] {
        HandPictures p;
        QtControlWidget source("Matrix");
        const char* const marks[4] = {"Picture1", "Picture2", "Picture3", "Picture4"};
        for (int k = 0; k < 4; ++k)
            for (int m = 0; m < 2; ++m) p.bubbles[k][m] = pixmapOf(source.host().find(marks[k], m).as<PictureBox>().picture());
        p.marker = pixmapOf(source.host().find("imgArrow").as<Image>().picture())
                       .scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.numbers = qtFont(Font{"MS Sans Serif", 6, true, false});
        return p;
    }();
    return pictures;
}

// 150 questions down columns of 38, as the Matrix lays them out: rows 26 pixels apart
// plus 20 twips before every fifth row, bubbles 16 pixels square with 590 twips from one
// to the next, a marker left of choice A of the current question, two border lines per
// column. State: the marks, the current question and the rows' and columns' pixels.
class HandSheet final : public QWidget {
public:
    HandSheet() {
        for (int r = 0; r < kPerColumn; ++r) rowTop_[r] = std::int16_t(px(50 + 390 * r + 20 * (r / 5)));
        for (int c = 0; c < kColumns; ++c) columnLeft_[c] = std::int16_t(px(50 + 2825 * c));
        const int last = kQuestions - 1;
        resize(px(50 + 2825 * (last / kPerColumn) + 415 + 3 * 590 + 240 + 120),
               px(50 + 390 * (kPerColumn - 1) + 20 * ((kPerColumn - 1) / 5) + 240 + 50));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        const HandPictures& pics = handPictures();
        QPainter p(this);
        const QRect area = e->rect();
        p.fillRect(area, palette().color(QPalette::Button));
        p.setFont(pics.numbers);
        p.setPen(palette().color(QPalette::ButtonText));
        for (int c = 0; c < kColumns; ++c) {
            const int x = columnLeft_[c];
            if (x - 4 > area.right() || x + kColumnWidth < area.left()) continue;
            const int first = c * kPerColumn, rows = std::min(kPerColumn, kQuestions - first);
            for (int r = 0; r < rows; ++r) {
                const int y = rowTop_[r];
                if (y - 4 > area.bottom() || y + 20 < area.top()) continue;
                const int q = first + r;
                const QRect number(x, y + 2, 25, 13);
                if (number.intersects(area)) p.drawText(number, Qt::AlignHCenter | Qt::AlignTop, QString::number(q + 1));
                for (int k = 0; k < 4; ++k)
                    if (const QRect b = bubble(q, k); b.intersects(area))
                        p.drawPixmap(b.topLeft(), pics.bubbles[k][(marks_[q] >> k) & 1]);
                if (q == current_ && markerAt(q).intersects(area)) p.drawPixmap(markerAt(q).topLeft(), pics.marker);
            }
            const int top = rowTop_[0] - 2, bottom = rowTop_[kPerColumn - 1] + 21;
            p.fillRect(QRect(x - 3, top, 1, bottom - top), Qt::black);
            p.fillRect(QRect(bubble(first, 3).right() + 8, top, 1, bottom - top), Qt::black);
        }
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        const int c = std::min(kColumns - 1, std::max(0, (at.x() - columnLeft_[0]) / px(2825)));
        for (int r = 0; r < kPerColumn; ++r) {
            const int q = c * kPerColumn + r;
            if (q >= kQuestions) return;
            for (int k = 0; k < 4; ++k) {
                const QRect b = bubble(q, k);
                if (!b.contains(at)) continue;
                marks_[q] ^= std::uint8_t(1 << k);
                update(b);
                if (q != current_) {
                    update(markerAt(current_));
                    current_ = std::int16_t(q);
                    update(markerAt(current_));
                }
                return;
            }
        }
    }

private:
    static int px(int twips) { return int(std::lround(twips / 15.0)); }
    static constexpr int kColumnWidth = 415 / 15 + 3 * 590 / 15 + 16 + 8;
    QRect bubble(int q, int k) const {
        return QRect(columnLeft_[q / kPerColumn] + px(415 + 590 * k) , rowTop_[q % kPerColumn], 16, 16);
    }
    QRect markerAt(int q) const {
        const QRect a = bubble(q, 0);
        return QRect(a.left() - px(140), a.top() + px(60), 8, 8);
    }

    std::array<std::uint8_t, kQuestions> marks_{};  // bit k: choice k is marked
    std::array<std::int16_t, kPerColumn> rowTop_{};
    std::array<std::int16_t, kColumns> columnLeft_{};
    std::int16_t current_ = 0;
};

std::unique_ptr<QWidget> handSheet() { return std::make_unique<HandSheet>(); }

QImage render(QWidget& w) {
    QImage img(w.size(), QImage::Format_ARGB32_Premultiplied);
    img.setDotsPerMeterX(3780);  // 96 DPI, as the screen
    img.setDotsPerMeterY(3780);
    w.render(&img);
    return img;
}

void click(QWidget& w, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, {}, {});
    QCoreApplication::sendEvent(&w, &press);
    QCoreApplication::sendEvent(&w, &release);
}

// ---- Construction to the first complete render ----

void BM_FirstRender_PaintedSheet(benchmark::State& state) {
    for (auto _ : state) {
        auto sheet = paintedSheet();
        benchmark::DoNotOptimize(render(*sheet));
    }
}
BENCHMARK(BM_FirstRender_PaintedSheet)->Unit(benchmark::kMillisecond);

// The same with the caches that painted sheets share (shaped captions, scaled pictures,
// fonts) emptied first, as for the first sheet a program shows.
void BM_FirstRender_PaintedSheetColdCaches(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ElementPainter().clear();
        state.ResumeTiming();
        auto sheet = paintedSheet();
        benchmark::DoNotOptimize(render(*sheet));
    }
}
BENCHMARK(BM_FirstRender_PaintedSheetColdCaches)->Unit(benchmark::kMillisecond);

void BM_FirstRender_WidgetSheet(benchmark::State& state) {
    for (auto _ : state) {
        auto sheet = widgetSheet();
        benchmark::DoNotOptimize(render(*sheet));
    }
}
BENCHMARK(BM_FirstRender_WidgetSheet)->Unit(benchmark::kMillisecond);

void BM_FirstRender_HandSheet(benchmark::State& state) {
    handPictures();
    for (auto _ : state) {
        auto sheet = handSheet();
        benchmark::DoNotOptimize(render(*sheet));
    }
}
BENCHMARK(BM_FirstRender_HandSheet)->Unit(benchmark::kMillisecond);

// ---- A click and the repaint it causes, on a shown sheet ----

// Paints what the last input made dirty, now, the way the window system's update
// request does: through the widget's backing store, as on screen.
void flushRepaint(QWidget& w) {
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(w.window(), &request);
}

// Counts the paint events a widget gets, to check that a benchmark paints at all.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Clicks each point of `at` in turn, repainting after each click.
void clicks(benchmark::State& state, QWidget& sheet, std::vector<QPoint> at) {
    sheet.show();
    QCoreApplication::processEvents();
    flushRepaint(sheet);
    PaintCounter counter;
    sheet.installEventFilter(&counter);
    for (const QPoint& p : at) {
        click(sheet, p);
        flushRepaint(sheet);
    }
    sheet.removeEventFilter(&counter);
    if (counter.paints < int(at.size())) state.SkipWithError("a click was not repainted");
    std::size_t i = 0;
    for (auto _ : state) {
        click(sheet, at[i]);
        flushRepaint(sheet);
        i = i + 1 == at.size() ? 0 : i + 1;
    }
}

// Choice B of question 3 (Left 1055, Top 830, 240 twips square), and of question 4.
const QPoint kQuestion3B((1055 + 120) / 15, (830 + 120) / 15);
const QPoint kQuestion4B((1055 + 120) / 15, (1220 + 120) / 15);

void BM_Click_PaintedSheet(benchmark::State& state) { clicks(state, *paintedSheet(), {kQuestion3B}); }
BENCHMARK(BM_Click_PaintedSheet)->Unit(benchmark::kMicrosecond);

void BM_Click_HandSheet(benchmark::State& state) { clicks(state, *handSheet(), {kQuestion3B}); }
BENCHMARK(BM_Click_HandSheet)->Unit(benchmark::kMicrosecond);

void BM_ClickMovingMarker_PaintedSheet(benchmark::State& state) {
    clicks(state, *paintedSheet(), {kQuestion3B, kQuestion4B});
}
BENCHMARK(BM_ClickMovingMarker_PaintedSheet)->Unit(benchmark::kMicrosecond);

void BM_ClickMovingMarker_HandSheet(benchmark::State& state) {
    clicks(state, *handSheet(), {kQuestion3B, kQuestion4B});
}
BENCHMARK(BM_ClickMovingMarker_HandSheet)->Unit(benchmark::kMicrosecond);

void BM_Toggle_WidgetSheet(benchmark::State& state) {
    auto sheet = widgetSheet();
    sheet->show();
    QCoreApplication::processEvents();
    auto* box = sheet->findChildren<QCheckBox*>().at(2 * 4 + 1);
    const QPoint inside = box->rect().center();
    for (auto _ : state) {
        click(*box, inside);
        flushRepaint(*sheet);
    }
}
BENCHMARK(BM_Toggle_WidgetSheet)->Unit(benchmark::kMicrosecond);

// ---- Heap kept per sheet, after its first render ----

// Also reports what the first sheet left that later sheets share (fonts, shaped
// captions, scaled pictures). `use` runs on each sheet after its first render.
template <class Make, class Use>
void heapPerSheet(benchmark::State& state, Make make, Use use) {
    constexpr int kSheets = 20;
    const std::size_t start = mallinfo2().uordblks;
    {
        auto first = make();
        render(*first);
        use(*first);
    }
    state.counters["shared_bytes"] = double(mallinfo2().uordblks) - double(start);
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        std::vector<decltype(make())> sheets;
        for (int i = 0; i < kSheets; ++i) {
            sheets.push_back(make());
            render(*sheets.back());
            use(*sheets.back());
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_sheet"] = double(after - before) / kSheets;
    }
}
template <class Make>
void heapPerSheet(benchmark::State& state, Make make) {
    heapPerSheet(state, make, [](QWidget&) {});
}

// After a click on each sheet: what the sheet keeps to answer input and repaint a part.
template <class Make>
void heapPerClickedSheet(benchmark::State& state, Make make) {
    heapPerSheet(state, make, [](QWidget& w) { click(w, kQuestion3B); });
}

void BM_Heap_PaintedSheet(benchmark::State& state) { heapPerSheet(state, paintedSheet); }
BENCHMARK(BM_Heap_PaintedSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Heap_HandSheet(benchmark::State& state) { heapPerSheet(state, handSheet); }
BENCHMARK(BM_Heap_HandSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Heap_PaintedSheetClicked(benchmark::State& state) { heapPerClickedSheet(state, paintedSheet); }
BENCHMARK(BM_Heap_PaintedSheetClicked)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Heap_HandSheetClicked(benchmark::State& state) { heapPerClickedSheet(state, handSheet); }
BENCHMARK(BM_Heap_HandSheetClicked)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Heap_WidgetSheet(benchmark::State& state) { heapPerSheet(state, widgetSheet); }
BENCHMARK(BM_Heap_WidgetSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

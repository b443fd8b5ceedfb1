// A 150-question answer sheet two ways, side by side: the library's Matrix painted by
// the Qt host, and the sheet a Qt developer builds without the library (a QGridLayout
// of a QLabel and four QCheckBoxes per question). Measured: construction to the first
// complete render, one toggle with its re-render, and the heap each sheet keeps.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "hosts/qt/QtControlWidget.h"

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

void BM_FirstRender_WidgetSheet(benchmark::State& state) {
    for (auto _ : state) {
        auto sheet = widgetSheet();
        benchmark::DoNotOptimize(render(*sheet));
    }
}
BENCHMARK(BM_FirstRender_WidgetSheet)->Unit(benchmark::kMillisecond);

// ---- One toggle and the repaint it schedules, on a shown sheet ----

void BM_Toggle_PaintedSheet(benchmark::State& state) {
    auto sheet = paintedSheet();
    sheet->show();
    QCoreApplication::processEvents();
    // Choice B of question 3: Left 1055, Top 830, 240 twips square.
    const QPoint bubble((1055 + 120) / 15, (830 + 120) / 15);
    for (auto _ : state) {
        click(*sheet, bubble);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Toggle_PaintedSheet)->Unit(benchmark::kMicrosecond);

void BM_Toggle_WidgetSheet(benchmark::State& state) {
    auto sheet = widgetSheet();
    sheet->show();
    QCoreApplication::processEvents();
    auto* box = sheet->findChildren<QCheckBox*>().at(2 * 4 + 1);
    const QPoint inside = box->rect().center();
    for (auto _ : state) {
        click(*box, inside);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Toggle_WidgetSheet)->Unit(benchmark::kMicrosecond);

// ---- Heap kept per sheet, after its first render ----

template <class Make>
void heapPerSheet(benchmark::State& state, Make make) {
    constexpr int kSheets = 20;
    render(*make());  // fonts, styles and pictures that every sheet shares
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        std::vector<decltype(make())> sheets;
        for (int i = 0; i < kSheets; ++i) {
            sheets.push_back(make());
            render(*sheets.back());
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_sheet"] = double(after - before) / kSheets;
    }
}

void BM_Heap_PaintedSheet(benchmark::State& state) { heapPerSheet(state, paintedSheet); }
BENCHMARK(BM_Heap_PaintedSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Heap_WidgetSheet(benchmark::State& state) { heapPerSheet(state, widgetSheet); }
BENCHMARK(BM_Heap_WidgetSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

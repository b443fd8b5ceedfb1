// A skinned frame resized and repainted, two ways side by side: the library's vltBox in
// the Qt host, and the QFrame a Qt developer skins with a style sheet border-image made
// of the same nine bitmaps, with its caption in a QLabel. Both sit on a form, as a
// container places them, and go through the same sizes; one iteration is one resize
// followed by a synchronous repaint.
//
// The border-image takes one picture cut by four lines, so only the skins whose side
// columns have one width in all three rows are compared (every style but 4).
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "frame/host/ResourceStore.h"
#include "resources/Resources.h"
#include "hosts/qt/QtControlWidget.h"

using namespace talvik;

namespace {

// The slices of the compared skins, top row, middle row, bottom row, left to right.
const std::array<const char*, 9>& slices(int style) {
    static const std::array<const char*, 9> skins[] = {
        {"101", "102", "103", "104", "105", "106", "107", "108", "109"},
        {"119", "120", "121", "122", "123", "124", "125", "126", "127"},
        {"137", "138", "139", "140", "141", "142", "143", "144", "145"},
        {"128", "129", "130", "131", "132", "133", "134", "135", "136"},
        {},
        {"SB_TOP_1", "SB_TOP_2", "SB_TOP_3", "SB_mid_1", "SB_mid_2", "SB_mid_3", "SB_bottom_1", "SB_bottom_2",
         "SB_bottom_3"},
    };
    return skins[style];
}

QImage imageOf(const char* id) {
    const Bitmap& b = *findResourcePicture(resources::kPictureFiles, id).bitmap();
    return QImage(reinterpret_cast<const uchar*>(b.argb.data()), b.width, b.height, qsizetype(b.width) * 4,
                  QImage::Format_ARGB32)
        .copy();
}

// The QFrame's skin: the nine slices in one picture, with the border widths that cut
// it. The middle slices of the three rows are drawn to one width; they are stretched anyway.
struct BorderImage {
    QString file;
    int top, right, bottom, left;
};

BorderImage borderImage(int style, const QString& dir) {
    std::array<QImage, 9> s;
    for (int i = 0; i < 9; ++i) s[std::size_t(i)] = imageOf(slices(style)[std::size_t(i)]);
    const int left = s[0].width(), right = s[2].width();
    const int middle = std::max({s[1].width(), s[4].width(), s[7].width()});
    const int top = s[0].height(), centre = s[3].height(), bottom = s[6].height();
    QImage whole(left + middle + right, top + centre + bottom, QImage::Format_RGB32);
    QPainter p(&whole);
    const int xs[] = {0, left, left + middle}, ws[] = {left, middle, right};
    const int ys[] = {0, top, top + centre}, hs[] = {top, centre, bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawImage(QRect(xs[col], ys[row], ws[col], hs[row]), s[std::size_t(row * 3 + col)]);
    p.end();
    const QString file = dir + QStringLiteral("/skin%1.png").arg(style);
    whole.save(file);
    return {file, top, right, bottom, left};
}

std::unique_ptr<QFrame> styledFrame(const BorderImage& skin, QWidget* form) {
    auto frame = std::make_unique<QFrame>(form);
    frame->setStyleSheet(QStringLiteral("QFrame { border-image: url(%1) %2 %3 %4 %5 stretch stretch;"
                                        " border-width: %2px %3px %4px %5px; }"
                                        " QLabel { border: none; border-image: none; color: #2b6fbf; font-weight: bold; }")
                             .arg(skin.file)
                             .arg(skin.top)
                             .arg(skin.right)
                             .arg(skin.bottom)
                             .arg(skin.left));
    auto* layout = new QVBoxLayout(frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(new QLabel(QStringLiteral("Answer sheet")), 0, Qt::AlignHCenter | Qt::AlignBottom);
    return frame;
}

// The sizes both frames go through, in pixels: from narrower than some skins' corners
// to a large pane.
QSize sizeAt(std::int64_t i) {
    return {int(120 + (i * 37) % 700), int(80 + (i * 23) % 500)};
}

struct Form {
    QWidget form;
    Form() {
        form.resize(1000, 700);
        form.show();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
};

void BM_ResizeRepaint_vltBox(benchmark::State& state) {
    Form f;
    const auto style = std::int32_t(state.range(0));
    const PropertyBag saved{{"Style", style}, {"Caption", "Answer sheet"}};
    QtControlWidget box("vltBox", &saved, &f.form);
    box.show();
    std::int64_t i = 0;
    for (auto _ : state) {
        box.resize(sizeAt(i++));
        box.repaint();
    }
}

void BM_ResizeRepaint_StyleSheetFrame(benchmark::State& state) {
    Form f;
    QTemporaryDir dir;
    const std::unique_ptr<QFrame> frame = styledFrame(borderImage(int(state.range(0)), dir.path()), &f.form);
    frame->show();
    std::int64_t i = 0;
    for (auto _ : state) {
        frame->resize(sizeAt(i++));
        frame->repaint();
    }
}

// Qt's raster engine spreads large scaled drawing over a thread pool, so each is timed
// twice: wall-clock with the CPU time of every thread, and the main thread's CPU time.
BENCHMARK(BM_ResizeRepaint_vltBox)->DenseRange(0, 3)->Arg(5)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResizeRepaint_StyleSheetFrame)->DenseRange(0, 3)->Arg(5)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResizeRepaint_vltBox)->DenseRange(0, 3)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResizeRepaint_StyleSheetFrame)->DenseRange(0, 3)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace

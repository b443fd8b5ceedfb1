// Who decides a hosted control's size: the container's size reaches the control even
// when it was given before the widget was shown, and a control that keeps its own size
// takes the widget back to it.
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "hosts/qt/QtControlWidget.h"

namespace talvik {
namespace {

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

TEST(QtSizing, ContainerSizeGivenBeforeShowingIsKept) {
    QWidget form;
    QtControlWidget box("vltBox", nullptr, &form);
    box.resize(300, 200);
    ASSERT_TRUE(box.get("Caption"));  // a call in between must not undo the container's size
    form.resize(400, 300);
    form.show();
    settle();
    EXPECT_EQ(box.size(), QSize(300, 200));
    const float perPixel = 1440.0f / float(box.logicalDpiX());
    EXPECT_FLOAT_EQ(box.host().surface().Width(), 300 * perPixel);
    EXPECT_FLOAT_EQ(box.host().surface().Height(), 200 * perPixel);
}

TEST(QtSizing, AControlWithAFixedSizeTakesTheWidgetBack) {
    QWidget form;
    QtControlWidget strip("VelOptionToolBar", nullptr, &form);
    form.resize(800, 300);
    form.show();
    settle();
    const QSize fixed = strip.size();
    strip.resize(fixed + QSize(120, 40));
    settle();
    EXPECT_EQ(strip.size(), fixed);
    EXPECT_EQ(strip.host().surface().Width(), 6150);
    EXPECT_EQ(strip.host().surface().Height(), 1020);
}

}  // namespace
}  // namespace talvik

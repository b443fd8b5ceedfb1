// A vltBox hosted in a Qt widget: it takes the size its container gives it and shows
// its default caption once it has been sized.
#include <QApplication>
#include <cstdio>

#include "hosts/qt/QtControlWidget.h"
#include "hosts/qt/widgets/Matrix.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    {
        talvik::QtControlWidget box("vltBox");
        box.resize(420, 180);
        box.show();
        QApplication::processEvents();

        check(box.size() == QSize(420, 180), "the widget keeps the size it was given");
        check(box.sizeHint() == QSize(420, 180), "the control took that size");
        const talvik::TwipScale scale = box.scale();
        check(box.host().surface().Width() == scale.twips(420), "the surface is 420 pixels wide in twips");
        check(box.host().surface().Height() == scale.twips(180), "the surface is 180 pixels high in twips");
        check(box.host().find("Label1").as<talvik::Label>().Caption() == "vltBox", "the default caption");
        const talvik::Outcome caption = box.get("Caption");
        check(caption.ok() && caption.value == talvik::Variant{"vltBox"}, "Caption reads vltBox");
    }
    {
        // The typed widget from the installed headers: a count above 150 is kept at 150.
        talvik::Matrix sheet;
        sheet.setProperty("MaxItems", 151);
        check(sheet.MaxItems() == 150, "the typed answer sheet keeps 150 questions");
        check(sheet.result().size() == 150, "its result has an answer for each");
    }
    if (failures == 0) std::puts("qt consumer: ok");
    return failures == 0 ? 0 : 1;
}

// A small exam form for the screen-reader test: an answer sheet of ten questions, the
// option strip, the navigation box, a link, the clock and the header, in one window,
// as an assistive technology finds them over AT-SPI.
#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdint>
#include <string>

#include "hosts/qt/QtControlWidget.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("talvik-atspi-form");
    QWidget form;
    form.setWindowTitle("Screen reader form");
    auto* layout = new QVBoxLayout(&form);
    const auto add = [&](const char* cls) {
        auto* w = new talvik::QtControlWidget(cls, nullptr, &form);
        layout->addWidget(w);
        return w;
    };
    add("vltHeaderExam");
    add("Matrix")->let("MaxItems", std::int16_t{10});
    add("VelOptionToolBar");
    add("vltSwitch")->let("Caption", std::string("Navigation"));
    auto* link = add("URLLink");
    link->let("Text", std::string("Exam rules"));
    link->let("URL", std::string("https://example.org/rules"));
    // The link's press asks the container first; this form never opens anything.
    QObject::connect(link, &talvik::QtControlWidget::eventRaised,
                     [](const talvik::EventDecl&, std::span<talvik::Variant> args) { args[1] = talvik::Variant(true); });
    add("TimerPicture")->timeOfDay = [] { return talvik::TimeOfDay{10, 42, 0}; };
    form.show();
    return app.exec();
}

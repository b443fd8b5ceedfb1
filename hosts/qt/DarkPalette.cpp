#include "hosts/qt/DarkPalette.h"

#include <QColor>

namespace talvik {

QPalette darkPalette() {
    QPalette p;
    const QColor window(53, 53, 53), base(42, 42, 42), text(Qt::white), grey(127, 127, 127);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, disabled ? grey : text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, QColor(66, 66, 66));
        p.setColor(group, QPalette::ToolTipBase, QColor(25, 25, 25));
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::PlaceholderText, grey);
        p.setColor(group, QPalette::Text, disabled ? grey : text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, disabled ? grey : text);
        p.setColor(group, QPalette::BrightText, QColor(255, 100, 100));
        p.setColor(group, QPalette::Light, QColor(80, 80, 80));
        p.setColor(group, QPalette::Midlight, QColor(66, 66, 66));
        p.setColor(group, QPalette::Mid, QColor(44, 44, 44));
        p.setColor(group, QPalette::Dark, QColor(35, 35, 35));
        p.setColor(group, QPalette::Shadow, QColor(20, 20, 20));
        p.setColor(group, QPalette::Highlight, disabled ? QColor(80, 80, 80) : QColor(42, 130, 218));
        p.setColor(group, QPalette::HighlightedText, disabled ? grey : text);
        p.setColor(group, QPalette::Link, QColor(90, 160, 240));
        p.setColor(group, QPalette::LinkVisited, QColor(170, 120, 230));
    }
    return p;
}

}  // namespace talvik

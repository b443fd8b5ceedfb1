// How the host's conventions map onto Qt: virtual key codes and the shift mask, the
// message box's icon, buttons, default button and result, and system colours.
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include "hosts/qt/ElementPainter.h"
#include "hosts/qt/KeyCodes.h"
#include "hosts/qt/MessageBox.h"

namespace talvik {
namespace {

TEST(QtMapping, VirtualKeyCodes) {
    struct Case { int key; Qt::KeyboardModifiers mods; std::int16_t vk; };
    // One key of each kind: named, main-keyboard and keypad digits, letters, shifted
    // digits, function keys, punctuation, and a key without a code.
    const Case cases[] = {
        {Qt::Key_Space, {}, 32},  {Qt::Key_Down, {}, 40},   {Qt::Key_0, {}, 48},
        {Qt::Key_9, Qt::KeypadModifier, 105}, {Qt::Key_A, {}, 65}, {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_Exclam, Qt::ShiftModifier, 49}, {Qt::Key_ParenRight, Qt::ShiftModifier, 48},
        {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_F1, {}, 112}, {Qt::Key_F12, {}, 123},
        {Qt::Key_Minus, {}, 189}, {Qt::Key_Minus, Qt::KeypadModifier, 109}, {Qt::Key_unknown, {}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(virtualKey(c.key, c.mods), c.vk) << "Qt key 0x" << std::hex << c.key;

    EXPECT_EQ(shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftMask(Qt::ControlModifier | Qt::AltModifier), 6);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier), 7);
}

TEST(QtMapping, MessageBoxes) {
    using SB = QMessageBox::StandardButton;
    QApplication::setApplicationDisplayName(QStringLiteral("Host application"));
    struct Case {
        std::int32_t flags;
        std::optional<QString> title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        SB defaultButton;
        QString shownTitle;
    };
    const Case cases[] = {
        {0, std::nullopt, QMessageBox::NoIcon, SB::Ok, SB::Ok, "Host application"},
        {16, QString("Veltrane"), QMessageBox::Critical, SB::Ok, SB::Ok, "Veltrane"},
        {1 + 32, QString("T"), QMessageBox::Question, SB::Ok | SB::Cancel, SB::Ok, "T"},
        {2 + 48 + 256, QString(""), QMessageBox::Warning, SB::Abort | SB::Retry | SB::Ignore, SB::Retry, ""},
        {3 + 64 + 512, std::nullopt, QMessageBox::Information, SB::Yes | SB::No | SB::Cancel, SB::Cancel, "Host application"},
        {4 + 256, std::nullopt, QMessageBox::NoIcon, SB::Yes | SB::No, SB::No, "Host application"},
        {5, std::nullopt, QMessageBox::NoIcon, SB::Retry | SB::Cancel, SB::Retry, "Host application"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        const auto box = makeMessageBox(QStringLiteral("text"), c.flags, c.title, nullptr);
        EXPECT_EQ(box->text(), "text");
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->windowTitle(), c.shownTitle);
        EXPECT_EQ(box->standardButtons(), c.buttons);
        EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
    }
    const std::pair<SB, std::int32_t> results[] = {{SB::Ok, 1}, {SB::Cancel, 2}, {SB::Abort, 3}, {SB::Retry, 4},
                                                   {SB::Ignore, 5}, {SB::Yes, 6}, {SB::No, 7}};
    for (const auto& [button, value] : results) EXPECT_EQ(messageBoxResult(button), value);
}

TEST(QtMapping, Colours) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    EXPECT_EQ(qtColour(0x00C00000u, palette), QColor(0, 0, 0xC0));  // red in the lowest byte
    EXPECT_EQ(qtColour(0x00DAB08Eu, palette), QColor(142, 176, 218));
    EXPECT_EQ(qtColour(0x8000000Du, palette), QColor(1, 2, 3));
    EXPECT_EQ(qtColour(0x80000012u, palette), QColor(4, 5, 6));
    EXPECT_EQ(qtColour(0x8000000Fu, palette), QColor(7, 8, 9));
}

// Every system colour comes from the palette role Qt draws the same thing with. The
// palette gives each role of each colour group a colour of its own, so that a colour
// taken from the wrong role or group shows.
TEST(QtMapping, SystemColoursFromThePalette) {
    using R = QPalette::ColorRole;
    using G = QPalette::ColorGroup;
    QPalette palette;
    for (const G group : {G::Active, G::Inactive, G::Disabled})
        for (int role = 0; role < int(R::NColorRoles); ++role)
            palette.setColor(group, R(role), QColor(int(group) * 60 + 10, role * 9, 200));
    struct Case { std::uint32_t index; G group; R role; };
    const Case cases[] = {
        {0, G::Active, R::Midlight},            // scroll bar track
        {1, G::Active, R::Dark},                // desktop
        {2, G::Active, R::Highlight},           // active caption
        {3, G::Inactive, R::Highlight},         // inactive caption
        {4, G::Active, R::Window},              // menu
        {5, G::Active, R::Base},                // window background
        {6, G::Active, R::Shadow},              // window frame
        {7, G::Active, R::WindowText},          // menu text
        {8, G::Active, R::Text},                // window text
        {9, G::Active, R::HighlightedText},     // active caption text
        {10, G::Active, R::Mid},                // active border
        {11, G::Inactive, R::Mid},              // inactive border
        {12, G::Active, R::Dark},               // application workspace
        {13, G::Active, R::Highlight},          // highlight
        {14, G::Active, R::HighlightedText},    // highlighted text
        {15, G::Active, R::Button},             // button face
        {16, G::Active, R::Dark},               // button shadow
        {17, G::Disabled, R::WindowText},       // grey text
        {18, G::Active, R::ButtonText},         // button text
        {19, G::Inactive, R::HighlightedText},  // inactive caption text
        {20, G::Active, R::Light},              // button highlight
        {21, G::Active, R::Shadow},             // 3-D dark shadow
        {22, G::Active, R::Midlight},           // 3-D light
        {23, G::Active, R::ToolTipText},        // info text
        {24, G::Active, R::ToolTipBase},        // info background
        {26, G::Active, R::Link},               // hot-tracked item
        {27, G::Active, R::Highlight},          // active caption gradient
        {28, G::Inactive, R::Highlight},        // inactive caption gradient
        {29, G::Active, R::Highlight},          // menu highlight
        {30, G::Active, R::Window},             // menu bar
        // No such system colour: text that stays readable on the window.
        {25, G::Active, R::WindowText},
        {31, G::Active, R::WindowText},
        {0x10D, G::Active, R::WindowText},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qtColour(0x80000000u + c.index, palette), palette.color(c.group, c.role)) << "system colour " << c.index;
}

}  // namespace
}  // namespace talvik

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

// Every system colour comes from the palette role Qt draws the same thing with; the
// palette gives each role of each colour group a colour of its own, so that a colour
// taken from the wrong role or group shows. Other colours have red in the lowest byte.
TEST(QtMapping, Colours) {
    using R = QPalette::ColorRole;
    using G = QPalette::ColorGroup;
    QPalette palette;
    for (const G group : {G::Active, G::Inactive, G::Disabled})
        for (int role = 0; role < int(R::NColorRoles); ++role)
            palette.setColor(group, R(role), QColor(int(group) * 60 + 10, role * 9, 200));
    EXPECT_EQ(qtColour(0x00DAB08Eu, palette), QColor(142, 176, 218));
    // Scroll bar track, desktop, active and inactive caption, menu, window background,
    // window frame, menu text, window text, active caption text, active and inactive
    // border, application workspace, highlight, highlighted text, button face, button
    // shadow, grey text, button text, inactive caption text, button highlight, 3-D dark
    // shadow, 3-D light, info text and background, (none), hot-tracked item, active and
    // inactive caption gradient, menu highlight, menu bar; no such colour beyond: text
    // that stays readable on the window.
    const std::pair<G, R> roles[] = {
        {G::Active, R::Midlight},  {G::Active, R::Dark},        {G::Active, R::Highlight},     {G::Inactive, R::Highlight},
        {G::Active, R::Window},    {G::Active, R::Base},        {G::Active, R::Shadow},        {G::Active, R::WindowText},
        {G::Active, R::Text},      {G::Active, R::HighlightedText}, {G::Active, R::Mid},       {G::Inactive, R::Mid},
        {G::Active, R::Dark},      {G::Active, R::Highlight},   {G::Active, R::HighlightedText}, {G::Active, R::Button},
        {G::Active, R::Dark},      {G::Disabled, R::WindowText}, {G::Active, R::ButtonText},   {G::Inactive, R::HighlightedText},
        {G::Active, R::Light},     {G::Active, R::Shadow},      {G::Active, R::Midlight},      {G::Active, R::ToolTipText},
        {G::Active, R::ToolTipBase}, {G::Active, R::WindowText}, {G::Active, R::Link},         {G::Active, R::Highlight},
        {G::Inactive, R::Highlight}, {G::Active, R::Highlight}, {G::Active, R::Window},        {G::Active, R::WindowText},
    };
    for (std::uint32_t index = 0; index < std::size(roles); ++index)
        EXPECT_EQ(qtColour(0x80000000u + index, palette), palette.color(roles[index].first, roles[index].second))
            << "system colour " << index;
    EXPECT_EQ(qtColour(0x8000010Du, palette), palette.color(G::Active, R::WindowText));
}

}  // namespace
}  // namespace talvik

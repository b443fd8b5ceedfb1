#include "hosts/qt/MessageBox.h"

#include <QGuiApplication>
#include <algorithm>
#include <utility>
#include <vector>

namespace talvik {

namespace {

using SB = QMessageBox::StandardButton;

std::vector<SB> buttonsFor(std::int32_t flags) {
    switch (flags & 0xF) {
        case 1: return {SB::Ok, SB::Cancel};
        case 2: return {SB::Abort, SB::Retry, SB::Ignore};
        case 3: return {SB::Yes, SB::No, SB::Cancel};
        case 4: return {SB::Yes, SB::No};
        case 5: return {SB::Retry, SB::Cancel};
        default: return {SB::Ok};
    }
}

QMessageBox::Icon iconFor(std::int32_t flags) {
    switch (flags & 0x70) {
        case 16: return QMessageBox::Critical;
        case 32: return QMessageBox::Question;
        case 48: return QMessageBox::Warning;
        case 64: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, std::int32_t flags,
                                            const std::optional<QString>& title, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setText(text);
    box->setIcon(iconFor(flags));
    box->setWindowTitle(title ? *title : QGuiApplication::applicationDisplayName());
    const std::vector<SB> buttons = buttonsFor(flags);
    for (SB b : buttons) box->addButton(b);
    const std::size_t defaultIndex = std::size_t(flags & 0x300) >> 8;
    box->setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    // Closing the window answers like the box's own way out: Cancel where there is one,
    // else the only button.
    if (buttons.size() == 1) box->setEscapeButton(buttons.front());
    else if (std::find(buttons.begin(), buttons.end(), SB::Cancel) != buttons.end()) box->setEscapeButton(SB::Cancel);
    return box;
}

std::int32_t messageBoxResult(QMessageBox::StandardButton pressed) {
    switch (pressed) {
        case SB::Ok: return 1;
        case SB::Cancel: return 2;
        case SB::Abort: return 3;
        case SB::Retry: return 4;
        case SB::Ignore: return 5;
        case SB::Yes: return 6;
        case SB::No: return 7;
        default: return 2;
    }
}

}  // namespace talvik

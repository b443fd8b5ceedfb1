#pragma once
// The host's message box on Qt: the flags choose the buttons (low bits), the icon (16
// critical, 32 question, 48 exclamation, 64 information) and the default button (256
// second, 512 third); the result is the pressed button's value (1 OK, 2 Cancel, 3 Abort,
// 4 Retry, 5 Ignore, 6 Yes, 7 No).
#include <QMessageBox>
#include <cstdint>
#include <memory>
#include <optional>

namespace talvik {

// The box for a message; no title shows the application's name.
std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, std::int32_t flags,
                                            const std::optional<QString>& title, QWidget* parent);
// The value of a pressed button; closing the box counts as its escape button.
std::int32_t messageBoxResult(QMessageBox::StandardButton pressed);

}  // namespace talvik

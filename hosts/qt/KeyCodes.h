#pragma once
// Qt keys and modifiers as the host's virtual key codes and shift mask.
#include <QKeyEvent>
#include <cstdint>

namespace talvik {

// 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t shiftMask(Qt::KeyboardModifiers m);
// The virtual key code of a key: letters 65-90 and main-keyboard digits 48-57 whatever
// the shift state, Space 32, arrows 37-40, Enter 13, keypad digits 96-105 and the rest;
// 0 for a key the host has no code for.
std::int16_t virtualKey(int qtKey, Qt::KeyboardModifiers m);

}  // namespace talvik

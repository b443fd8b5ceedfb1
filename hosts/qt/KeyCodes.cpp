#include "hosts/qt/KeyCodes.h"

#include <utility>

namespace talvik {

std::int16_t shiftMask(Qt::KeyboardModifiers m) {
    std::int16_t mask = 0;
    if (m & Qt::ShiftModifier) mask |= 1;
    if (m & Qt::ControlModifier) mask |= 2;
    if (m & Qt::AltModifier) mask |= 4;
    return mask;
}

namespace {

// Keys whose code does not follow from the key's character.
constexpr std::pair<int, std::int16_t> kNamed[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},   {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},       {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36},      {Qt::Key_Left, 37},      {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},      {Qt::Key_Print, 44},     {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},      {Qt::Key_Meta, 91},      {Qt::Key_Menu, 93},     {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // The punctuation keys of a US keyboard, shifted or not.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},     {Qt::Key_Equal, 187},      {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},     {Qt::Key_Less, 188},      {Qt::Key_Minus, 189},      {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},    {Qt::Key_Greater, 190},   {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},       {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},
};

// Shift with a main-keyboard digit gives its symbol; the key is still the digit.
constexpr int kShiftedDigits[10] = {
    Qt::Key_ParenRight, Qt::Key_Exclam, Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
    Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft,
};

}  // namespace

std::int16_t virtualKey(int key, Qt::KeyboardModifiers m) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (m & Qt::KeypadModifier) return std::int16_t(96 + (key - Qt::Key_0));
        return std::int16_t(key);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::int16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return std::int16_t(112 + (key - Qt::Key_F1));
    if (m & Qt::KeypadModifier) {
        switch (key) {
            case Qt::Key_Asterisk: return 106;
            case Qt::Key_Plus: return 107;
            case Qt::Key_Minus: return 109;
            case Qt::Key_Period: return 110;
            case Qt::Key_Slash: return 111;
            default: break;
        }
    }
    for (int d = 0; d < 10; ++d)
        if (key == kShiftedDigits[d]) return std::int16_t(48 + d);
    for (const auto& [qt, vk] : kNamed)
        if (qt == key) return vk;
    return 0;
}

}  // namespace talvik

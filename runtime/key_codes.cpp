#include "key_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <span>
#include <utility>

namespace tolvu::runtime {
namespace {

using Pair = std::pair<int, std::int16_t>;

// Keys of the main block whose symbol changes with Shift or the layout, by
// XKB keycode (evdev code + 8): the physical key decides the code, as on
// Windows.
// clang-format off
constexpr Pair kXkbMainKeys[] = {
    {10, 49}, {11, 50}, {12, 51}, {13, 52}, {14, 53}, {15, 54}, {16, 55}, {17, 56}, {18, 57}, {19, 48},
    {20, 189}, // minus
    {21, 187}, // equals / plus
    {34, 219}, {35, 221}, // brackets
    {47, 186}, // semicolon
    {48, 222}, // apostrophe
    {49, 192}, // grave
    {51, 220}, // backslash
    {59, 188}, // comma
    {60, 190}, // full stop
    {61, 191}, // slash
    {94, 226}, // the extra key next to left Shift on ISO keyboards
};

// Keys whose code does not depend on the keypad modifier.
constexpr Pair kQtKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18}, {Qt::Key_AltGr, 18}, {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27}, {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35}, {Qt::Key_Home, 36},
    {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39}, {Qt::Key_Down, 40},
    {Qt::Key_Print, 44}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
    {Qt::Key_Meta, 91}, {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    // The symbols of a US keyboard, named after the key that carries them.
    {Qt::Key_Exclam, 49}, {Qt::Key_At, 50}, {Qt::Key_NumberSign, 51}, {Qt::Key_Dollar, 52},
    {Qt::Key_Percent, 53}, {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
    {Qt::Key_ParenLeft, 57}, {Qt::Key_ParenRight, 48},
    {Qt::Key_Underscore, 189}, {Qt::Key_Equal, 187},
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},
    {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221},
    {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_Less, 188}, {Qt::Key_Greater, 190}, {Qt::Key_Question, 191},
};

// Keys that mean one code on the keypad and another on the main block:
// {Qt key, main-block code, keypad code}.
struct KeypadKey {
    int qtKey;
    std::int16_t main;
    std::int16_t keypad;
};
constexpr KeypadKey kKeypadKeys[] = {
    {Qt::Key_Period, 190, 110},
    {Qt::Key_Comma, 188, 110}, // the keypad's decimal key where the decimal sign is a comma
    {Qt::Key_Minus, 189, 109},
    {Qt::Key_Plus, 187, 107},
    {Qt::Key_Asterisk, 56, 106},
    {Qt::Key_Slash, 191, 111},
    {Qt::Key_Enter, 13, 13},
};
// clang-format on

std::int16_t lookup(std::span<const Pair> table, int key)
{
    for (const auto& [from, to] : table)
        if (from == key) return to;
    return 0;
}

std::int16_t codeOfQtKey(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::int16_t>((keypad ? 96 : 48) + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::int16_t>(65 + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + (key - Qt::Key_F1));
    for (const KeypadKey& k : kKeypadKeys)
        if (k.qtKey == key) return keypad ? k.keypad : k.main;
    return lookup(kQtKeys, key);
}

std::int16_t shiftMask(Qt::KeyboardModifiers modifiers)
{
    std::int16_t mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= 1;
    if (modifiers & Qt::ControlModifier) mask |= 2;
    if (modifiers & Qt::AltModifier) mask |= 4;
    return mask;
}

} // namespace

KeyPlatform currentKeyPlatform()
{
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("windows") ? KeyPlatform::Windows : KeyPlatform::Xkb;
}

KeyUp mapKey(const KeyInput& input, KeyPlatform platform)
{
    const std::int16_t shift = shiftMask(input.modifiers);
    if (platform == KeyPlatform::Windows && input.nativeVirtualKey != 0)
        return {static_cast<std::int16_t>(input.nativeVirtualKey), shift};
    // Keypad keys are left to the Qt key: with NumLock off they are the
    // navigation keys they are labelled with, as Windows reports them too.
    const bool keypad = input.modifiers.testFlag(Qt::KeypadModifier);
    if (platform != KeyPlatform::Windows && input.nativeScanCode != 0 && !keypad) {
        if (const std::int16_t code = lookup(kXkbMainKeys, static_cast<int>(input.nativeScanCode)))
            return {code, shift};
    }
    return {codeOfQtKey(input.qtKey, keypad), shift};
}

std::optional<KeyUp> keyUpFrom(const QKeyEvent& event)
{
    if (event.isAutoRepeat()) return std::nullopt;
    const KeyInput input{event.key(), event.modifiers(), event.nativeScanCode(), event.nativeVirtualKey()};
    return mapKey(input, currentKeyPlatform());
}

} // namespace tolvu::runtime

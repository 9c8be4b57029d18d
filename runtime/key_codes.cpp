#include "key_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>
// Qt's own view of the keyboard layout (see levelsOfKey).
#include <QtGui/private/qkeymapper_p.h>

#include <span>
#include <utility>

namespace tolvu::runtime {
namespace {

using Pair = std::pair<int, std::int16_t>;

// Only the key filter reads these codes, so only its keys are named: every
// other key is code 0, which the filter lets pass by like any code of a key
// it does not list.

// The digit row and the full stop of the main block by XKB keycode (evdev
// code + 8), where they stand on a US keyboard: the code of a key whose
// symbols the layout does not tell.
// clang-format off
constexpr Pair kXkbMainKeys[] = {
    {10, 49}, {11, 50}, {12, 51}, {13, 52}, {14, 53}, {15, 54}, {16, 55}, {17, 56}, {18, 57}, {19, 48}, {60, 190},
};

// Keys by their Qt key: the filter's editing keys, the keypad's among them
// (with NumLock off its 0 and point are Insert and Delete, as on Windows),
// and, where no keycode tells the key, the full stop and the symbols that a
// US keyboard types with Shift on the digit row and the full stop.
constexpr Pair kQtKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46}, {Qt::Key_Period, 190},
    {Qt::Key_Exclam, 49}, {Qt::Key_At, 50}, {Qt::Key_NumberSign, 51}, {Qt::Key_Dollar, 52}, {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55}, {Qt::Key_Asterisk, 56}, {Qt::Key_ParenLeft, 57},
    {Qt::Key_ParenRight, 48}, {Qt::Key_Greater, 190},
};
// clang-format on

std::int16_t lookup(std::span<const Pair> table, int key)
{
    for (const auto& [from, to] : table)
        if (from == key) return to;
    return 0;
}

// The keypad's digits are codes of their own; its decimal key and its other
// symbols are none of the filter's.
std::int16_t codeOfQtKey(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::int16_t>((keypad ? 96 : 48) + (key - Qt::Key_0));
    if (keypad && key != Qt::Key_Insert && key != Qt::Key_Delete) return 0;
    return lookup(kQtKeys, key);
}

// The code that a key typing `key` at one of its levels has for that reason
// alone: the full stop, the digits and the comma; 0 for any other key.
std::int16_t codeOfTypedKey(int key)
{
    if (key == Qt::Key_Period) return 190;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::int16_t>(48 + (key - Qt::Key_0));
    if (key == Qt::Key_Comma) return 188;
    return 0;
}

// Qt 6.4 lists a key with its modifiers as an int, later versions as a
// QKeyCombination.
[[maybe_unused]] int combined(int keyAndModifiers)
{
    return keyAndModifiers;
}
[[maybe_unused]] int combined(QKeyCombination keyAndModifiers)
{
    return keyAndModifiers.toCombined();
}

bool isTypedKeyCode(std::int16_t code)
{
    return (code >= 48 && code <= 57) || code == 190;
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
    // Qt on Wayland may leave out the keypad modifier; the key's symbol (the
    // native virtual key under XKB) still tells, by the rule Qt's X11 code
    // sets the modifier by (KP_Space to KP_9).
    const bool keypad =
        input.modifiers.testFlag(Qt::KeypadModifier) ||
        (platform == KeyPlatform::Xkb && input.nativeVirtualKey >= 0xff80 && input.nativeVirtualKey <= 0xffb9);
    if (platform == KeyPlatform::Windows || keypad) return {codeOfQtKey(input.qtKey, keypad), shift};

    for (const int level : input.levels)
        if (const std::int16_t code = codeOfTypedKey(level)) return {code, shift};
    std::int16_t code = 0;
    if (input.nativeScanCode != 0) code = lookup(kXkbMainKeys, static_cast<int>(input.nativeScanCode));
    if (!code) code = codeOfQtKey(input.qtKey, false);
    // Where a US keyboard has the full stop or a digit, the layout may have
    // put something else (":" on a French keyboard).
    if (input.levels != KeyLevels{} && isTypedKeyCode(code)) code = 0;
    return {code, shift};
}

// A key is named by what it types at either level, not only at the level in
// force when it comes up: on a French keyboard "." is Shift with the key
// that types ";", and the user may let go of Shift first. So at release the
// key's symbols with and without Shift are looked up in the keymap that Qt
// keeps for its own key events, through QKeyMapper::possibleKeys. On
// Wayland only Qt has that keymap (the compositor hands it to Qt's
// connection), and under X11 it is the one Qt translated the event with;
// asking the X server would fail on Wayland. The price is Qt's private API,
// which ties the build to the Qt version (qt6-base-private-dev).
// Remembering what each key typed at its press would be public but would
// know one level only: ":" at press cannot tell the French ":/" key (never
// ".") from the German ".:" key (always "."), and "!" the US "1!" key from
// the French "!" key. Where Qt knows no keymap, the levels stay unknown and
// the key's place on a US keyboard stands in.
//
// Probed with Shift held, Qt lists the key's unshifted symbol first, with
// Shift still among its modifiers, and its shifted symbol with none.
KeyLevels levelsOfKey(quint32 nativeScanCode)
{
    KeyLevels levels{};
    if (nativeScanCode == 0) return levels;
    QKeyEvent probe(QEvent::KeyPress, Qt::Key_unknown, Qt::ShiftModifier, nativeScanCode, 0, 0);
    for (const auto& entry : QKeyMapper::possibleKeys(&probe)) {
        const int combination = combined(entry);
        const int key = combination & ~Qt::KeyboardModifierMask;
        const auto modifiers = Qt::KeyboardModifiers::fromInt(combination & Qt::KeyboardModifierMask);
        if (modifiers == Qt::ShiftModifier && levels[0] == 0) levels[0] = key;
        if (modifiers == Qt::NoModifier && levels[1] == 0) levels[1] = key;
    }
    return levels;
}

std::optional<KeyUp> keyUpFrom(const QKeyEvent& event)
{
    if (event.isAutoRepeat()) return std::nullopt;
    const KeyInput input{event.key(), event.modifiers(), event.nativeScanCode(), event.nativeVirtualKey(),
                         currentKeyPlatform() == KeyPlatform::Xkb ? levelsOfKey(event.nativeScanCode()) : KeyLevels{}};
    return mapKey(input, currentKeyPlatform());
}

} // namespace tolvu::runtime

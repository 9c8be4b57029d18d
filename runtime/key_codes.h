// Qt key events as the key filter reads them: the Windows virtual-key code of
// the key and the modifier mask (1 Shift, 2 Ctrl, 4 Alt).
#pragma once

#include <Qt>
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <optional>

class QKeyEvent;

namespace tolvu::runtime {

// Where a key event came from decides which native field names the key.
enum class KeyPlatform : std::uint8_t {
    Windows, // nativeVirtualKey is the virtual-key code itself
    Xkb,     // a non-zero nativeScanCode is an XKB keycode (evdev code + 8),
             // as xcb and wayland deliver; zero leaves the Qt key alone
};

// What a key types without and with Shift in the active layout, as Qt keys;
// all zero where the layout is not known.
using KeyLevels = std::array<int, 2>;

struct KeyInput {
    int qtKey = 0;
    Qt::KeyboardModifiers modifiers;
    quint32 nativeScanCode = 0;
    quint32 nativeVirtualKey = 0;
    KeyLevels levels{};
};

struct KeyUp {
    std::int16_t key = 0;
    std::int16_t shift = 0;
    friend bool operator==(const KeyUp&, const KeyUp&) = default;
};

// The platform the running application's key events come from.
KeyPlatform currentKeyPlatform();

// Maps one key event onto the code of its key, as Windows names keys: the
// main-block key that types "." at either level is 190, a key that types a
// digit is 48..57 and one that types "," is 188, whatever Shift does at the
// moment of release; keypad digits are 96..105. Keys the filter does not
// list map to code 0, which it does not accept either.
KeyUp mapKey(const KeyInput& input, KeyPlatform platform);

// What the key with this XKB keycode types in the layout the application's
// keyboard state holds now; all zero where the platform does not say.
KeyLevels levelsOfKey(quint32 nativeScanCode);

// The key-up a release event stands for; none for an auto-repeated release,
// since a held key counts as released only once, at the end.
std::optional<KeyUp> keyUpFrom(const QKeyEvent& event);

} // namespace tolvu::runtime

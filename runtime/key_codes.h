// Qt key events as the key filter reads them: the Windows virtual-key code of
// the physical key and the modifier mask (1 Shift, 2 Ctrl, 4 Alt).
#pragma once

#include <Qt>
#include <QtGlobal>

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

struct KeyInput {
    int qtKey = 0;
    Qt::KeyboardModifiers modifiers;
    quint32 nativeScanCode = 0;
    quint32 nativeVirtualKey = 0;
};

struct KeyUp {
    std::int16_t key = 0;
    std::int16_t shift = 0;
    friend bool operator==(const KeyUp&, const KeyUp&) = default;
};

// The platform the running application's key events come from.
KeyPlatform currentKeyPlatform();

// Maps one key event onto the code of its physical key: the digit row keeps
// 48..57 with Shift held, keypad digits are 96..105 and the keypad point 110.
// Unknown keys map to code 0, which no filter accepts.
KeyUp mapKey(const KeyInput& input, KeyPlatform platform);

// The key-up a release event stands for; none for an auto-repeated release,
// since a held key counts as released only once, at the end.
std::optional<KeyUp> keyUpFrom(const QKeyEvent& event);

} // namespace tolvu::runtime

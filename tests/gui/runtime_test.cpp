// The runtime's key mapping on its own; the rest of the runtime is
// exercised through the windows.
#include <gtest/gtest.h>

#include <string>

#include "key_codes.h"

namespace tolvu::runtime {
namespace {

TEST(KeyMapping, GivesTheKeysCode)
{
    constexpr auto X = KeyPlatform::Xkb;
    constexpr auto W = KeyPlatform::Windows;
    constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
    constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
    constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;
    struct Case {
        KeyPlatform platform;
        KeyInput input;
        KeyUp expected;
    };
    // clang-format off
    const Case cases[] = {
        // X11 and Wayland, the layout unknown: the scan code names the key by its place on a US keyboard.
        {X, {Qt::Key_Exclam, kShift, 10, 0}, {49, 1}}, {X, {Qt::Key_ParenRight, kShift, 19, 0}, {48, 1}},
        {X, {Qt::Key_Eacute, kNone, 11, 0}, {50, 0}}, {X, {Qt::Key_Greater, kShift, 60, 0}, {190, 1}},
        {X, {Qt::Key_7, kPad, 79, 0}, {103, 0}}, {X, {Qt::Key_0, kPad, 90, 0}, {96, 0}},
        {X, {Qt::Key_Period, kPad, 91, 0}, {110, 0}}, {X, {Qt::Key_Comma, kPad, 91, 0}, {110, 0}},
        {X, {Qt::Key_Minus, kPad, 82, 0}, {109, 0}}, {X, {Qt::Key_Minus, kNone, 20, 0}, {189, 0}},
        {X, {Qt::Key_End, kPad, 87, 0}, {35, 0}}, {X, {Qt::Key_Delete, kPad, 91, 0}, {46, 0}},
        {X, {Qt::Key_Insert, kShift | Qt::ControlModifier, 118, 0}, {45, 3}},
        {X, {Qt::Key_E, Qt::AltModifier, 26, 0}, {69, 4}},
        // The layout known: what the key types at either level decides, whatever Shift does at release.
        {X, {Qt::Key_Semicolon, kNone, 59, 0, {Qt::Key_Semicolon, Qt::Key_Period}}, {190, 0}},
        {X, {Qt::Key_Colon, kShift, 60, 0, {Qt::Key_Period, Qt::Key_Colon}}, {190, 1}},
        {X, {Qt::Key_Colon, kNone, 60, 0, {Qt::Key_Colon, Qt::Key_Slash}}, {0, 0}},
        {X, {Qt::Key_Ampersand, kNone, 10, 0, {Qt::Key_Ampersand, Qt::Key_1}}, {49, 0}},
        {X, {Qt::Key_Question, kShift, 58, 0, {Qt::Key_Comma, Qt::Key_Question}}, {188, 1}},
        {X, {Qt::Key_Period, kPad, 91, 0, {Qt::Key_Period, Qt::Key_Delete}}, {110, 0}},
        // No scan code: the Qt key and the keypad flag alone.
        {X, {Qt::Key_9, kNone, 0, 0}, {57, 0}}, {X, {Qt::Key_At, kShift, 0, 0}, {50, 1}},
        {X, {Qt::Key_9, kPad, 0, 0}, {105, 0}}, {X, {Qt::Key_Period, kPad, 0, 0}, {110, 0}},
        {X, {Qt::Key_Period, kNone, 0, 0}, {190, 0}}, {X, {Qt::Key_Eacute, kNone, 0, 0}, {0, 0}},
        // Windows: the virtual key as the system reports it.
        {W, {Qt::Key_Exclam, kShift, 2, 49}, {49, 1}}, {W, {Qt::Key_5, kPad, 76, 101}, {101, 0}},
        {W, {Qt::Key_Period, kPad, 83, 110}, {110, 0}}, {W, {Qt::Key_Period, kNone, 52, 190}, {190, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const KeyUp got = mapKey(c.input, c.platform);
        EXPECT_TRUE(got == c.expected) << "Qt key " << c.input.qtKey << ", scan code " << c.input.nativeScanCode
                                       << " gave " << got.key << ", " << got.shift;
    }
}

} // namespace
} // namespace tolvu::runtime

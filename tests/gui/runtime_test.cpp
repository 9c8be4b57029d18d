// The runtime services on their own: key codes, text conversions, colours
// and the address opener.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>

#include <string>
#include <vector>

#include "app_object.h"
#include "conversions.h"
#include "key_codes.h"
#include "shell.h"
#include "system_colors.h"

namespace tolvu::runtime {
namespace {

struct KeyCase {
    const char* name;
    KeyPlatform platform;
    KeyInput input;
    KeyUp expected;
};

class KeyMapping : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMapping, GivesThePhysicalKeysCode)
{
    EXPECT_EQ(mapKey(GetParam().input, GetParam().platform), GetParam().expected);
}

constexpr auto X = KeyPlatform::Xkb;
constexpr auto W = KeyPlatform::Windows;
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Keys, KeyMapping, ::testing::Values(
    // X11 and Wayland: the scan code names the digit row and full stop whatever Shift makes of them.
    KeyCase{"XDigit1", X, {Qt::Key_1, kNone, 10, 0}, {49, 0}},
    KeyCase{"XShiftDigit1", X, {Qt::Key_Exclam, kShift, 10, 0}, {49, 1}},
    KeyCase{"XShiftDigit0", X, {Qt::Key_ParenRight, kShift, 19, 0}, {48, 1}},
    KeyCase{"XFrenchDigitRow", X, {Qt::Key_Eacute, kNone, 11, 0}, {50, 0}},
    KeyCase{"XFullStop", X, {Qt::Key_Period, kNone, 60, 0}, {190, 0}},
    KeyCase{"XShiftFullStop", X, {Qt::Key_Greater, kShift, 60, 0}, {190, 1}},
    KeyCase{"XMinus", X, {Qt::Key_Minus, kNone, 20, 0}, {189, 0}},
    KeyCase{"XComma", X, {Qt::Key_Comma, kNone, 59, 0}, {188, 0}},
    KeyCase{"XKeypad7", X, {Qt::Key_7, kPad, 79, 0}, {103, 0}},
    KeyCase{"XKeypad0", X, {Qt::Key_0, kPad, 90, 0}, {96, 0}},
    KeyCase{"XKeypadPoint", X, {Qt::Key_Period, kPad, 91, 0}, {110, 0}},
    KeyCase{"XKeypadCommaPoint", X, {Qt::Key_Comma, kPad, 91, 0}, {110, 0}},
    KeyCase{"XKeypadMinus", X, {Qt::Key_Minus, kPad, 82, 0}, {109, 0}},
    KeyCase{"XKeypad1NumLockOff", X, {Qt::Key_End, kPad, 87, 0}, {35, 0}},
    KeyCase{"XKeypadPointNumLockOff", X, {Qt::Key_Delete, kPad, 91, 0}, {46, 0}},
    KeyCase{"XShiftInsert", X, {Qt::Key_Insert, kShift, 118, 0}, {45, 1}},
    KeyCase{"XCtrlShiftInsert", X, {Qt::Key_Insert, kShift | Qt::ControlModifier, 118, 0}, {45, 3}},
    KeyCase{"XBackspace", X, {Qt::Key_Backspace, kNone, 22, 0}, {8, 0}},
    KeyCase{"XDelete", X, {Qt::Key_Delete, kNone, 119, 0}, {46, 0}},
    KeyCase{"XCtrlV", X, {Qt::Key_V, Qt::ControlModifier, 55, 0}, {86, 2}},
    KeyCase{"XAltE", X, {Qt::Key_E, Qt::AltModifier, 26, 0}, {69, 4}},
    KeyCase{"XShiftCtrlAlt", X, {Qt::Key_5, kShift | Qt::ControlModifier | Qt::AltModifier, 14, 0}, {53, 7}},
    // No scan code: the Qt key and the keypad flag alone.
    KeyCase{"BareDigit", X, {Qt::Key_9, kNone, 0, 0}, {57, 0}},
    KeyCase{"BareShiftedDigit", X, {Qt::Key_At, kShift, 0, 0}, {50, 1}},
    KeyCase{"BareKeypadDigit", X, {Qt::Key_9, kPad, 0, 0}, {105, 0}},
    KeyCase{"BarePeriod", X, {Qt::Key_Period, kNone, 0, 0}, {190, 0}},
    KeyCase{"BareKeypadPeriod", X, {Qt::Key_Period, kPad, 0, 0}, {110, 0}},
    KeyCase{"BareEscape", X, {Qt::Key_Escape, kNone, 0, 0}, {27, 0}},
    KeyCase{"BareF5", X, {Qt::Key_F5, kNone, 0, 0}, {116, 0}},
    KeyCase{"BareUnknown", X, {Qt::Key_Eacute, kNone, 0, 0}, {0, 0}},
    // Windows: the virtual key as the system reports it.
    KeyCase{"WinShiftDigit", W, {Qt::Key_Exclam, kShift, 2, 49}, {49, 1}},
    KeyCase{"WinNumpad5", W, {Qt::Key_5, kPad, 76, 101}, {101, 0}},
    KeyCase{"WinDecimal", W, {Qt::Key_Period, kPad, 83, 110}, {110, 0}},
    KeyCase{"WinOemPeriod", W, {Qt::Key_Period, kNone, 52, 190}, {190, 0}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(KeyUpFrom, AutoRepeatedReleasesAreNoKeyUps)
{
    const QKeyEvent held(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, 14, 0, 0, QStringLiteral("5"), true);
    const QKeyEvent released(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, 14, 0, 0, QStringLiteral("5"), false);
    EXPECT_FALSE(keyUpFrom(held).has_value());
    ASSERT_TRUE(keyUpFrom(released).has_value());
    EXPECT_EQ(keyUpFrom(released)->key, 53);
}

struct FormatCase {
    int value;
    const char* picture;
    const char* text;
};

class FormatPicture : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatPicture, PadsWithZerosAndNeverCuts)
{
    EXPECT_EQ(Format(GetParam().value, QLatin1String(GetParam().picture)), QLatin1String(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, FormatPicture,
                         ::testing::Values(FormatCase{14, "00", "14"}, FormatCase{5, "00", "05"},
                                           FormatCase{0, "00", "00"}, FormatCase{123, "00", "123"},
                                           FormatCase{2131, "0000", "2131"}, FormatCase{7, "0000", "0007"},
                                           FormatCase{12345, "0000", "12345"}, FormatCase{-5, "00", "-05"},
                                           FormatCase{42, "", "42"}));

TEST(Conversions, IntegerToTextHasNoBlankAndNoLeadingZero)
{
    EXPECT_EQ(CStr(2), QStringLiteral("2"));
    EXPECT_EQ(CStr(-3), QStringLiteral("-3"));
    EXPECT_EQ(CStr(0), QStringLiteral("0"));
    EXPECT_EQ(CStr(32767), QStringLiteral("32767"));
}

struct ReplaceCase {
    const char* text;
    const char* find;
    const char* with;
    const char* result;
};

class ReplaceAll : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAll, EveryOccurrenceCaseSensitiveWithoutRescanning)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(Replace(QLatin1String(c.text), QLatin1String(c.find), QLatin1String(c.with)), QLatin1String(c.result));
}

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceAll,
                         ::testing::Values(ReplaceCase{"$maj.$min $maj", "$maj", "2", "2.$min 2"},
                                           ReplaceCase{"$B $b", "$b", "7", "$B 7"},
                                           ReplaceCase{"aaa", "a", "aa", "aaaaaa"},
                                           ReplaceCase{"aaaa", "aa", "b", "bb"}, ReplaceCase{"none", "$p", "x", "none"},
                                           ReplaceCase{"keep", "", "x", "keep"},
                                           ReplaceCase{"$min$min", "$min", "", ""}));

TEST(AppObject, CarriesTheVersionRecord)
{
    EXPECT_EQ(App().title, QStringLiteral("Velmora Convert"));
    EXPECT_EQ(App().productName, QStringLiteral("Velmora Convert"));
    EXPECT_EQ(App().major, 2);
    EXPECT_EQ(App().minor, 14);
    EXPECT_EQ(App().revision, 2131);
    EXPECT_FALSE(App().legalCopyright.isEmpty());
}

TEST(SystemColors, SystemCodesFollowThePaletteAndOthersAreBgr)
{
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(resolveColor(color::kHighlight), palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(resolveColor(color::kWindowText), palette.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(resolveColor(0x00FF8000), QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(resolveColor(color::kGray), QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(resolveColor(0x800000FF).isValid()); // beyond the table: still a colour
}

TEST(SystemColors, ForeColorFollowsAPaletteChangeOnlyForSystemCodes)
{
    const QPalette original = QGuiApplication::palette();
    QLabel system;
    QLabel fixed;
    setForeColor(&system, color::kHighlight);
    setForeColor(&fixed, 0x000000FF);
    EXPECT_EQ(foreColor(&system), color::kHighlight);
    const QLabel untouched;
    EXPECT_FALSE(foreColor(&untouched).has_value());
    QPalette changed = original;
    changed.setColor(QPalette::Highlight, QColor(1, 2, 3));
    QApplication::setPalette(changed);
    EXPECT_EQ(system.palette().color(QPalette::WindowText), QColor(1, 2, 3));
    EXPECT_EQ(fixed.palette().color(QPalette::WindowText), QColor(Qt::red));
    QApplication::setPalette(original);
    EXPECT_EQ(system.palette().color(QPalette::WindowText), original.color(QPalette::Highlight));
}

TEST(Shell, TheOpenerCanBeReplacedAndRestored)
{
    std::vector<std::string> seen;
    const AddressOpener previous = setAddressOpener([&](const QString& a) { seen.push_back(a.toStdString()); });
    shellOpen(QStringLiteral("mailto:x@y.example?subject=a b (c)"));
    const AddressOpener mine = setAddressOpener(previous);
    EXPECT_EQ(seen, std::vector<std::string>{"mailto:x@y.example?subject=a b (c)"});
    EXPECT_TRUE(static_cast<bool>(mine));
}

} // namespace
} // namespace tolvu::runtime

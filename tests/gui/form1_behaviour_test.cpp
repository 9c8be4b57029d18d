#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "gui_test_support.h"

namespace tolvu::test {
namespace {

QColor textColor(const QLineEdit* b)
{
    return b->palette().color(QPalette::Text);
}

bool highlighted(const QLineEdit* b)
{
    return b->font().bold() && textColor(b) == QGuiApplication::palette().color(QPalette::Highlight);
}

bool plain(const QLineEdit* b)
{
    return !b->font().bold() && textColor(b) == QGuiApplication::palette().color(QPalette::Text);
}

TEST(Form1Behaviour, StartsEmptyWithTheFocusAndHighlightOnMillimeters)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    EXPECT_EQ(QApplication::focusWidget(), mm);
    EXPECT_TRUE(highlighted(mm));
    for (QLineEdit* b : form->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(b->text().isEmpty()) << b->objectName().toStdString();
        if (b != mm) {
            EXPECT_TRUE(plain(b)) << b->objectName().toStdString();
        }
    }
}

// Records which boxes change, in order, and their new texts; the box the
// user types into is left out.
class WriteLog {
public:
    explicit WriteLog(const Form1& form, const QLineEdit* typedInto = nullptr)
    {
        for (QLineEdit* b : form.findChildren<QLineEdit*>()) {
            if (b == typedInto) continue;
            QObject::connect(b, &QLineEdit::textChanged, b, [this, b](const QString& text) {
                writes.emplace_back(b->objectName().toStdString(), text.toStdString());
            });
        }
    }
    std::vector<std::pair<std::string, std::string>> writes;
};

using Texts = std::vector<std::pair<std::string, std::string>>;

struct Typing {
    const char* source;
    const char* typed;
    Texts sisters; // in write order
};

class TypingConverts : public ::testing::TestWithParam<Typing> {};

TEST_P(TypingConverts, SistersShowTheValueInWriteOrderAndTheSourceKeepsItsText)
{
    const Typing& t = GetParam();
    const auto form = showForm();
    QLineEdit* source = box(*form, t.source);
    source->setFocus(Qt::TabFocusReason);
    const QString typed = QString::fromLatin1(t.typed);
    typeText(source, typed.chopped(1));
    // Marked, so that the last key's writes show even where a sister's text
    // would not change.
    for (const auto& [name, text] : t.sisters)
        box(*form, name.c_str())->setText(QStringLiteral("marked"));
    WriteLog log(*form, source);
    typeText(source, typed.right(1));
    EXPECT_EQ(log.writes, t.sisters);
    EXPECT_EQ(source->text(), QLatin1String(t.typed));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Groups, TypingConverts, ::testing::Values(
    Typing{"inchBox", "1", {{"mmBox", "25.4"}, {"cmBox", "2.54"}, {"mBox", "0.0254"}, {"kmBox", "2.54E-05"},
                            {"feetBox", "0.0833333"}, {"yardBox", "0.0277778"}, {"mileBox", "1.57828E-05"}}},
    Typing{"lbsBox", "1", {{"mgBox", "453592"}, {"gBox", "453.592"}, {"kgBox", "0.453592"}, {"mtBox", "0.000453592"},
                           {"ozBox", "16"}, {"stBox", "0.0005"}, {"ltBox", "0.000446429"}}},
    Typing{"gallonBox", "1", {{"mlBox", "3785.41"}, {"clBox", "378.541"}, {"dlBox", "37.8541"}, {"lBox", "3.78541"},
                              {"flozBox", "128"}, {"pintBox", "8"}, {"quartBox", "4"}}},
    Typing{"celciusBox", "100", {{"kelvinBox", "373.15"}, {"fahrBox", "212"}}},
    Typing{"fahrBox", "-40", {{"celciusBox", "-40"}, {"kelvinBox", "233.15"}}},
    Typing{"minBox", "90", {{"secBox", "5400"}, {"hourBox", "1.5"}, {"dayBox", "0.0625"}}},
    Typing{"kmBox", "1 000", {{"mmBox", "1000000000"}, {"cmBox", "100000000"}, {"mBox", "1000000"},
                              {"inchBox", "39370100"}, {"feetBox", "3280840"}, {"yardBox", "1093610"},
                              {"mileBox", "621.371"}}},
    Typing{"celciusBox", "007", {{"kelvinBox", "280.15"}, {"fahrBox", "44.6"}}}),
    [](const auto& info) { return std::string(info.param.source) + "_" + std::to_string(info.index); });
// clang-format on

struct FilterCase {
    const char* name;
    Key key;
    bool recalculates;
};

class KeyFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilter, OnlyFilteredKeysRecalculate)
{
    const auto form = showForm();
    QLineEdit* celsius = box(*form, "celciusBox");
    celsius->setFocus(Qt::TabFocusReason);
    celsius->setText(QStringLiteral("7"));
    releaseKey(celsius, GetParam().key);
    EXPECT_EQ(box(*form, "kelvinBox")->text(), GetParam().recalculates ? QStringLiteral("280.15") : QString());
    EXPECT_EQ(box(*form, "fahrBox")->text(), GetParam().recalculates ? QStringLiteral("44.6") : QString());
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kPad = Qt::KeypadModifier;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Keys, KeyFilter, ::testing::Values(
    FilterCase{"Digit", {Qt::Key_5, kNone, scan::Digit1 + 4, "5"}, true},
    FilterCase{"ShiftedDigitRowKey", {Qt::Key_Exclam, kShift, scan::Digit1, "!"}, true},
    FilterCase{"CtrlDigit", {Qt::Key_5, kCtrl, scan::Digit1 + 4, ""}, true},
    FilterCase{"KeypadDigit", {Qt::Key_7, kPad, scan::Kp7, "7"}, true},
    FilterCase{"FullStop", {Qt::Key_Period, kNone, scan::Period, "."}, true},
    FilterCase{"Backspace", {Qt::Key_Backspace, kNone, scan::Backspace, ""}, true},
    FilterCase{"Delete", {Qt::Key_Delete, kNone, scan::Delete, ""}, true},
    FilterCase{"ShiftDelete", {Qt::Key_Delete, kShift, scan::Delete, ""}, true},
    FilterCase{"ShiftInsert", {Qt::Key_Insert, kShift, scan::Insert, ""}, true},
    FilterCase{"KeypadDeleteWithoutNumLock", {Qt::Key_Delete, kPad, scan::KpDecimal, ""}, true},
    FilterCase{"Insert", {Qt::Key_Insert, kNone, scan::Insert, ""}, false},
    FilterCase{"CtrlShiftInsert", {Qt::Key_Insert, kShift | kCtrl, scan::Insert, ""}, false},
    FilterCase{"CtrlV", {Qt::Key_V, kCtrl, scan::V, ""}, false},
    FilterCase{"Minus", {Qt::Key_Minus, kNone, scan::Minus, "-"}, false},
    FilterCase{"KeypadMinus", {Qt::Key_Minus, kPad, scan::KpSubtract, "-"}, false},
    FilterCase{"KeypadPoint", {Qt::Key_Period, kPad, scan::KpDecimal, "."}, false},
    FilterCase{"Comma", {Qt::Key_Comma, kNone, scan::Comma, ","}, false},
    FilterCase{"LetterE", {Qt::Key_E, kNone, scan::E, "e"}, false},
    FilterCase{"Space", {Qt::Key_Space, kNone, scan::Space, " "}, false},
    FilterCase{"KeypadEndWithoutNumLock", {Qt::Key_End, kPad, scan::Kp1, ""}, false},
    FilterCase{"Enter", {Qt::Key_Return, kNone, 36, "\r"}, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Form1Behaviour, HeldKeyRecalculatesOnceWhenFinallyReleased)
{
    const auto form = showForm();
    QLineEdit* sec = box(*form, "secBox");
    sec->setFocus(Qt::TabFocusReason);
    const Key six = keyFor(QLatin1Char('6'));
    WriteLog log(*form, sec);
    for (int i = 0; i < 3; ++i) {
        pressKey(sec, six);
        releaseKey(sec, six, /*autoRepeat=*/true);
    }
    EXPECT_TRUE(log.writes.empty());
    EXPECT_EQ(sec->text(), QStringLiteral("666"));
    releaseKey(sec, six);
    EXPECT_EQ(log.writes.size(), 3u);
    EXPECT_EQ(box(*form, "minBox")->text(), QStringLiteral("11.1"));
}

TEST(Form1Behaviour, EmptyingABoxEmptiesItsGroupOnly)
{
    const auto form = showForm();
    QLineEdit* km = box(*form, "kmBox");
    km->setFocus(Qt::TabFocusReason);
    typeText(km, QStringLiteral("2"));
    box(*form, "kgBox")->setText(QStringLiteral("3"));
    const Key backspace{Qt::Key_Backspace, Qt::NoModifier, scan::Backspace, QString()};
    strokeKey(km, backspace);
    for (const char* name : {"mmBox", "cmBox", "mBox", "inchBox", "feetBox", "yardBox", "mileBox"})
        EXPECT_TRUE(box(*form, name)->text().isEmpty()) << name;
    EXPECT_EQ(box(*form, "kgBox")->text(), QStringLiteral("3"));
    // Backspace in an empty box empties sisters filled from elsewhere.
    box(*form, "mBox")->setText(QStringLiteral("9"));
    strokeKey(km, backspace);
    EXPECT_TRUE(box(*form, "mBox")->text().isEmpty());
}

TEST(Form1Behaviour, OverflowKeepsEarlierWritesReportsAndKeepsRunning)
{
    const auto form = showForm();
    QLineEdit* celsius = box(*form, "celciusBox");
    celsius->setFocus(Qt::TabFocusReason);
    typeText(celsius, QStringLiteral("1e30"));
    box(*form, "fahrBox")->setText(QStringLiteral("50"));
    QString message;
    const auto shown = whenModalOpens([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
    });
    typeText(celsius, QStringLiteral("8"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return *shown; }, 3000));
    EXPECT_TRUE(message.contains(QStringLiteral("Overflow"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Fahrenheit"))) << message.toStdString();
    EXPECT_EQ(box(*form, "kelvinBox")->text(), QStringLiteral("1E+308"));
    EXPECT_EQ(box(*form, "fahrBox")->text(), QStringLiteral("50"));
    EXPECT_EQ(celsius->text(), QStringLiteral("1e308"));
    EXPECT_TRUE(form->isVisible());
    // The window still converts after the report.
    strokeKey(celsius, {Qt::Key_Backspace, Qt::NoModifier, scan::Backspace, QString()});
    EXPECT_EQ(box(*form, "kelvinBox")->text(), QStringLiteral("1E+30"));
}

TEST(Form1Behaviour, FocusHighlightFollowsTheFocusAndSelectsTheWholeText)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    QLineEdit* cm = box(*form, "cmBox");
    cm->setText(QStringLiteral("12.5"));
    WriteLog log(*form);
    QTest::keyClick(mm, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cm);
    EXPECT_TRUE(highlighted(cm));
    EXPECT_TRUE(plain(mm));
    EXPECT_EQ(cm->selectedText(), QStringLiteral("12.5"));
    EXPECT_EQ(cm->selectionStart(), 0);
    // Clicking a button takes the highlight away as well.
    auto* credits = form->findChild<QPushButton*>(QStringLiteral("creditsButton"));
    QTest::mousePress(credits, Qt::LeftButton);
    QTest::mouseRelease(credits, Qt::LeftButton, Qt::NoModifier, QPoint(-10, -10)); // released off it: no click
    EXPECT_EQ(QApplication::focusWidget(), credits);
    EXPECT_TRUE(plain(cm));
    EXPECT_TRUE(log.writes.empty()) << "a focus change must not convert";
}

TEST(Form1Behaviour, TypingIntoAFocusedEmptyBoxShowsBoldHighlight)
{
    const auto form = showForm();
    QLineEdit* day = box(*form, "dayBox");
    day->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(highlighted(day));
    EXPECT_EQ(day->selectionStart(), -1);
    typeText(day, QStringLiteral("1"));
    EXPECT_TRUE(highlighted(day));
    EXPECT_EQ(box(*form, "hourBox")->text(), QStringLiteral("24"));
}

TEST(Form1Behaviour, HighlightFollowsTheDesktopColourScheme)
{
    const QPalette original = QGuiApplication::palette();
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    QPalette red = original;
    red.setColor(QPalette::Highlight, Qt::red);
    red.setColor(QPalette::Text, Qt::darkGreen);
    QApplication::setPalette(red);
    EXPECT_EQ(textColor(mm), QColor(Qt::red));
    EXPECT_EQ(textColor(box(*form, "cmBox")), QColor(Qt::darkGreen));
    QApplication::setPalette(original);
    EXPECT_EQ(textColor(mm), original.color(QPalette::Highlight));
}

TEST(Form1Behaviour, EnterInABoxKeepsTheProgramRunningAndEscapeExits)
{
    const auto form = showForm();
    QTest::keyClick(box(*form, "mmBox"), Qt::Key_Return);
    QTest::keyClick(box(*form, "mmBox"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(box(*form, "mmBox"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST(Form1Behaviour, AltXExits)
{
    const auto form = showForm();
    QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
    // An access key presses the button visibly before it clicks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 2000));
}

class ClosingEndsTheProgram : public ::testing::TestWithParam<bool> {};

TEST_P(ClosingEndsTheProgram, WithExitStatusZero)
{
    const bool byExitButton = GetParam();
    const auto form = showForm();
    box(*form, "mmBox")->setText(QStringLiteral("5"));
    QApplication::setQuitOnLastWindowClosed(true);
    QTimer::singleShot(0, form.get(), [&] {
        if (byExitButton)
            form->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
        else
            form->close(); // the frame's close button
    });
    // Should the window fail to close, the test ends the loop itself with a
    // status that fails it.
    QTimer::singleShot(3000, [] { QApplication::exit(99); });
    const int status = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(ExitButtonAndFrame, ClosingEndsTheProgram, ::testing::Bool());

} // namespace
} // namespace tolvu::test

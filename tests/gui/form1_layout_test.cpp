// The main window against its layout tables: names, twip positions, tab
// order, tooltips, captions with their access keys, and buddies.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "gui_test_support.h"

namespace tolvu::test {
namespace {

// clang-format off
struct BoxRow { const char* box; int left, top; const char* label; const char* caption; int labelWidth; const char* toolTip; };
const BoxRow kBoxRows[] = {
    {"mmBox",      120,  360,  "Label1",   "Millimeters:",  855,  " Length "},
    {"cmBox",      1800, 360,  "label100", "Centimeters:",  975,  " Length "},
    {"mBox",       3480, 360,  "label3",   "Me&ters:",      615,  " Length "},
    {"kmBox",      5160, 360,  "Label4",   "Kilometers:",   975,  " Length "},
    {"inchBox",    120,  960,  "Label5",   "Inc&hes:",      615,  " Length "},
    {"feetBox",    1800, 960,  "Label6",   "F&eet:",        855,  " Length "},
    {"yardBox",    3480, 960,  "Label7",   "&Yards:",       855,  " Length "},
    {"mileBox",    5160, 960,  "Label2",   "M&iles:",       855,  " Length "},
    {"mgBox",      120,  1800, "label101", "&Milligrams:",  855,  " Weight "},
    {"gBox",       1800, 1800, "label15",  "&Grams:",       855,  " Weight "},
    {"kgBox",      3480, 1800, "Label13",  "&Kilograms:",   1095, " Weight "},
    {"mtBox",      5160, 1800, "Label12",  "Metric Tons:",  975,  " Weight "},
    {"ozBox",      120,  2400, "Label11",  "&Oz:",          855,  " Weight "},
    {"lbsBox",     1800, 2400, "Label10",  "L&bs:",         855,  " Weight "},
    {"stBox",      3480, 2400, "Label9",   "&Short Tons:",  855,  " Weight "},
    {"ltBox",      5160, 2400, "Label8",   "Long Tons:",    855,  " Weight "},
    {"mlBox",      120,  3240, "Label14",  "Milliliters:",  855,  " Volume "},
    {"clBox",      1800, 3240, "Label16",  "Centiliters:",  855,  " Volume "},
    {"dlBox",      3480, 3240, "Label17",  "Deciliters:",   855,  " Volume "},
    {"lBox",       5160, 3240, "Label19",  "&Liters:",      855,  " Volume "},
    {"flozBox",    120,  3840, "Label20",  "Fluid O&z:",    855,  " Volume "},
    {"pintBox",    1800, 3840, "Label21",  "&Pints:",       855,  " Volume "},
    {"quartBox",   3480, 3840, "Label22",  "&Quarts:",      855,  " Volume "},
    {"gallonBox",  5160, 3840, "Label23",  "Gallo&ns:",     855,  " Volume "},
    {"kelvinBox",  120,  4680, "Label18",  "Kel&vin:",      1095, " Temperature "},
    {"celciusBox", 1800, 4680, "Label24",  "&Celsius:",     1095, " Temperature "},
    {"fahrBox",    3480, 4680, "Label25",  "&Fahrenheit:",  1095, " Temperature "},
    {"secBox",     120,  5520, "Label26",  "Secon&ds:",     1095, " Time "},
    {"minBox",     1800, 5520, "Label27",  "Min&utes:",     1095, " Time "},
    {"hourBox",    3480, 5520, "Label28",  "Hour&s:",       1095, " Time "},
    {"dayBox",     5160, 5520, "Label29",  "D&ays:",        1095, " Time "},
};

struct ButtonRow { const char* name; const char* caption; int top; const char* toolTip; };
const ButtonRow kButtonRows[] = {
    {"exitButton",    "E&xit",      360,  " Exit Program "},
    {"creditsButton", "Credits...", 960,  " View Credits "},
    {"aboutButton",   "About...",   1440, " About Velmora Convert "},
};
// clang-format on

QRect fromTwips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

TEST(Form1Layout, BoxesAndLabelsStandWhereTheTableSays)
{
    Form1 form;
    EXPECT_EQ(form.findChildren<QLineEdit*>().size(), 31);
    for (const BoxRow& row : kBoxRows) {
        SCOPED_TRACE(row.box);
        QLineEdit* b = box(form, row.box);
        auto* label = form.findChild<QLabel*>(QLatin1String(row.label));
        ASSERT_TRUE(b && label) << row.label;
        EXPECT_EQ(b->geometry(), fromTwips(row.left, row.top, 1575, 285));
        EXPECT_EQ(label->geometry(), fromTwips(row.left, row.top - 240, row.labelWidth, 255));
        EXPECT_EQ(label->text(), QLatin1String(row.caption));
        EXPECT_EQ(label->buddy(), b);
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(b->toolTip(), QLatin1String(row.toolTip));
        // The box is drawn over the last row of its label, whose caption fits.
        EXPECT_GT(form.children().indexOf(b), form.children().indexOf(label));
        const QString shown = QString::fromLatin1(row.caption).remove(QLatin1Char('&'));
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(shown), label->width());
    }
}

TEST(Form1Layout, WindowButtonsAndInformationLabel)
{
    Form1 form;
    EXPECT_EQ(form.objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(form.size(), QSize(569, 393));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(QFontInfo(form.font()).family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(form.font().pointSizeF(), 8.25);
    EXPECT_FALSE(form.font().bold());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmora Convert 2.14"));
    EXPECT_FALSE(form.windowIcon().isNull());
    for (const ButtonRow& row : kButtonRows) {
        auto* button = form.findChild<QPushButton*>(QLatin1String(row.name));
        ASSERT_NE(button, nullptr) << row.name;
        EXPECT_EQ(button->geometry(), fromTwips(6840, row.top, 1575, 375)) << row.name;
        EXPECT_EQ(button->text(), QLatin1String(row.caption));
        EXPECT_EQ(button->toolTip(), QLatin1String(row.toolTip));
        EXPECT_FALSE(button->isDefault()) << row.name;
    }
    auto* info = form.findChild<QLabel*>(QStringLiteral("lblInfo"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->geometry(), fromTwips(6840, 2400, 1575, 1695));
    EXPECT_EQ(info->text(),
              QStringLiteral("Right-click a box and select Copy from the context menu to place a value on "
                             "the Windows clipboard. You can then paste it into another application."));
    EXPECT_TRUE(info->wordWrap());
    EXPECT_TRUE(info->toolTip().isEmpty());
    EXPECT_LE(info->heightForWidth(info->width()), info->height());
}

std::vector<std::string> tabWalk(Qt::KeyboardModifiers modifiers, int steps)
{
    std::vector<std::string> visited;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), modifiers ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    return visited;
}

TEST(Form1Layout, TabVisitsBoxesThenButtonsAndWraps)
{
    const auto form = showForm();
    std::vector<std::string> expected;
    for (const BoxRow& row : kBoxRows)
        expected.emplace_back(row.box);
    expected.erase(expected.begin()); // the walk starts on mmBox
    for (const ButtonRow& row : kButtonRows)
        expected.emplace_back(row.name);
    expected.emplace_back("mmBox");
    EXPECT_EQ(tabWalk(Qt::NoModifier, 34), expected);
    box(*form, "mmBox")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tabWalk(Qt::ShiftModifier, 2), (std::vector<std::string>{"aboutButton", "creditsButton"}));
}

} // namespace
} // namespace tolvu::test

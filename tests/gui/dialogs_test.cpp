// The About and Credits dialogs: texts, layout, links and how the main window
// opens them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "about_box.h"
#include "credits_box.h"
#include "gui_test_support.h"
#include "shell.h"

namespace tolvu::test {
namespace {

TEST(VersionTexts, PadMinorToTwoAndRevisionToFourDigits)
{
    const std::tuple<int, int, int, const char*, const char*> cases[] = {
        {2, 14, 2131, "Version 2.14 -- Build No. 2131", "v2.14 (Build 2131)"},
        {2, 5, 7, "Version 2.05 -- Build No. 0007", "v2.05 (Build 0007)"},
        {10, 100, 12345, "Version 10.100 -- Build No. 12345", "v10.100 (Build 12345)"},
    };
    for (const auto& [major, minor, revision, line, subject] : cases) {
        EXPECT_EQ(versionLine(major, minor, revision), QLatin1String(line));
        EXPECT_EQ(mailLink(QStringLiteral("a@b.example"), QStringLiteral("Velmora Convert"), major, minor, revision),
                  QLatin1String("mailto:a@b.example?subject=Velmora Convert ") + QLatin1String(subject));
    }
    // The address goes in first, so a placeholder inside it is filled by the
    // later replacements; the product name goes in before "$maj".
    EXPECT_EQ(mailLink(QStringLiteral("x$b@h.example"), QStringLiteral("P$maj"), 3, 4, 5),
              QStringLiteral("mailto:x0005@h.example?subject=P3 v3.04 (Build 0005)"));
}

TEST(CreditsText, SevenCrLfLinesWithTheEvenOnesEmpty)
{
    const QStringList lines = creditsText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Special thanks to:"));
    EXPECT_TRUE(lines[1].isEmpty() && lines[3].isEmpty() && lines[5].isEmpty());
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("- ")) && lines[2].size() > 37);
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" for providing conversion formulas.")));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("- ")) && lines[4].size() > 68);
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral(" for providing conversion formulas and proof-reading the product.")));
    EXPECT_EQ(lines[6], QStringLiteral("- All the people, who download this product and provide feedback."));
    const QString joined = lines.join(QString());
    EXPECT_FALSE(joined.contains(QLatin1Char('\r')) || joined.contains(QLatin1Char('\n')));
}

// clang-format off
struct Control { const char* name; int left, top, width, height; const char* text; const char* toolTip; };
const Control kAboutControls[] = { // text nullptr: not checked here
    {"picIcon",        120,  120,  480,  480,  nullptr, ""},
    {"lblDescription", 120,  840,  5475, 1410, nullptr, ""},
    {"lblVersion",     840,  120,  4755, 225,  "Version 2.14 -- Build No. 2131", ""},
    {"Label1",         720,  360,  4935, 255,  nullptr, ""},
    {"Label2",         120,  2640, 1575, 255,  "Velmora Web Site:", ""},
    {"Label3",         120,  2880, 1575, 255,  "Velmora Email:", ""},
    {"lblWebSite",     1800, 2640, 1575, 255,  "velmora.example", "Go to Velmora web site."},
    {"lblEmail",       1800, 2880, 1935, 255,  "info@velmora.example", "Send Email to Velmora"},
    {"cmdOK",          4080, 2760, 1575, 375,  "OK", "Closes dialog box."},
};
// clang-format on

QWidget* child(const QWidget& parent, const char* name)
{
    auto* found = parent.findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString textOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (const auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    return {};
}

TEST(AboutBox, ControlsStandAndLookAsTheTableSays)
{
    Form1 owner;
    AboutBox about(&owner);
    EXPECT_EQ(about.objectName(), QStringLiteral("aboutBox"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Velmora Convert"));
    EXPECT_EQ(about.size(), QSize(385, 217));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_EQ(about.parentWidget(), &owner);
    for (const Control& c : kAboutControls) {
        const QWidget* w = child(about, c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15)) << c.name;
        if (c.text) {
            EXPECT_EQ(textOf(w), QLatin1String(c.text)) << c.name;
        }
        EXPECT_EQ(w->toolTip(), QLatin1String(c.toolTip)) << c.name;
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap()) {
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << c.name;
        }
    }
    EXPECT_TRUE(static_cast<QPushButton*>(child(about, "cmdOK"))->isDefault());
    EXPECT_FALSE(static_cast<QLabel*>(child(about, "picIcon"))->pixmap().isNull());
    const auto* description = static_cast<QLabel*>(child(about, "lblDescription"));
    EXPECT_TRUE(description->wordWrap());
    EXPECT_LE(description->heightForWidth(description->width()), description->height());
    EXPECT_EQ(description->palette().color(QPalette::WindowText), QColor(Qt::black));
    const auto* version = static_cast<QLabel*>(child(about, "lblVersion"));
    EXPECT_TRUE(version->font().bold());
    EXPECT_TRUE(version->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(static_cast<QLabel*>(child(about, "Label1"))->alignment() & Qt::AlignHCenter);
    for (const char* name : {"Label2", "Label3"}) {
        const auto* label = static_cast<QLabel*>(child(about, name));
        EXPECT_TRUE(label->font().bold()) << name;
        EXPECT_TRUE(label->alignment() & Qt::AlignRight) << name;
        EXPECT_FALSE(label->testAttribute(Qt::WA_SetCursor)) << name;
    }
    for (const char* name : {"lblWebSite", "lblEmail"}) {
        const QWidget* link = child(about, name);
        EXPECT_TRUE(link->font().bold() && link->font().underline()) << name;
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::Highlight));
        const QCursor cursor = link->cursor(); // the hand
        EXPECT_EQ(cursor.hotSpot(), QPoint(4, 1)) << name;
        EXPECT_TRUE(cursor.bitmap().size() == QSize(32, 32) && cursor.mask().size() == QSize(32, 32)) << name;
    }
}

TEST(AboutBox, EtchedSeparatorIsTwoLinesNamedLine1)
{
    AboutBox about(nullptr);
    const auto lines = about.findChildren<QWidget*>(QStringLiteral("Line1"));
    ASSERT_EQ(lines.size(), 2);
    for (const QWidget* line : lines) {
        const bool dark = line->property("index").toInt() == 1;
        EXPECT_EQ(line->geometry(),
                  dark ? QRect(QPoint(6, 163), QPoint(376, 163)) : QRect(QPoint(7, 164), QPoint(376, 165)));
        EXPECT_EQ(line->palette().color(QPalette::Window), dark ? QColor(0x80, 0x80, 0x80) : QColor(Qt::white));
    }
    EXPECT_NE(lines[0]->property("index"), lines[1]->property("index"));
}

TEST(AboutBox, LinksHandTheExactAddressesToTheDesktop)
{
    std::vector<std::string> addresses;
    const runtime::AddressOpener previous =
        runtime::setAddressOpener([&](const QString& a) { addresses.push_back(a.toStdString()); });
    AboutBox about(nullptr);
    about.show();
    QTest::mouseClick(child(about, "lblEmail"), Qt::LeftButton);
    QTest::mouseClick(child(about, "lblWebSite"), Qt::LeftButton);
    // A press that leaves the label before the release is no click.
    QTest::mousePress(child(about, "lblWebSite"), Qt::LeftButton);
    QTest::mouseRelease(child(about, "lblWebSite"), Qt::LeftButton, Qt::NoModifier, QPoint(-3, -3));
    runtime::setAddressOpener(previous);
    EXPECT_EQ(addresses,
              (std::vector<std::string>{"mailto:info@velmora.example?subject=Velmora Convert v2.14 (Build 2131)",
                                        "http://velmora.example/index.asp?prodid=tolvu"}));
    EXPECT_TRUE(about.isVisible());
}

// What a screen reader is given: the links as links whose press action
// opens what their click opens, the credits as seven lines of text, and the
// main window as a window.
TEST(Accessibility, LinksCreditsAndMainWindow)
{
    std::vector<std::string> addresses;
    const runtime::AddressOpener previous =
        runtime::setAddressOpener([&](const QString& a) { addresses.push_back(a.toStdString()); });
    Form1 owner;
    AboutBox about(&owner);
    for (const char* name : {"lblEmail", "lblWebSite"}) {
        QWidget* label = child(about, name);
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        ASSERT_TRUE(link && link->actionInterface()) << name;
        EXPECT_EQ(link->role(), QAccessible::Link) << name;
        EXPECT_EQ(link->text(QAccessible::Name), textOf(label)) << name;
        EXPECT_EQ(link->actionInterface()->actionNames(), QStringList(QAccessibleActionInterface::pressAction()));
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::mouseClick(label, Qt::LeftButton);
        ASSERT_EQ(addresses.size() % 2, 0u) << name;
        EXPECT_EQ(addresses[addresses.size() - 2], addresses.back()) << name;
    }
    runtime::setAddressOpener(previous);
    EXPECT_EQ(addresses.size(), 4u);
    CreditsBox credits(&owner);
    const QString name = QAccessible::queryAccessibleInterface(credits.findChild<QLabel*>())->text(QAccessible::Name);
    EXPECT_EQ(name.split(QLatin1Char('\n')), creditsText().split(QStringLiteral("\r\n")));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&owner)->role(), QAccessible::Window);
}

TEST(AboutBox, OkEnterAndEscapeCloseIt)
{
    for (const Qt::Key key : {Qt::Key_unknown, Qt::Key_Return, Qt::Key_Escape}) { // unknown: a click on OK
        AboutBox about(nullptr);
        about.show();
        if (key == Qt::Key_unknown)
            QTest::mouseClick(child(about, "cmdOK"), Qt::LeftButton);
        else
            QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

// Modal, owned by the main window, centred on it and loaded afresh on every
// click, gone once closed.
TEST(Dialogs, OpenedFromTheMainWindow)
{
    const auto form = showForm();
    const char* const openings[][3] = {{"aboutButton", "aboutBox", "About Velmora Convert"},
                                       {"creditsButton", "creditsBox", "Credits..."}};
    for (const auto& [button, dialog, title] : openings) {
        std::vector<QPointer<QWidget>> seen;
        for (int click = 0; click < 2; ++click) {
            const auto opened = whenModalOpens([&](QWidget* modal) {
                seen.emplace_back(modal);
                EXPECT_EQ(modal->objectName(), QLatin1String(dialog));
                EXPECT_EQ(modal->windowTitle(), QLatin1String(title));
                EXPECT_EQ(modal->parentWidget(), form.get());
                EXPECT_TRUE(modal->isModal());
                EXPECT_LE((modal->geometry().center() - form->geometry().center()).manhattanLength(), 2);
                EXPECT_FALSE(modal->windowIcon().isNull());
            });
            form->findChild<QPushButton*>(QLatin1String(button))->click(); // returns once the dialog is closed
            EXPECT_TRUE(*opened) << button;
        }
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_TRUE(seen[0].isNull() && seen[1].isNull()) << button;
    }
    EXPECT_TRUE(form->isVisible());
}

TEST(CreditsBox, OneLabelWithTheCreditsShownWithinIt)
{
    Form1 owner;
    CreditsBox credits(&owner);
    EXPECT_EQ(credits.size(), QSize(370, 129));
    EXPECT_EQ(credits.minimumSize(), credits.maximumSize());
    const auto labels = credits.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    const QLabel* label = labels.front();
    EXPECT_EQ(label->objectName(), QStringLiteral("Label1"));
    EXPECT_EQ(label->geometry(), QRect(8, 8, 353, 113));
    EXPECT_EQ(label->text(), creditsText());
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
}

} // namespace
} // namespace tolvu::test

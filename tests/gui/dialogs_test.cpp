// The About and Credits dialogs: their texts, the look and the addresses of
// the links, what a screen reader is given, and how the main window opens
// them.
#include <QAccessible>
#include <QBitmap>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <string>
#include <vector>

#include "about_box.h"
#include "credits_box.h"
#include "gui_test.h"
#include "shell.h"

namespace tolvu::test {
namespace {

// The minor number takes two digits and the revision four, never fewer; the
// address and the product go in first, so placeholders inside them are
// filled by the later replacements.
TEST(Dialogs, VersionLineAndMailSubject)
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
    EXPECT_EQ(mailLink(QStringLiteral("x$b@h.example"), QStringLiteral("P$maj"), 3, 4, 5),
              QStringLiteral("mailto:x0005@h.example?subject=P3 v3.04 (Build 0005)"));
}

TEST(Dialogs, CreditsAreSevenCrLfLinesTheEvenOnesEmpty)
{
    const QStringList lines = creditsText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Special thanks to:"));
    EXPECT_TRUE(lines[1].isEmpty() && lines[3].isEmpty() && lines[5].isEmpty());
    EXPECT_TRUE(lines[2].startsWith(QLatin1String("- ")) &&
                lines[2].endsWith(QLatin1String(" for providing conversion formulas.")));
    EXPECT_TRUE(lines[4].startsWith(QLatin1String("- ")) &&
                lines[4].endsWith(QLatin1String(" for providing conversion formulas and proof-reading the product.")));
    EXPECT_EQ(lines[6], QStringLiteral("- All the people, who download this product and provide feedback."));
    EXPECT_GT(lines[2].size() + lines[4].size(), 105);
}

// The links look like links, with the hand over them, and hand the exact
// addresses to the desktop when clicked or pressed by a screen reader; a
// press that leaves a link before the release opens nothing.
TEST(Dialogs, AboutLinksOpenTheMakersAddresses)
{
    std::vector<std::string> opened;
    const runtime::AddressOpener previous =
        runtime::setAddressOpener([&](const QString& a) { opened.push_back(a.toStdString()); });
    AboutBox about(nullptr);
    about.show();
    for (const char* name : {"lblEmail", "lblWebSite"}) {
        auto* label = about.findChild<QLabel*>(QLatin1String(name));
        EXPECT_TRUE(label->font().bold() && label->font().underline()) << name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::Highlight));
        EXPECT_EQ(label->cursor().hotSpot(), QPoint(4, 1));
        EXPECT_EQ(label->cursor().bitmap().size(), QSize(32, 32));
        QTest::mouseClick(label, Qt::LeftButton);
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name), label->text());
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-3, -3));
    }
    runtime::setAddressOpener(previous);
    const std::string mail = "mailto:info@velmora.example?subject=Velmora Convert v2.14 (Build 2131)";
    const std::string web = "http://velmora.example/index.asp?prodid=tolvu";
    EXPECT_EQ(opened, (std::vector<std::string>{mail, mail, web, web}));
    EXPECT_TRUE(about.isVisible());
}

// The version line bold and centred in the desktop colour, the terms in
// black, the rights notice centred, the link captions bold and right-aligned.
TEST(Dialogs, AboutLook)
{
    AboutBox about(nullptr);
    const auto label = [&](const char* name) { return about.findChild<QLabel*>(QLatin1String(name)); };
    EXPECT_TRUE(label("lblVersion")->font().bold() && label("lblVersion")->alignment() & Qt::AlignHCenter);
    EXPECT_NE(label("lblVersion")->palette().color(QPalette::WindowText),
              QGuiApplication::palette().color(QPalette::WindowText));
    EXPECT_EQ(label("lblDescription")->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(label("Label1")->alignment() & Qt::AlignHCenter);
    for (const char* name : {"Label2", "Label3"})
        EXPECT_TRUE(label(name)->font().bold() && label(name)->alignment() & Qt::AlignRight) << name;
    EXPECT_FALSE(label("picIcon")->pixmap().isNull());
    EXPECT_TRUE(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
    const auto lines = about.findChildren<QWidget*>(QStringLiteral("Line1"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]->geometry(), QRect(QPoint(6, 163), QPoint(376, 163)));
    EXPECT_EQ(lines[1]->geometry(), QRect(QPoint(7, 164), QPoint(376, 165)));
    EXPECT_EQ(lines[0]->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(lines[1]->palette().color(QPalette::Window), QColor(Qt::white));
}

// Modal, owned by the main window, centred on it, loaded afresh on every
// click and gone once closed (About by its OK button, Enter or Esc); a
// screen reader reads the credits as seven lines and the main window as a
// window.
TEST(Dialogs, OpenedFromTheMainWindow)
{
    const auto form = showForm();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.get())->role(), QAccessible::Window);
    const char* const openings[][2] = {{"aboutButton", "aboutBox"}, {"creditsButton", "creditsBox"}};
    for (const auto& [button, dialog] : openings) {
        for (const int how : {0, 1, 2}) {
            QPointer<QWidget> seen;
            const auto opened = whenModalOpens([&](QWidget* modal) {
                seen = modal;
                EXPECT_EQ(modal->objectName(), QLatin1String(dialog));
                EXPECT_TRUE(modal->isModal() && modal->parentWidget() == form.get());
                EXPECT_LE((modal->geometry().center() - form->geometry().center()).manhattanLength(), 2);
                if (dialog[0] == 'c') {
                    auto* credits = modal->findChild<QLabel*>(QStringLiteral("Label1"));
                    EXPECT_EQ(QAccessible::queryAccessibleInterface(credits)->text(QAccessible::Name),
                              creditsText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                    return;
                }
                if (how == 0) modal->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                if (how > 0) QTest::keyClick(modal, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
                EXPECT_FALSE(modal->isVisible());
            });
            form->findChild<QPushButton*>(QLatin1String(button))->click(); // returns once the dialog is closed
            EXPECT_TRUE(*opened && seen.isNull()) << button;
        }
    }
    EXPECT_TRUE(form->isVisible());
}

} // namespace
} // namespace tolvu::test

// The desktop program's windows offscreen: every control where its row in
// controls.tsv puts it, the rule behind every box, the focus highlight,
// what large edits leave for undo, overflow, the dialogs and their links.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "about_box.h"
#include "app_object.h"
#include "credits_box.h"
#include "form1.h"
#include "rule.h"
#include "shell.h"
#include "text_box.h"
#include "tsv.h"
#include "unit_box.h"

namespace tolvu::test {
namespace {

std::unique_ptr<Form1> shownForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

// A shown, active main window, and its boxes by name.
struct Window : ::testing::Test {
    std::unique_ptr<Form1> form = shownForm();
    QLineEdit* box(const char* name) const { return form->findChild<QLineEdit*>(QLatin1String(name)); }
};

bool highlighted(const QLineEdit* b)
{
    return b->font().bold() &&
           b->palette().color(QPalette::Text) == QGuiApplication::palette().color(QPalette::Highlight);
}

// Runs `check` on the next modal window once it shows, then closes it;
// `done` turns true then.
void whenModalOpens(const std::function<void(QWidget*)>& check, bool& done)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check, &done] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            check(modal);
            modal->close();
            done = true;
            poll->deleteLater();
        }
    });
    poll->start(10);
}

// A form's own row gives its client area and title; a caption on one line
// fits its label, a wrapped one the label's height.
TEST_F(Window, EveryControlStandsWhereItsRowSays)
{
    AboutBox about(form.get());
    CreditsBox credits(form.get());
    const std::vector<Row> rows = readTable("gui/controls.tsv");
    ASSERT_EQ(rows.size(), 79u);
    for (const Row& r : rows) {
        QWidget* window = r[0] == "Form1" ? form.get() : r[0] == "aboutBox" ? static_cast<QWidget*>(&about) : &credits;
        QWidget* w = r[1] == r[0] ? window : window->findChild<QWidget*>(QString::fromStdString(r[1]));
        ASSERT_NE(w, nullptr) << r[1];
        const QRect twips(std::stoi(r[2]) / 15, std::stoi(r[3]) / 15, std::stoi(r[4]) / 15, std::stoi(r[5]) / 15);
        const QString text = QString::fromStdString(r[6]);
        if (w == window) {
            EXPECT_TRUE(w->size() == twips.size() && w->minimumSize() == w->maximumSize()) << r[1];
            EXPECT_EQ(w->windowTitle(), text);
            continue;
        }
        EXPECT_EQ(w->geometry(), twips) << r[1];
        EXPECT_EQ(w->toolTip(), QString::fromStdString(r[7])) << r[1];
        EXPECT_TRUE(text == QLatin1String("*") || w->property("text").toString() == text) << r[1];
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(label->wordWrap()
                            ? label->heightForWidth(label->width()) <= label->height()
                            : label->fontMetrics().horizontalAdvance(label->text().remove('&')) <= label->width())
                << r[1];
        }
    }
    EXPECT_EQ(QFontInfo(form->font()).family() + QString::number(form->font().pointSizeF()),
              QStringLiteral("Tahoma8.25"));
}

// Tab walks the boxes and buttons in the order of their rows and round to
// mmBox; Shift+Tab goes back. Alt with a caption's marked letter focuses
// the box under the caption, whose row comes next; S marks two captions.
TEST_F(Window, TabOrderAndAccessKeys)
{
    const std::vector<Row> rows = readTable("gui/controls.tsv");
    std::vector<std::string> order;
    for (const Row& r : rows)
        if (r[0] == "Form1" && (r[1].ends_with("Box") || r[1].ends_with("Button"))) order.push_back(r[1]);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), order[i % order.size()]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("aboutButton"));
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const std::size_t amp = rows[i][6].find('&');
        const int letter = amp == std::string::npos ? 'S' : rows[i][6][amp + 1] & ~0x20;
        if (letter == 'S' || !rows[i + 1][1].ends_with("Box")) continue;
        QTest::keyClick(form.get(), static_cast<Qt::Key>(Qt::Key_A + letter - 'A'), Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), rows[i + 1][1]) << rows[i][6];
    }
}

// A key released in any box rewrites its sisters as the engine computes
// them, each shown from its first digit; the source keeps its text and
// caret. A held key counts as released only once, at the end.
TEST_F(Window, EveryBoxConvertsItsOwnGroup)
{
    for (const BoxInfo& source : allBoxes()) {
        QLineEdit* typed = form->unitBox(source.box);
        typed->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(typed, QStringLiteral("1 09"));
        QTest::keyClick(typed, Qt::Key_Left);
        QTest::keyPress(typed, Qt::Key_0);
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_0, Qt::NoModifier, QStringLiteral("0"), true);
        QApplication::sendEvent(typed, &repeat);
        const Write before = convert(source.box, "1 09").writes().back();
        EXPECT_EQ(form->unitBox(before.target)->text().toStdString(), before.text.view()) << source.name;
        QTest::keyRelease(typed, Qt::Key_0);
        EXPECT_EQ(typed->text() + QString::number(typed->cursorPosition()), QStringLiteral("1 0094"));
        const Recalculation r = convert(source.box, "1 009");
        EXPECT_EQ(r.writes().size() + 1, groupInfo(source.group).members.size());
        for (const Write& w : r.writes()) {
            EXPECT_EQ(form->unitBox(w.target)->text().toStdString(), w.text.view()) << boxInfo(w.target).name;
            EXPECT_EQ(form->unitBox(w.target)->cursorPosition(), 0);
        }
        // A lone full stop reads as 0; Backspace and Delete that empty the box
        // empty the sisters.
        typed->clear();
        const Write zero = convert(source.box, ".").writes().back();
        for (const Qt::Key key : {Qt::Key_Period, Qt::Key_Backspace, Qt::Key_Period, Qt::Key_Home, Qt::Key_Delete}) {
            QTest::keyClick(typed, key);
            EXPECT_EQ(form->unitBox(zero.target)->text().toStdString(),
                      typed->text().isEmpty() ? "" : zero.text.view());
        }
    }
    // Shift+Insert counts only without Ctrl or Alt; it pastes what there is.
    QApplication::clipboard()->clear();
    for (const auto modifiers : {Qt::ControlModifier, Qt::AltModifier, Qt::NoModifier}) {
        box("secBox")->setText(QStringLiteral("60"));
        box("minBox")->clear();
        QTest::keyClick(box("secBox"), Qt::Key_Insert, modifiers | Qt::ShiftModifier);
        EXPECT_EQ(box("minBox")->text(), modifiers ? QString() : QStringLiteral("1")) << modifiers;
    }
    // Where Qt knows no keymap, as offscreen, the key's place on a US
    // keyboard names it: keycode 60 is the full stop.
    box("secBox")->setText(QStringLiteral("120"));
    QKeyEvent fullStopPlace(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, 60, 0, 0);
    QApplication::sendEvent(box("secBox"), &fullStopPlace);
    EXPECT_EQ(box("minBox")->text(), QStringLiteral("2"));
}

// Bold in the highlight colour with the whole text selected from its first
// digit while a box has the focus, plain again once a box or a button takes
// it, with no conversion on the way; the colour follows the desktop's, and
// is lightened on a dark scheme until it reads. Enter in a box does nothing,
// Esc exits.
TEST_F(Window, FocusHighlightFollowsTheFocus)
{
    QLineEdit* mm = box("mmBox");
    QLineEdit* cm = box("cmBox");
    EXPECT_TRUE(mm->hasFocus() && highlighted(mm));
    cm->setText(QStringLiteral("12.5"));
    QTest::keyClick(mm, Qt::Key_Return);
    QTest::keyClick(mm, Qt::Key_Tab);
    EXPECT_TRUE(highlighted(cm) && !mm->font().bold());
    EXPECT_EQ(mm->palette().color(QPalette::Text), QGuiApplication::palette().color(QPalette::Text));
    EXPECT_EQ(cm->selectedText() + QString::number(cm->cursorPosition()), QStringLiteral("12.50"));
    auto* credits = form->findChild<QPushButton*>(QStringLiteral("creditsButton"));
    QTest::mousePress(credits, Qt::LeftButton);
    QTest::mouseRelease(credits, Qt::LeftButton, {}, QPoint(-9, -9)); // released off it: no click
    EXPECT_TRUE(credits->hasFocus() && !cm->font().bold() && form->isVisible());
    EXPECT_EQ(mm->text() + cm->text(), QStringLiteral("12.5"));
    cm->setFocus(Qt::TabFocusReason);
    QPalette scheme;
    scheme.setColor(QPalette::Base, QColor(0x0a, 0x0a, 0x0a));
    scheme.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
    QApplication::setPalette(scheme);
    const QColor shown = cm->palette().color(QPalette::Text);
    EXPECT_EQ(shown.hslHue(), scheme.color(QPalette::Highlight).hslHue());
    EXPECT_GT(shown.lightness(), scheme.color(QPalette::Highlight).lightness() + 20);
    QApplication::setPalette(QPalette());
    QTest::keyClick(cm, Qt::Key_Escape); // the Exit button's key
    EXPECT_FALSE(form->isVisible());
}

// The click that brings the focus selects the whole text, as Tab does; a
// click into the focused box places the caret, a drag selects what it
// passes over.
TEST_F(Window, AFocusingClickSelectsTheWholeText)
{
    QLineEdit* kelvin = box("kelvinBox");
    const QPoint start(3, kelvin->height() / 2);
    const QPoint inText = start + QPoint(kelvin->fontMetrics().horizontalAdvance(QStringLiteral("26")), 0);
    kelvin->setText(QStringLiteral("268.15"));
    QTest::mouseClick(kelvin, Qt::LeftButton, {}, kelvin->rect().center());
    QTest::keyClick(kelvin, Qt::Key_1);
    QTest::mouseClick(kelvin, Qt::LeftButton, {}, start);
    EXPECT_EQ(kelvin->text() + QString::number(kelvin->hasSelectedText()), QStringLiteral("10"));
    kelvin->setText(QStringLiteral("268.15"));
    box("mmBox")->setFocus(Qt::TabFocusReason);
    QTest::mousePress(kelvin, Qt::LeftButton, {}, start);
    QTest::mouseMove(kelvin, inText);
    QTest::mouseRelease(kelvin, Qt::LeftButton, {}, inText);
    EXPECT_EQ(kelvin->selectedText(), QStringLiteral("26"));
}

// Another window or a popup menu taking the focus is no move between the
// boxes: the highlight stays while away, the selection when it is back.
TEST_F(Window, AWindowSwitchKeepsHighlightAndSelection)
{
    QLineEdit* g = box("gBox");
    g->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(g, QStringLiteral("125"));
    g->setSelection(1, 1);
    QWidget other;
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    for (QWidget* away : {&other, static_cast<QWidget*>(&menu)}) {
        away == &menu ? menu.popup(QPoint()) : (other.show(), other.activateWindow());
        EXPECT_TRUE(QTest::qWaitFor([&] { return away->isActiveWindow() || QApplication::activePopupWidget(); }));
        EXPECT_TRUE(highlighted(g));
        away->close();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return g->hasFocus(); }));
        EXPECT_TRUE(highlighted(g) && g->selectedText() == QStringLiteral("2"));
    }
}

// A large paste, cut or removal leaves nothing for undo, which would keep
// every character of it for good; typing and small pastes stay undoable.
TEST_F(Window, LargeEditsAreNotKeptForUndo)
{
    QLineEdit* km = box("kmBox");
    km->setFocus(Qt::TabFocusReason);
    const QString large(runtime::kLargeEdit, '7'), small(runtime::kLargeEdit - 3, '7'), twelve = QStringLiteral("12");
    // clang-format off
    const struct { QString selected, clipboard; Qt::Key key; Qt::KeyboardModifiers modifiers; qsizetype after; bool undoable; } cases[] = {
        {twelve, {}, Qt::Key_3, {}, 1, true}, {twelve, small, Qt::Key_Insert, Qt::ShiftModifier, small.size(), true},
        {twelve, large, Qt::Key_Insert, Qt::ShiftModifier, large.size(), false}, {large, {}, Qt::Key_5, {}, 1, false},
        {large, {}, Qt::Key_X, Qt::ControlModifier, 0, false}, {twelve, {}, Qt::Key_Cut, {}, 0, true},
        {large, {}, Qt::Key_Cut, {}, 0, false}, {twelve, large, Qt::Key_Paste, {}, large.size(), false},
    };
    // clang-format on
    for (const auto& c : cases) {
        km->setText(c.selected);
        km->selectAll();
        QApplication::clipboard()->setText(c.clipboard);
        if (c.key != Qt::Key_Paste && c.key != Qt::Key_Cut) {
            QTest::keyClick(km, c.key, c.modifiers);
        } else { // the context menu's Paste or Cut
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QPoint());
            QApplication::sendEvent(km, &event);
            ASSERT_NE(QApplication::activePopupWidget(), nullptr);
            for (QAction* action : QApplication::activePopupWidget()->actions())
                if (action->text().startsWith(c.key == Qt::Key_Cut ? "Cu&t" : "&Paste")) action->trigger();
            QApplication::activePopupWidget()->close();
        }
        EXPECT_EQ(km->text().size(), c.after) << c.key;
        EXPECT_EQ(km->isUndoAvailable(), c.undoable) << c.key;
        EXPECT_TRUE((c.key != Qt::Key_X && c.key != Qt::Key_Cut) || QApplication::clipboard()->text() == c.selected);
    }
    QTest::keyClick(km, Qt::Key_9);
    QTest::keyClick(km, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(km->text(), large);
}

// Whether `b` draws anything just right of its text area, as it does with a
// text too wide for it; its text is set anew, so its selection is gone.
bool drawsPastItsTextArea(runtime::UnitBox* b)
{
    const QRect past(b->textArea().right() + 1, 0, 2, b->height());
    const QImage drawn = b->grab(past).toImage();
    const QString text = b->text();
    b->clear();
    const bool differs = b->grab(past).toImage() != drawn;
    b->setText(text);
    return differs;
}

// Without the focus, a text too wide for its box, in boxes of every width
// and in another font too, shows whole, drawn pixel for pixel as the line
// edit draws that shorter text: a number rounded, never to more digits in a
// narrower box and reading back as the value to the digits shown; other
// text cut with an ellipsis. With the focus, and for copying and the screen
// reader, the exact text.
TEST_F(Window, ATextTooWideForItsBoxShowsWhole)
{
    auto* days = static_cast<runtime::UnitBox*>(box("dayBox"));
    for (const QFont& font : {days->font(), QFont(QStringLiteral("Serif"), 12)}) {
        days->setFont(font);
        for (const QString value : {"8.10185185185185E-05", "-1.30029320644098E-12", "1.23456789012346E+28",
                                    "0.00194444444444444", "0.00000000000000005123", "-123456789012345678901234567890",
                                    "9.99999999999999E+99", "1.5 miles and a bit more"}) {
            bool number = false;
            const double exact = value.toDouble(&number);
            qsizetype digitsBefore = 99;
            for (int width = 300; width >= 70; width -= 2) {
                days->setText(value);
                days->resize(width, days->height());
                const QString shown = days->shownText();
                const QImage drawn = days->grab().toImage();
                days->setText(shown); // as the line edit itself draws it where it fits
                EXPECT_TRUE(days->grab().toImage() == drawn && (width < 300 || shown == value))
                    << shown.toStdString() << width;
                const qsizetype count = shown.section('E', 0, 0).remove(QRegularExpression("^[-0.]+|\\.")).size();
                const double read = shown.toDouble();
                const double unit = std::pow(10.0, std::floor(std::log10(std::abs(read))) - double(count) + 1);
                EXPECT_TRUE(number
                                ? std::abs(read - exact) <= unit / 2 + 2 * DBL_EPSILON * std::abs(exact) &&
                                      count <= digitsBefore
                                : shown == value || (value.startsWith(shown.chopped(1)) && shown.endsWith(u'\u2026')))
                    << shown.toStdString() << " in " << width;
                digitsBefore = count;
            }
            days->setText(value);
            days->setFocus(Qt::TabFocusReason);
            QTest::keyClick(days, Qt::Key_C, Qt::ControlModifier);
            EXPECT_TRUE(QApplication::clipboard()->text() == value &&
                        QAccessible::queryAccessibleInterface(days)->text(QAccessible::Value) == value);
            EXPECT_TRUE(drawsPastItsTextArea(days)) << value.toStdString();
            box("mmBox")->setFocus(Qt::TabFocusReason);
        }
    }
}

// The report comes after the writes before the failing box and says what
// changed; the window goes on converting.
TEST_F(Window, OverflowIsReportedAfterTheEarlierWrites)
{
    const char* const cases[][5] = {
        {"celciusBox", "kelvinBox", "fahrBox", "1E+3081.8E+30", "keep their previous values"},
        {"kmBox", "cmBox", "inchBox", "1E+353.93701E+34", "No other box was changed"}};
    for (const auto& [source, first, second, shown, said] : cases) {
        box(source)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box(source), QStringLiteral("1e30"));
        QString message;
        bool reported = false;
        whenModalOpens([&](QWidget* modal) { message = static_cast<QMessageBox*>(modal)->text(); }, reported);
        QTest::keyClick(box(source), Qt::Key_8);
        EXPECT_TRUE(QTest::qWaitFor([&] { return reported; }) && message.contains(QLatin1String(said))) << source;
        EXPECT_EQ(box(first)->text() + box(second)->text(), QLatin1String(shown)) << source;
    }
}

// The minor number takes two digits and the revision four, never fewer; the
// address and the product go in first, so placeholders inside them are
// filled by the later replacements. The credits are seven lines joined by CR
// LF, the even ones empty, no break at the end, shown from the top left.
TEST(Dialogs, VersionLineMailSubjectAndCredits)
{
    for (const Row& v : readTable("gui/versions.tsv")) {
        const int major = std::stoi(v[0]), minor = std::stoi(v[1]), revision = std::stoi(v[2]);
        EXPECT_EQ(versionLine(major, minor, revision).toStdString(), v[3]);
        EXPECT_EQ(mailLink(v[4].c_str(), v[5].c_str(), major, minor, revision).toStdString(), v[6]);
    }
    EXPECT_EQ(creditsText(), "Special thanks to:\r\n\r\n- Mara Lindqvist for providing conversion formulas.\r\n\r\n- "
                             "Tomas Brenner for providing conversion formulas and proof-reading the product.\r\n\r\n- "
                             "All the people, who download this product and provide feedback.");
    EXPECT_EQ(CreditsBox(nullptr).findChild<QLabel*>("Label1")->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

// The links look like links, with the hand over them, and hand the exact
// addresses to the desktop when clicked or pressed by a screen reader; a
// press that leaves a link before the release opens nothing.
TEST(Dialogs, AboutLinksOpenTheMakersAddresses)
{
    std::vector<QString> opened;
    const runtime::AddressOpener previous = runtime::setAddressOpener([&](const QString& a) { opened.push_back(a); });
    AboutBox about(nullptr);
    about.show();
    for (const char* name : {"lblEmail", "lblWebSite"}) {
        auto* label = about.findChild<QLabel*>(QLatin1String(name));
        EXPECT_TRUE(label->font().bold() && label->font().underline()) << name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::Highlight));
        // The hand's tip, where a click goes, is white inside its black outline.
        const QCursor hand = label->cursor();
        EXPECT_TRUE(hand.hotSpot() == QPoint(4, 1) && hand.bitmap().size() == QSize(32, 32) &&
                    hand.mask().toImage().pixelIndex(4, 1) == 1 && hand.bitmap().toImage().pixelIndex(4, 1) == 0);
        QTest::mouseClick(label, Qt::LeftButton);
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        EXPECT_TRUE(link->role() == QAccessible::Link && link->text(QAccessible::Name) == label->text()) << name;
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-3, -3));
    }
    runtime::setAddressOpener(previous);
    // The terms in black, the version line in the desktop's colour, the icon.
    const auto colour = [&](const char* name) {
        return about.findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
    };
    EXPECT_TRUE(colour("lblDescription") == Qt::black && colour("lblVersion") != colour("Label1"));
    EXPECT_FALSE(about.findChild<QLabel*>("picIcon")->pixmap().isNull());
    const QString mail = "mailto:info@velmora.example?subject=Velmora Convert v2.14 (Build 2131)";
    const QString web = "http://velmora.example/index.asp?prodid=tolvu";
    EXPECT_EQ(opened, (std::vector<QString>{mail, mail, web, web}));
}

// Loaded afresh on every opening (Credits by Enter on its button) and gone
// once closed, About by OK, Enter or Esc; a screen reader reads the credits
// as seven lines and the main window as a window.
TEST(Dialogs, OpenedFromTheMainWindow)
{
    const auto form = shownForm();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.get())->role(), QAccessible::Window);
    for (const Qt::Key key : {Qt::Key_unknown, Qt::Key_Return, Qt::Key_Escape, Qt::Key_C}) { // C: Credits
        QPointer<QWidget> seen;
        bool done = false;
        whenModalOpens(
            [&](QWidget* modal) {
                seen = modal;
                if (key == Qt::Key_C)
                    EXPECT_EQ(
                        QAccessible::queryAccessibleInterface(modal->findChild<QLabel*>())->text(QAccessible::Name),
                        creditsText().replace("\r\n", "\n"));
                else
                    key == Qt::Key_unknown ? modal->findChild<QPushButton*>("cmdOK")->click()
                                           : QTest::keyClick(modal, key);
                EXPECT_TRUE(key == Qt::Key_C || !modal->isVisible()) << key;
            },
            done);
        auto* opener = form->findChild<QPushButton*>(key == Qt::Key_C ? "creditsButton" : "aboutButton");
        key == Qt::Key_C ? QTest::keyClick(opener, Qt::Key_Return) : opener->click(); // until closed
        EXPECT_TRUE(done && seen.isNull()) << key;
    }
}

} // namespace
} // namespace tolvu::test

int main(int argc, char** argv)
{
    // One application for every test, without a display unless one is named;
    // closing a window must not end it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tolvu::runtime::initialise(app);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

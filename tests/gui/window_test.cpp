// The windows offscreen: every control where its row in controls.tsv puts
// it, the rule behind every box, the focus highlight, what large edits
// leave for undo, overflow and closing.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <string>
#include <vector>

#include "about_box.h"
#include "credits_box.h"
#include "gui_test.h"
#include "rule.h"
#include "text_box.h"
#include "tsv.h"

namespace tolvu::test {
namespace {

std::vector<Row> controls()
{
    return readTable(TOLVU_GUI_TEST_DATA "/controls.tsv");
}

QRect fromTwips(const Row& r)
{
    return {std::stoi(r[2]) / 15, std::stoi(r[3]) / 15, std::stoi(r[4]) / 15, std::stoi(r[5]) / 15};
}

// A form's own row gives its client area and title; a caption on one line
// fits its label, a wrapped one the label's height.
TEST(Window, EveryControlStandsWhereItsRowSays)
{
    Form1 form;
    AboutBox about(&form);
    CreditsBox credits(&form);
    ASSERT_EQ(controls().size(), 79u);
    for (const Row& r : controls()) {
        QWidget* window = r[0] == "Form1" ? &form : r[0] == "aboutBox" ? static_cast<QWidget*>(&about) : &credits;
        QWidget* w = r[1] == r[0] ? window : window->findChild<QWidget*>(QString::fromStdString(r[1]));
        ASSERT_NE(w, nullptr) << r[1];
        const QString text = QString::fromStdString(r[6]);
        if (w == window) {
            EXPECT_EQ(w->size(), fromTwips(r).size()) << r[1];
            EXPECT_EQ(w->minimumSize(), w->maximumSize()) << r[1];
            EXPECT_EQ(w->windowTitle(), text);
            continue;
        }
        EXPECT_EQ(w->geometry(), fromTwips(r)) << r[1];
        EXPECT_EQ(w->toolTip(), QString::fromStdString(field(r, 7))) << r[1];
        if (text != QLatin1String("*")) {
            EXPECT_EQ(w->property("text").toString(), text) << r[1];
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->fontMetrics().horizontalAdvance(label->text().remove('&'));
            EXPECT_LE(needed, label->wordWrap() ? label->height() : label->width()) << r[1];
        }
    }
    EXPECT_EQ(QFontInfo(form.font()).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(form.font().pointSizeF(), 8.25);
}

// Tab walks the boxes and buttons in the order of their rows and round to
// mmBox; Shift+Tab goes back. Alt with a caption's marked letter focuses
// the box under the caption.
TEST(Window, TabOrderAndAccessKeys)
{
    const auto form = showForm();
    const std::vector<Row> rows = controls();
    std::vector<std::string> order;
    for (const Row& r : rows)
        if (r[0] == "Form1" && (r[1].ends_with("Box") || r[1].ends_with("Button"))) order.push_back(r[1]);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), order[i % order.size()]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("aboutButton"));
    // A caption's row comes right before its box's; S marks two captions.
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const std::size_t amp = rows[i][6].find('&');
        if (amp == std::string::npos || !rows[i + 1][1].ends_with("Box") || (rows[i][6][amp + 1] & ~0x20) == 'S')
            continue;
        QTest::keyClick(form.get(), static_cast<Qt::Key>(Qt::Key_A + (rows[i][6][amp + 1] & ~0x20) - 'A'),
                        Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), rows[i + 1][1]) << rows[i][6];
    }
}

// A key released in any box rewrites its sisters as the engine computes
// them, each shown from its first digit; the source keeps its text and
// caret.
TEST(Window, EveryBoxConvertsItsOwnGroup)
{
    const auto form = showForm();
    for (const BoxInfo& source : allBoxes()) {
        QLineEdit* typed = form->unitBox(source.box);
        typed->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(typed, QStringLiteral("1 07"));
        QTest::keyClick(typed, Qt::Key_Left);
        QTest::keyClick(typed, Qt::Key_0);
        EXPECT_EQ(typed->text() + QString::number(typed->cursorPosition()), QStringLiteral("1 0074"));
        const Recalculation r = convert(source.box, "1 007");
        EXPECT_EQ(r.writes().size() + 1, groupInfo(source.group).members.size());
        for (const Write& w : r.writes()) {
            EXPECT_EQ(form->unitBox(w.target)->text().toStdString(), w.text.view()) << boxInfo(w.target).name;
            EXPECT_EQ(form->unitBox(w.target)->cursorPosition(), 0);
        }
        typed->clear();
    }
}

// A held key types on, but counts as released only once, at the end.
TEST(Window, AHeldKeyRecalculatesOnceReleased)
{
    const auto form = showForm();
    QLineEdit* sec = box(*form, "secBox");
    sec->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i) {
        QTest::keyPress(sec, Qt::Key_6);
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"), true);
        QApplication::sendEvent(sec, &repeat);
    }
    EXPECT_EQ(box(*form, "minBox")->text(), QString());
    QTest::keyRelease(sec, Qt::Key_6);
    EXPECT_EQ(box(*form, "minBox")->text(), QStringLiteral("11.1"));
}

// Bold in the highlight colour with the whole text selected from its first
// digit while a box has the focus, plain again once a box or a button
// takes it; following the desktop's colours; no conversion on the way.
TEST(Window, FocusHighlightFollowsTheFocus)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    QLineEdit* cm = box(*form, "cmBox");
    EXPECT_TRUE(mm->hasFocus() && highlighted(mm));
    cm->setText(QStringLiteral("12.5"));
    QTest::keyClick(mm, Qt::Key_Tab);
    EXPECT_TRUE(highlighted(cm) && !mm->font().bold());
    EXPECT_EQ(mm->palette().color(QPalette::Text), QGuiApplication::palette().color(QPalette::Text));
    EXPECT_EQ(cm->selectedText(), QStringLiteral("12.5"));
    EXPECT_EQ(cm->cursorPosition(), 0);
    auto* credits = form->findChild<QPushButton*>(QStringLiteral("creditsButton"));
    QTest::mousePress(credits, Qt::LeftButton);
    QTest::mouseRelease(credits, Qt::LeftButton, {}, QPoint(-9, -9)); // released off it: no click
    EXPECT_TRUE(credits->hasFocus() && !cm->font().bold());
    EXPECT_EQ(mm->text() + cm->text(), QStringLiteral("12.5"));
    QPalette red = QGuiApplication::palette();
    red.setColor(QPalette::Highlight, Qt::red);
    cm->setFocus(Qt::TabFocusReason);
    QApplication::setPalette(red);
    EXPECT_EQ(cm->palette().color(QPalette::Text), QColor(Qt::red));
    // A dark scheme's highlight on its dark boxes is lightened until it reads.
    QPalette dark = red;
    dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    dark.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
    QApplication::setPalette(dark);
    const QColor shown = cm->palette().color(QPalette::Text);
    EXPECT_EQ(shown.hslHue(), dark.color(QPalette::Highlight).hslHue());
    EXPECT_GT(shown.lightness(), dark.color(QPalette::Highlight).lightness() + 30);
    QApplication::setPalette(QPalette());
}

// The click that brings the focus selects the whole text, as Tab does; a
// click into the focused box places the caret, a drag selects what it
// passes over.
TEST(Window, AFocusingClickSelectsTheWholeText)
{
    const auto form = showForm();
    QLineEdit* kelvin = box(*form, "kelvinBox");
    const QPoint start(3, kelvin->height() / 2);
    const QPoint inText = start + QPoint(kelvin->fontMetrics().horizontalAdvance(QStringLiteral("26")), 0);
    kelvin->setText(QStringLiteral("268.15"));
    QTest::mouseClick(kelvin, Qt::LeftButton, {}, kelvin->rect().center());
    QTest::keyClick(kelvin, Qt::Key_1);
    EXPECT_EQ(kelvin->text(), QStringLiteral("1"));
    QTest::mouseClick(kelvin, Qt::LeftButton, {}, start);
    EXPECT_FALSE(kelvin->hasSelectedText());
    kelvin->setText(QStringLiteral("268.15"));
    box(*form, "mmBox")->setFocus(Qt::TabFocusReason);
    QTest::mousePress(kelvin, Qt::LeftButton, {}, start);
    QTest::mouseMove(kelvin, inText);
    QTest::mouseRelease(kelvin, Qt::LeftButton, {}, inText);
    EXPECT_EQ(kelvin->selectedText(), QStringLiteral("26"));
}

// Another window or a popup menu taking the focus is no move between the
// boxes: the highlight stays while away, the selection when it is back.
TEST(Window, AWindowSwitchKeepsHighlightAndSelection)
{
    const auto form = showForm();
    QLineEdit* g = box(*form, "gBox");
    g->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(g, QStringLiteral("125"));
    g->setSelection(1, 1);
    QWidget other;
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    for (QWidget* away : {&other, static_cast<QWidget*>(&menu)}) {
        away == &menu ? menu.popup(g->mapToGlobal(QPoint())) : (other.show(), other.activateWindow());
        EXPECT_TRUE(QTest::qWaitFor([&] { return away->isActiveWindow() || QApplication::activePopupWidget(); }));
        EXPECT_TRUE(highlighted(g));
        away->close();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return g->hasFocus(); }));
        EXPECT_TRUE(highlighted(g));
        EXPECT_EQ(g->selectedText(), QStringLiteral("2"));
    }
}

// A large paste, cut or removal leaves nothing for undo, which would keep
// every character of it for good; typing and small pastes stay undoable.
TEST(Window, LargeEditsAreNotKeptForUndo)
{
    const auto form = showForm();
    QLineEdit* km = box(*form, "kmBox");
    km->setFocus(Qt::TabFocusReason);
    const QString large(runtime::kLargeEdit, QLatin1Char('7'));
    const QString small(runtime::kLargeEdit - 3, QLatin1Char('7')); // over "12"
    struct Case {
        QString before; // selected whole
        QString clipboard;
        Qt::Key key; // Menu: the context menu's Paste
        Qt::KeyboardModifiers modifiers;
        bool undoable;
    };
    const Case cases[] = {
        {QStringLiteral("12"), {}, Qt::Key_3, {}, true},
        {QStringLiteral("12"), small, Qt::Key_Insert, Qt::ShiftModifier, true},
        {QStringLiteral("12"), large, Qt::Key_Insert, Qt::ShiftModifier, false},
        {large, {}, Qt::Key_5, {}, false},
        {large, {}, Qt::Key_X, Qt::ControlModifier, false},
        {QStringLiteral("12"), large, Qt::Key_Menu, {}, false},
    };
    for (const Case& c : cases) {
        km->setText(c.before);
        km->selectAll();
        QApplication::clipboard()->setText(c.clipboard);
        if (c.key != Qt::Key_Menu) {
            QTest::keyClick(km, c.key, c.modifiers);
        } else {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), km->mapToGlobal(QPoint()));
            QApplication::sendEvent(km, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QLatin1String("&Paste"))) action->trigger();
            menu->close();
        }
        EXPECT_EQ(km->text().size(), c.clipboard.isEmpty() ? (c.key == Qt::Key_X ? 0 : 1) : c.clipboard.size());
        EXPECT_EQ(km->isUndoAvailable(), c.undoable) << c.before.size() << " " << c.key;
    }
    QTest::keyClick(km, Qt::Key_9);
    QTest::keyClick(km, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(km->text(), large);
}

// The report comes after the writes before the failing box and says what
// changed; the window goes on converting.
TEST(Window, OverflowIsReportedAfterTheEarlierWrites)
{
    const auto form = showForm();
    const char* const cases[][4] = {{"celciusBox", "1e30", "1E+3081.8E+30", "keep their previous values"},
                                    {"kmBox", "1e30", "1E+353.93701E+34", "No other box was changed"}};
    for (const auto& [name, typed, shown, said] : cases) {
        QLineEdit* source = box(*form, name);
        source->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(source, QLatin1String(typed));
        QString message;
        const auto opened = whenModalOpens([&](QWidget* modal) { message = static_cast<QMessageBox*>(modal)->text(); });
        QTest::keyClick(source, Qt::Key_8);
        EXPECT_TRUE(QTest::qWaitFor([&] { return *opened; }));
        EXPECT_TRUE(message.contains(QLatin1String(said))) << message.toStdString();
        const QString firstTwo = name[0] == 'c' ? QStringLiteral("kelvinBox,fahrBox") : QStringLiteral("cmBox,inchBox");
        QString texts;
        for (const QString& b : firstTwo.split(QLatin1Char(',')))
            texts += box(*form, b.toLatin1())->text();
        EXPECT_EQ(texts, QLatin1String(shown)) << name;
    }
}

// Enter in a box does nothing; Esc, the Exit button and the frame's close
// button end the program with status 0.
TEST(Window, ClosingEndsTheProgram)
{
    for (const int how : {0, 1, 2}) {
        const auto form = showForm();
        QTest::keyClick(box(*form, "mmBox"), Qt::Key_Return);
        ASSERT_TRUE(form->isVisible());
        QApplication::setQuitOnLastWindowClosed(true);
        QTimer::singleShot(0, form.get(), [&] {
            if (how == 0) QTest::keyClick(box(*form, "mmBox"), Qt::Key_Escape);
            if (how == 1) form->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
            if (how == 2) form->close();
        });
        QTimer::singleShot(3000, form.get(), [] { QApplication::exit(99); }); // had it stayed open
        EXPECT_EQ(QApplication::exec(), 0) << how;
        QApplication::setQuitOnLastWindowClosed(false);
    }
}

} // namespace
} // namespace tolvu::test

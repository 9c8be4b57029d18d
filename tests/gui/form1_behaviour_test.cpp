#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "gui_test_support.h"
#include "rule.h"
#include "text_box.h"

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

const Key kBackspace{Qt::Key_Backspace, Qt::NoModifier, scan::Backspace, QString()};

using Texts = std::vector<std::pair<std::string, std::string>>;

// Records which boxes change, in order, and their new texts; the box the
// user types into is left out.
class WriteLog {
public:
    explicit WriteLog(const Form1& form, const QLineEdit* typedInto = nullptr)
    {
        for (QLineEdit* b : form.findChildren<QLineEdit*>()) {
            if (b == typedInto) continue;
            connections_.push_back(QObject::connect(b, &QLineEdit::textChanged, [this, b](const QString& text) {
                writes.emplace_back(b->objectName().toStdString(), text.toStdString());
            }));
        }
    }
    ~WriteLog()
    {
        for (const QMetaObject::Connection& c : connections_)
            QObject::disconnect(c);
    }
    Texts writes;

private:
    std::vector<QMetaObject::Connection> connections_;
};

TEST(Form1Behaviour, StartsEmptyWithTheFocusAndHighlightOnMillimeters)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    EXPECT_EQ(QApplication::focusWidget(), mm);
    for (QLineEdit* b : form->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(b->text().isEmpty()) << b->objectName().toStdString();
        EXPECT_TRUE(b == mm ? highlighted(b) : plain(b)) << b->objectName().toStdString();
    }
}

// Every box runs the rule for itself: the last key's writes reach exactly
// its sisters, in write order (marked first, so that writes show even where
// a text would not change), and the source keeps its text as typed. Boxes of
// other groups never change; Backspace in the emptied box empties the sisters.
TEST(Form1Behaviour, TypingInEveryBoxWritesItsSistersInOrder)
{
    const auto form = showForm();
    for (const BoxInfo& info : allBoxes()) {
        QLineEdit* source = form->unitBox(info.box);
        source->setFocus(Qt::TabFocusReason);
        typeText(source, QStringLiteral("1 00"));
        Texts expected;
        const Recalculation r = convert(info.box, "1 007");
        for (const Write& w : r.writes()) {
            form->unitBox(w.target)->setText(QStringLiteral("marked"));
            expected.emplace_back(boxInfo(w.target).name, w.text.view());
        }
        WriteLog log(*form, source);
        typeText(source, QStringLiteral("7"));
        EXPECT_EQ(log.writes, expected) << info.name;
        EXPECT_EQ(source->text(), QStringLiteral("1 007"));
        source->clear();
        WriteLog emptied(*form, source);
        strokeKey(source, kBackspace);
        for (auto& [name, text] : expected)
            text.clear();
        EXPECT_EQ(emptied.writes, expected) << info.name;
    }
}

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

TEST(Form1Behaviour, FocusHighlightFollowsTheFocusAndSelectsTheWholeText)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    QLineEdit* cm = box(*form, "cmBox");
    cm->setText(QStringLiteral("12.5"));
    mm->setText(QStringLiteral("3"));
    WriteLog log(*form);
    QTest::keyClick(mm, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cm);
    EXPECT_TRUE(highlighted(cm));
    EXPECT_TRUE(plain(mm));
    EXPECT_EQ(cm->selectedText(), QStringLiteral("12.5"));
    // Clicking a button takes the highlight away as well.
    auto* credits = form->findChild<QPushButton*>(QStringLiteral("creditsButton"));
    QTest::mousePress(credits, Qt::LeftButton);
    QTest::mouseRelease(credits, Qt::LeftButton, Qt::NoModifier, QPoint(-10, -10)); // released off it: no click
    EXPECT_EQ(QApplication::focusWidget(), credits);
    EXPECT_TRUE(plain(cm));
    EXPECT_TRUE(log.writes.empty()) << "a focus change must not convert";
    // The highlight follows the desktop's colour scheme.
    const QPalette original = QGuiApplication::palette();
    QPalette red = original;
    red.setColor(QPalette::Highlight, Qt::red);
    red.setColor(QPalette::Text, Qt::darkGreen);
    mm->setFocus(Qt::OtherFocusReason); // a focus change that selects nothing itself
    EXPECT_EQ(mm->selectedText(), QStringLiteral("3"));
    QApplication::setPalette(red);
    EXPECT_EQ(textColor(mm), QColor(Qt::red));
    EXPECT_EQ(textColor(cm), QColor(Qt::darkGreen));
    QApplication::setPalette(original);
    EXPECT_TRUE(highlighted(mm));
}

// A value wider than its box shows from its first digit, whether the rule
// wrote it or the focus selected it; the source keeps its caret.
TEST(Form1Behaviour, LongValuesShowTheirFirstDigits)
{
    const auto form = showForm();
    QLineEdit* sec = box(*form, "secBox");
    sec->setFocus(Qt::TabFocusReason);
    typeText(sec, QStringLiteral("1"));
    EXPECT_EQ(sec->cursorPosition(), 1);
    // Painting scrolls the box to its cursor; the first character shown is
    // the one at the left edge.
    const auto firstShown = [](QLineEdit* b) {
        b->grab();
        return b->cursorPositionAt(QPoint(0, b->height() / 2));
    };
    for (const char* name : {"hourBox", "dayBox"}) {
        QLineEdit* written = box(*form, name);
        ASSERT_GT(QFontMetrics(written->font()).horizontalAdvance(written->text()), written->width()) << name;
        EXPECT_EQ(firstShown(written), 0) << name;
        written->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(written->selectedText(), written->text()) << name;
        EXPECT_EQ(firstShown(written), 0) << name;
    }
}

// The click that brings the focus into a box selects its whole text, as
// Tab does; a click into the focused box places the caret, and a drag
// selects what it passes over.
TEST(Form1Behaviour, ClickThatFocusesABoxSelectsItsWholeText)
{
    const auto form = showForm();
    QLineEdit* kelvin = box(*form, "kelvinBox");
    const QPoint start(3, kelvin->height() / 2);
    const QPoint middle = kelvin->rect().center();
    kelvin->setText(QStringLiteral("268.15"));
    const QPoint inText(start.x() + QFontMetrics(kelvin->font()).horizontalAdvance(QStringLiteral("26")), start.y());
    QTest::mouseClick(kelvin, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_EQ(QApplication::focusWidget(), kelvin);
    EXPECT_EQ(kelvin->selectedText(), QStringLiteral("268.15"));
    typeText(kelvin, QStringLiteral("1"));
    EXPECT_EQ(kelvin->text(), QStringLiteral("1"));

    QTest::mouseClick(kelvin, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_FALSE(kelvin->hasSelectedText());
    EXPECT_EQ(kelvin->cursorPosition(), 0);

    kelvin->setText(QStringLiteral("268.15"));
    box(*form, "mmBox")->setFocus(Qt::TabFocusReason);
    QTest::mousePress(kelvin, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(kelvin, inText);
    QTest::mouseRelease(kelvin, Qt::LeftButton, Qt::NoModifier, inText);
    EXPECT_TRUE(kelvin->hasSelectedText());
    EXPECT_NE(kelvin->selectedText(), QStringLiteral("268.15"));
}

// Another window or a popup menu taking the focus is no move between the
// boxes: the box keeps its highlight while away and its caret and selection
// when the focus comes back.
TEST(Form1Behaviour, WindowSwitchKeepsTheHighlightAndSelection)
{
    const auto form = showForm();
    QLineEdit* g = box(*form, "gBox");
    g->setFocus(Qt::TabFocusReason);
    typeText(g, QStringLiteral("125"));
    g->setSelection(1, 1);
    QWidget other;
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    for (QWidget* away : {&other, static_cast<QWidget*>(&menu)}) {
        if (away == &menu) {
            menu.popup(g->mapToGlobal(QPoint()));
        } else {
            other.show();
            other.activateWindow();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return away->isActiveWindow() || QApplication::activePopupWidget(); }));
        EXPECT_TRUE(highlighted(g));
        away->close();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == g; }));
        EXPECT_TRUE(highlighted(g));
        EXPECT_EQ(g->selectedText(), QStringLiteral("2"));
    }
}

// A large paste, cut or removal replaces the text without a trace in the
// undo history, which would otherwise keep every one of its characters for
// good; typing and small pastes stay undoable.
TEST(Form1Behaviour, LargeEditsAreNotKeptForUndo)
{
    const auto form = showForm();
    QLineEdit* km = box(*form, "kmBox");
    km->setFocus(Qt::TabFocusReason);
    const QString large(runtime::kLargeEdit, QLatin1Char('7'));
    const QString small(runtime::kLargeEdit - 3, QLatin1Char('7')); // over "12"
    struct Case {
        QString before; // selected whole
        QString clipboard;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString after;
        bool undoable;
    };
    const Case cases[] = {
        {QStringLiteral("12"), {}, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"), true},
        {QStringLiteral("12"), small, Qt::Key_Insert, Qt::ShiftModifier, small, true},
        {QStringLiteral("12"), large, Qt::Key_Insert, Qt::ShiftModifier, large, false},
        {large, {}, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), false},
        {large, {}, Qt::Key_X, Qt::ControlModifier, QString(), false},
        {QStringLiteral("12"), large, Qt::Key_Menu, Qt::NoModifier, large, false}, // the context menu's Paste
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
        EXPECT_EQ(km->text(), c.after) << c.before.size() << " " << c.key;
        EXPECT_EQ(km->isUndoAvailable(), c.undoable) << c.before.size() << " " << c.key;
        if (c.key == Qt::Key_X) {
            EXPECT_EQ(QApplication::clipboard()->text(), large);
        }
    }
    QTest::keyClick(km, Qt::Key_9);
    QTest::keyClick(km, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(km->text(), large);
}

// The report comes after the writes before the failing box; the window
// goes on converting.
TEST(Form1Behaviour, OverflowIsReportedAfterTheEarlierWrites)
{
    const auto form = showForm();
    QLineEdit* celsius = box(*form, "celciusBox");
    celsius->setFocus(Qt::TabFocusReason);
    typeText(celsius, QStringLiteral("1e30"));
    QString message;
    const auto shown = whenModalOpens([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
    });
    typeText(celsius, QStringLiteral("8"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return *shown; }, 3000));
    EXPECT_TRUE(message.contains(QStringLiteral("Overflow"))) << message.toStdString();
    EXPECT_EQ(box(*form, "kelvinBox")->text(), QStringLiteral("1E+308"));
    EXPECT_EQ(box(*form, "fahrBox")->text(), QStringLiteral("1.8E+30"));
    strokeKey(celsius, kBackspace);
    EXPECT_EQ(box(*form, "kelvinBox")->text(), QStringLiteral("1E+30"));
}

TEST(Form1Behaviour, EnterKeepsTheProgramRunningAndEscapeExits)
{
    const auto form = showForm();
    QTest::keyClick(box(*form, "mmBox"), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(box(*form, "mmBox"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

// By the Exit button or the frame's close button, with status zero.
TEST(Form1Behaviour, ClosingEndsTheProgram)
{
    for (const bool byExitButton : {true, false}) {
        const auto form = showForm();
        QApplication::setQuitOnLastWindowClosed(true);
        QTimer::singleShot(0, form.get(), [&] {
            if (byExitButton)
                form->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
            else
                form->close();
        });
        // Should the window fail to close, the loop ends with a status that fails the test.
        QTimer::singleShot(3000, form.get(), [] { QApplication::exit(99); });
        const int status = QApplication::exec();
        QApplication::setQuitOnLastWindowClosed(false);
        EXPECT_EQ(status, 0) << byExitButton;
        EXPECT_FALSE(form->isVisible());
    }
}

} // namespace
} // namespace tolvu::test

// The main window against whatever a user can throw at it: huge and odd
// pastes, values that overflow, every key of the keyboard with every
// modifier, and typing while the dialogs come and go. Nothing may crash,
// no box may show "inf" or "nan", and no box changes but those the rule
// writes, each to the text the engine gives for the source's text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "rule.h"

namespace tolvu::test {
namespace {

// Closes every modal window as soon as it shows, for as long as it lives,
// and keeps what the message boxes said.
class ModalCloser {
public:
    ModalCloser()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            if (auto* message = qobject_cast<QMessageBox*>(modal)) messages.push_back(message->text());
            ++closed;
            modal->close();
        });
        timer_.start(5);
    }
    std::vector<QString> messages;
    int closed = 0;

private:
    QTimer timer_;
};

// Every box's text, by name.
std::map<std::string, QString> snapshot(const Form1& form)
{
    std::map<std::string, QString> texts;
    for (const BoxInfo& info : allBoxes())
        texts[std::string(info.name)] = form.unitBox(info.box)->text();
    return texts;
}

// Gives every box but `source` a text the rule never writes, so that any
// write shows.
void markAllBut(const Form1& form, Box source)
{
    for (const BoxInfo& info : allBoxes())
        if (info.box != source) form.unitBox(info.box)->setText(QStringLiteral("untouched"));
}

bool showsInfOrNan(const QString& text)
{
    return text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

// After a key released in `source`: when `acted`, the sisters hold what
// the engine gives for the source's text, up to an overflow, and keep
// their texts from there on; otherwise no sister changed. Boxes of other
// groups never change, and no box shows inf or nan.
void expectOnlyTheRuleWrote(const Form1& form, Box source, bool acted, const std::map<std::string, QString>& before,
                            const std::string& what)
{
    const std::string text = form.unitBox(source)->text().toStdString();
    std::map<std::string, QString> expected = before;
    expected[std::string(boxInfo(source).name)] = form.unitBox(source)->text();
    if (acted) {
        const Recalculation r = convert(source, text);
        for (const Write& w : r.writes())
            expected[std::string(boxInfo(w.target).name)] =
                QString::fromLatin1(w.text.view().data(), static_cast<qsizetype>(w.text.view().size()));
    }
    for (const BoxInfo& info : allBoxes()) {
        const QString actual = form.unitBox(info.box)->text();
        if (info.box != source) {
            EXPECT_EQ(actual, expected[std::string(info.name)]) << what << ": " << info.name;
        }
        EXPECT_FALSE(showsInfOrNan(actual) && !showsInfOrNan(before.at(std::string(info.name))))
            << what << ": " << info.name << " shows " << actual.toStdString();
    }
}

const Key kShiftInsert{Qt::Key_Insert, Qt::ShiftModifier, scan::Insert, QString()};

// Pastes `text` with Shift+Insert into the emptied, focused `source`, every
// other box marked; returns the texts as they were just before the paste.
std::map<std::string, QString> pasteInto(const Form1& form, Box source, const QString& text)
{
    QLineEdit* edit = form.unitBox(source);
    edit->setFocus(Qt::TabFocusReason);
    edit->clear();
    markAllBut(form, source);
    auto before = snapshot(form);
    QApplication::clipboard()->setText(text);
    strokeKey(edit, kShiftInsert);
    return before;
}

// ------------------------------------------------------------------ pastes

struct Paste {
    const char* name;
    QString text;
};

QString megabyteOf(const QString& head, QChar fill)
{
    return head + QString(1 << 20, fill);
}

// clang-format off
const std::vector<Paste> kPastes = {
    {"a megabyte of letters after a number", megabyteOf(QStringLiteral("5 km"), QLatin1Char('x'))},
    {"a megabyte of blanks, then a digit",   megabyteOf(QString(), QLatin1Char(' ')) + QLatin1Char('7')},
    {"a megabyte of digits",                 megabyteOf(QStringLiteral("1"), QLatin1Char('9'))},
    {"a megabyte of points",                 megabyteOf(QString(), QLatin1Char('.'))},
    {"line feeds between digits",            QStringLiteral("12\n34\n")},
    {"CR LF after a number",                 QStringLiteral("8.5\r\n")},
    {"a tab first",                          QStringLiteral("\t42")},
    {"control characters",                   QStringLiteral("3\x01\x02\x1b[31m4\x7f")},
    {"a NUL inside the number",              QString::fromLatin1("6\0 9", 4)},
    {"only a NUL",                           QString(QChar(0))},
    {"non-Latin digits and letters",         QString::fromUtf8("\xd9\xa3\xd9\xa4 \xe4\xb8\x89 \xf0\x9f\x98\x80")},
    {"a value beyond the double range",      QStringLiteral("1e400")},
    {"a negative value beyond the range",    QStringLiteral("-1e400")},
};
// clang-format on

void PrintTo(const Paste& paste, std::ostream* os)
{
    *os << paste.name;
}

class PasteSurvives : public ::testing::TestWithParam<Paste> {};

TEST_P(PasteSurvives, ShiftInsertKeepsWhatTheBoxTookAndConvertsIt)
{
    const Paste& paste = GetParam();
    const auto form = showForm();
    ModalCloser closer;
    for (const GroupInfo& group : allGroups()) {
        const Box source = group.members.front();
        const auto before = pasteInto(*form, source, paste.text);
        QApplication::processEvents();
        // The box holds the paste less what a one-line box drops (line
        // breaks), nothing altered or added.
        const QString held = form->unitBox(source)->text();
        EXPECT_FALSE(held.isEmpty()) << paste.name;
        EXPECT_LE(held.size(), paste.text.size()) << paste.name;
        expectOnlyTheRuleWrote(*form, source, true, before, std::string(paste.name) + " in " + std::string(group.name));
    }
    EXPECT_TRUE(form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Robustness, PasteSurvives, ::testing::ValuesIn(kPastes),
                         [](const auto& info) { return "Paste" + std::to_string(info.index); });

TEST(Robustness, AMegabytePasteOfAnOrdinaryValueConvertsToTheValue)
{
    const auto form = showForm();
    const QString paste = megabyteOf(QStringLiteral("5 km"), QLatin1Char('x'));
    pasteInto(*form, Box::kmBox, paste);
    EXPECT_EQ(form->unitBox(Box::mmBox)->text(), QStringLiteral("5000000"));
    // Kept whole: nothing the user pasted is cut off.
    EXPECT_EQ(form->unitBox(Box::kmBox)->text(), paste);
}

// --------------------------------------------------------------- overflow

struct Overflow {
    Box source;
    const char* value;
};

void PrintTo(const Overflow& o, std::ostream* os)
{
    *os << boxInfo(o.source).name << " \"" << o.value << '"';
}

class OverflowPaste : public ::testing::TestWithParam<Overflow> {};

TEST_P(OverflowPaste, ShiftInsertReportsAndLeavesTheUnwrittenBoxes)
{
    const Overflow& o = GetParam();
    const auto form = showForm();
    ModalCloser closer;
    const auto before = pasteInto(*form, o.source, QString::fromLatin1(o.value));
    EXPECT_EQ(form->unitBox(o.source)->text(), QString::fromLatin1(o.value));
    expectOnlyTheRuleWrote(*form, o.source, true, before, o.value);
    ASSERT_TRUE(QTest::qWaitFor([&] { return closer.closed > 0; }, 3000)) << "no overflow report";
    ASSERT_EQ(closer.messages.size(), 1u);
    EXPECT_TRUE(closer.messages.front().contains(QLatin1String("Overflow")));
    // The window goes on converting once the report is gone.
    form->unitBox(o.source)->setText(QStringLiteral("1"));
    const auto later = snapshot(*form);
    strokeKey(form->unitBox(o.source), keyFor(QLatin1Char('1')));
    expectOnlyTheRuleWrote(*form, o.source, true, later, "after the report");
}

// The first target overflows at once, or a later one after earlier writes.
INSTANTIATE_TEST_SUITE_P(Robustness, OverflowPaste,
                         ::testing::Values(Overflow{Box::kmBox, "1e303"}, Overflow{Box::dayBox, "1e305"},
                                           Overflow{Box::celciusBox, "1.7e308"}, Overflow{Box::ltBox, "-1e305"}));

// ------------------------------------------------------------- every key

// One key of a US PC keyboard: the Qt key with NumLock on, its XKB keycode,
// the Windows virtual-key code the key filter knows it by, and what it types.
struct KeyboardKey {
    int qtKey;
    quint32 scanCode;
    std::int16_t code;
    char typed; // 0: nothing
    bool keypad;
};

std::vector<KeyboardKey> wholeKeyboard()
{
    std::vector<KeyboardKey> keys = {
        {Qt::Key_Escape, 9, 27, 0, false},
        {Qt::Key_Minus, 20, 189, '-', false},
        {Qt::Key_Equal, 21, 187, '=', false},
        {Qt::Key_Backspace, 22, 8, 0, false},
        {Qt::Key_Tab, 23, 9, 0, false},
        {Qt::Key_BracketLeft, 34, 219, '[', false},
        {Qt::Key_BracketRight, 35, 221, ']', false},
        {Qt::Key_Return, 36, 13, 0, false},
        {Qt::Key_Control, 37, 17, 0, false},
        {Qt::Key_Semicolon, 47, 186, ';', false},
        {Qt::Key_Apostrophe, 48, 222, '\'', false},
        {Qt::Key_QuoteLeft, 49, 192, '`', false},
        {Qt::Key_Shift, 50, 16, 0, false},
        {Qt::Key_Backslash, 51, 220, '\\', false},
        {Qt::Key_Comma, 59, 188, ',', false},
        {Qt::Key_Period, 60, 190, '.', false},
        {Qt::Key_Slash, 61, 191, '/', false},
        {Qt::Key_Shift, 62, 16, 0, false},
        {Qt::Key_Asterisk, 63, 106, '*', true},
        {Qt::Key_Alt, 64, 18, 0, false},
        {Qt::Key_Space, 65, 32, ' ', false},
        {Qt::Key_CapsLock, 66, 20, 0, false},
        {Qt::Key_NumLock, 77, 144, 0, false},
        {Qt::Key_ScrollLock, 78, 145, 0, false},
        {Qt::Key_Minus, 82, 109, '-', true},
        {Qt::Key_Plus, 86, 107, '+', true},
        {Qt::Key_Period, 91, 110, '.', true},
        {Qt::Key_Less, 94, 226, '<', false},
        {Qt::Key_Enter, 104, 13, 0, true},
        {Qt::Key_Control, 105, 17, 0, false},
        {Qt::Key_Slash, 106, 111, '/', true},
        {Qt::Key_Print, 107, 44, 0, false},
        {Qt::Key_AltGr, 108, 18, 0, false},
        {Qt::Key_Home, 110, 36, 0, false},
        {Qt::Key_Up, 111, 38, 0, false},
        {Qt::Key_PageUp, 112, 33, 0, false},
        {Qt::Key_Left, 113, 37, 0, false},
        {Qt::Key_Right, 114, 39, 0, false},
        {Qt::Key_End, 115, 35, 0, false},
        {Qt::Key_Down, 116, 40, 0, false},
        {Qt::Key_PageDown, 117, 34, 0, false},
        {Qt::Key_Insert, 118, 45, 0, false},
        {Qt::Key_Delete, 119, 46, 0, false},
        {Qt::Key_Pause, 127, 19, 0, false},
        {Qt::Key_Meta, 133, 91, 0, false},
        {Qt::Key_Meta, 134, 92, 0, false},
        {Qt::Key_Menu, 135, 93, 0, false},
    };
    // The digit row: 1..9 on keycodes 10..18, 0 on 19.
    for (int d = 0; d <= 9; ++d)
        keys.push_back({Qt::Key_0 + d, d == 0 ? 19u : static_cast<quint32>(9 + d), static_cast<std::int16_t>(48 + d),
                        static_cast<char>('0' + d), false});
    // The keypad digits, NumLock on.
    constexpr quint32 kKeypadScan[10] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
    for (int d = 0; d <= 9; ++d)
        keys.push_back(
            {Qt::Key_0 + d, kKeypadScan[d], static_cast<std::int16_t>(96 + d), static_cast<char>('0' + d), true});
    // The letters, row by row as the keycodes run.
    const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const quint32 firsts[] = {24, 38, 52};
    for (int r = 0; r < 3; ++r)
        for (int i = 0; rows[r][i]; ++i) {
            const char c = rows[r][i];
            keys.push_back({Qt::Key_A + (c - 'a'), firsts[r] + static_cast<quint32>(i),
                            static_cast<std::int16_t>('A' + (c - 'a')), c, false});
        }
    // F1..F10 on 67..76, F11 and F12 on 95 and 96.
    for (int f = 0; f < 12; ++f)
        keys.push_back({Qt::Key_F1 + f, f < 10 ? static_cast<quint32>(67 + f) : static_cast<quint32>(85 + f),
                        static_cast<std::int16_t>(112 + f), 0, false});
    return keys;
}

QString typedText(const KeyboardKey& key, Qt::KeyboardModifiers modifiers)
{
    if (!key.typed) return QString();
    if (modifiers & Qt::ControlModifier) {
        const char c = key.typed;
        return c >= 'a' && c <= 'z' ? QString(QChar(c - 'a' + 1)) : QString();
    }
    const char c = (modifiers & Qt::ShiftModifier) && key.typed >= 'a' && key.typed <= 'z'
                       ? static_cast<char>(key.typed - 'a' + 'A')
                       : key.typed;
    return QString(QLatin1Char(c));
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers)
{
    return static_cast<std::int16_t>(((modifiers & Qt::ShiftModifier) ? shiftmask::Shift : 0) |
                                     ((modifiers & Qt::ControlModifier) ? shiftmask::Ctrl : 0) |
                                     ((modifiers & Qt::AltModifier) ? shiftmask::Alt : 0));
}

TEST(Robustness, EveryKeyWithEveryModifierInEveryGroupChangesOnlyWhatTheRuleWrites)
{
    auto form = showForm();
    ModalCloser closer;
    const auto keys = wholeKeyboard();
    ASSERT_GE(keys.size(), 100u);
    int recalculations = 0;
    std::vector<std::string> closedBy;
    for (const GroupInfo& group : allGroups()) {
        const Box source = group.members[group.members.size() / 2];
        for (int m = 0; m < 8; ++m) {
            Qt::KeyboardModifiers modifiers;
            if (m & 1) modifiers |= Qt::ShiftModifier;
            if (m & 2) modifiers |= Qt::ControlModifier;
            if (m & 4) modifiers |= Qt::AltModifier;
            for (const KeyboardKey& k : keys) {
                QApplication::clipboard()->setText(QStringLiteral("7"));
                QLineEdit* edit = form->unitBox(source);
                edit->setFocus(Qt::TabFocusReason);
                edit->setText(QStringLiteral("12.5"));
                markAllBut(*form, source);
                const auto before = snapshot(*form);
                const Key key{k.qtKey, modifiers | (k.keypad ? Qt::KeypadModifier : Qt::NoModifier), k.scanCode,
                              typedText(k, modifiers)};
                strokeKey(edit, key);
                const bool acted = passesKeyFilter(k.code, shiftState(modifiers));
                recalculations += acted;
                const std::string what = "key " + std::to_string(k.qtKey) + " (code " + std::to_string(k.code) +
                                         ") with modifiers " + std::to_string(m) + " in " + std::string(group.name);
                expectOnlyTheRuleWrote(*form, source, acted, before, what);
                if (!form->isVisible()) {
                    closedBy.push_back(what);
                    form = showForm();
                }
            }
        }
    }
    // Digits, keypad digits, the point, Backspace and Delete with all eight
    // modifier sets, Shift+Insert once: per group 8 * 23 + 1.
    EXPECT_EQ(recalculations, 5 * (8 * 23 + 1));
    // Only the Exit button's keys may end the program: Esc, its cancel key,
    // and Alt+X, its access key.
    for (const std::string& what : closedBy) {
        const bool esc = what.find("(code 27) with modifiers 0 ") != std::string::npos;
        const bool altX = what.find("(code 88) with modifiers 4 ") != std::string::npos;
        EXPECT_TRUE(esc || altX) << what << " ended the program";
    }
    EXPECT_GE(closedBy.size(), 5u) << "Esc did not end the program";
    QApplication::processEvents();
    EXPECT_EQ(closer.closed, 0) << "a key opened a window";
}

// ------------------------------------------------ typing around the dialogs

TEST(Robustness, RapidTypingWhileTheDialogsOpenAndCloseNeverChangesAnotherGroup)
{
    const auto form = showForm();
    QLineEdit* km = form->unitBox(Box::kmBox);
    km->setFocus(Qt::TabFocusReason);
    markAllBut(*form, Box::kmBox);
    form->unitBox(Box::kmBox)->clear();
    const auto start = snapshot(*form);
    auto* about = form->findChild<QPushButton*>(QStringLiteral("aboutButton"));
    auto* credits = form->findChild<QPushButton*>(QStringLiteral("creditsButton"));
    ASSERT_TRUE(about && credits);

    std::mt19937 random(2131);
    int typed = 0, blocked = 0, opened = 0, closed = 0;
    bool wrongWhileOpen = false;

    // A key sent to the main window as the window system delivers it, so a
    // modal dialog holds it off.
    const auto typeKey = [&] {
        const bool dialogOpen = QApplication::activeModalWidget() != nullptr;
        const QString textBefore = km->text();
        const bool erase = km->text().size() > 12 || random() % 4 == 0;
        const Qt::Key key = erase ? Qt::Key_Backspace : static_cast<Qt::Key>(Qt::Key_0 + random() % 10);
        QTest::keyClick(form->windowHandle(), key);
        ++typed;
        if (dialogOpen) {
            ++blocked;
            if (km->text() != textBefore) wrongWhileOpen = true;
        }
    };
    // The typist: a key every millisecond.
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, typeKey);
    // The closer: a key typed under every dialog before it is closed. The
    // typist alone cannot promise that: a dialog opened while its own key is
    // being delivered keeps it from running until the dialog is gone.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        typeKey();
        ++closed;
        modal->close();
    });
    // The opener: About and Credits in turn, 15 ms after the last one
    // closed, while the typist goes on.
    QTimer opener;
    opener.setSingleShot(true);
    QObject::connect(&opener, &QTimer::timeout, [&] {
        ++opened;
        (opened % 2 ? about : credits)->click();
        opener.start(15);
    });
    typist.start(1);
    closer.start(5);
    opener.start(15);
    // Until enough has happened, however slow the machine.
    const bool enough = QTest::qWaitFor([&] { return opened >= 12 && typed - blocked >= 60 && blocked > 0; }, 20000);
    typist.stop();
    opener.stop();
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 3000));
    closer.stop();

    EXPECT_TRUE(enough) << opened << " dialogs, " << typed << " keys, " << blocked << " under a dialog";
    EXPECT_EQ(closed, opened);
    EXPECT_FALSE(wrongWhileOpen) << "a key reached the main window under a modal dialog";
    // Whatever the order of events, the sisters show the value now in
    // kmBox, and the other groups are as they were.
    expectOnlyTheRuleWrote(*form, Box::kmBox, true, start, "after the typing");
    EXPECT_TRUE(form->isVisible());
}

} // namespace
} // namespace tolvu::test

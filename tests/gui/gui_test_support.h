// Driving the widgets the way a keyboard and a user do.
#pragma once

#include <QLineEdit>
#include <QString>

#include <functional>
#include <memory>
#include <ostream>

#include "form1.h"

// Lets failed expectations show texts as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace tolvu::test {

// XKB keycodes (evdev code + 8) of a standard PC keyboard.
namespace scan {
inline constexpr quint32 Digit1 = 10; // 1..9 are 10..18, 0 is 19
inline constexpr quint32 Digit0 = 19;
inline constexpr quint32 Backspace = 22;
inline constexpr quint32 E = 26;
inline constexpr quint32 Space = 65;
inline constexpr quint32 Insert = 118;
} // namespace scan

struct Key {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    QString text;
};

// The key that types `c` (a digit, "e" or a blank) on a US keyboard.
Key keyFor(QChar c);

void pressKey(QWidget* target, const Key& key);
void releaseKey(QWidget* target, const Key& key, bool autoRepeat = false);
// Press and release, as one keystroke.
void strokeKey(QWidget* target, const Key& key);
// One keystroke for every character of `text`.
void typeText(QWidget* target, const QString& text);

// A shown, active main window with the focus on mmBox.
std::unique_ptr<Form1> showForm();

QLineEdit* box(const Form1& form, const char* name);

// Runs `check` on the modal widget that opens next, then closes it. The flag
// turns true once that has happened; after three seconds it stops waiting.
std::shared_ptr<const bool> whenModalOpens(const std::function<void(QWidget*)>& check);

} // namespace tolvu::test

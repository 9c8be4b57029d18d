#include "gui_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tolvu::test {

Key keyFor(QChar c)
{
    if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
        return {Qt::Key_1 + (c.unicode() - '1'), Qt::NoModifier, scan::Digit1 + (c.unicode() - '1'), c};
    if (c == QLatin1Char('0')) return {Qt::Key_0, Qt::NoModifier, scan::Digit0, c};
    if (c == QLatin1Char('e')) return {Qt::Key_E, Qt::NoModifier, scan::E, c};
    EXPECT_EQ(c, QLatin1Char(' ')) << "no key types it";
    return {Qt::Key_Space, Qt::NoModifier, scan::Space, c};
}

void pressKey(QWidget* target, const Key& key)
{
    QKeyEvent event(QEvent::KeyPress, key.qtKey, key.modifiers, key.scanCode, 0, 0, key.text);
    QApplication::sendEvent(target, &event);
}

void releaseKey(QWidget* target, const Key& key, bool autoRepeat)
{
    QKeyEvent event(QEvent::KeyRelease, key.qtKey, key.modifiers, key.scanCode, 0, 0, key.text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void strokeKey(QWidget* target, const Key& key)
{
    pressKey(target, key);
    releaseKey(target, key);
}

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        strokeKey(target, keyFor(c));
}

std::unique_ptr<Form1> showForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

QLineEdit* box(const Form1& form, const char* name)
{
    auto* found = form.findChild<QLineEdit*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

std::shared_ptr<const bool> whenModalOpens(const std::function<void(QWidget*)>& check)
{
    auto opened = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto deadline = std::make_shared<int>(300);
    QObject::connect(poll, &QTimer::timeout, [poll, opened, deadline, check] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            *opened = true;
            check(modal);
            modal->close();
        }
        if (*opened || --*deadline <= 0) poll->deleteLater();
    });
    poll->start();
    return opened;
}

} // namespace tolvu::test

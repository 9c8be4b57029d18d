// What the widget tests share: the main window shown and active, its boxes
// by name, the look of the focus highlight, and a hook on the next modal
// window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

#include "form1.h"

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace tolvu::test {

inline std::unique_ptr<Form1> showForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

inline QLineEdit* box(const Form1& form, const char* name)
{
    return form.findChild<QLineEdit*>(QLatin1String(name));
}

inline bool highlighted(const QLineEdit* b)
{
    return b->font().bold() &&
           b->palette().color(QPalette::Text) == QGuiApplication::palette().color(QPalette::Highlight);
}

// Runs `check` on the modal window that opens next, then closes it; the
// flag turns true once that has happened.
inline std::shared_ptr<const bool> whenModalOpens(const std::function<void(QWidget*)>& check)
{
    auto opened = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, opened, check, polls = 300]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            *opened = true;
            check(modal);
            modal->close();
        }
        if (*opened || --polls == 0) poll->deleteLater();
    });
    poll->start(10);
    return opened;
}

} // namespace tolvu::test

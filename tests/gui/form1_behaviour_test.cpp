#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <map>
#include <string>
#include <vector>

#include "gui_test_support.h"

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

TEST(Form1Behaviour, StartsEmptyWithTheFocusAndHighlightOnMillimeters)
{
    const auto form = showForm();
    QLineEdit* mm = box(*form, "mmBox");
    EXPECT_EQ(QApplication::focusWidget(), mm);
    EXPECT_TRUE(highlighted(mm));
    for (QLineEdit* b : form->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(b->text().isEmpty()) << b->objectName().toStdString();
        if (b != mm) {
            EXPECT_TRUE(plain(b)) << b->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace tolvu::test

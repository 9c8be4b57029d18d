// The main window: 31 unit boxes in five groups, a caption label above each,
// the Exit, Credits and About buttons and the information label.
#pragma once

#include <QWidget>

#include <array>

#include "key_codes.h"
#include "units.h"

class QLineEdit;
class QPushButton;

namespace tolvu {

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    QLineEdit* unitBox(Box box) const { return boxes_[static_cast<std::size_t>(box)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void exitButtonClick();
    void creditsButtonClick();
    void aboutButtonClick();

private:
    void formLoad();
    void unitBoxKeyUp(Box source, runtime::KeyUp key);
    void unitBoxGotFocus(QLineEdit* box);
    void unitBoxLostFocus(QLineEdit* box);
    void reportOverflow(Box source, Box target, bool changedAny);
    std::optional<Box> boxOf(const QObject* object) const;

    std::array<QLineEdit*, kBoxCount> boxes_{};
    QPushButton* exitButton_ = nullptr;
    // The box drawn with the focus highlight; the window losing and regaining
    // activation leaves it as it is.
    QLineEdit* highlighted_ = nullptr;
    // The box that a mouse press has just given the focus, until that
    // button is released.
    QLineEdit* clickFocused_ = nullptr;
};

} // namespace tolvu

// The Credits dialog: a thank-you to the people behind the formulas.
#pragma once

#include <QDialog>

class QLabel;

namespace tolvu {

// Seven lines joined with CR LF, the even ones empty, no break at the end.
QString creditsText();

class CreditsBox : public QDialog {
    Q_OBJECT

public:
    explicit CreditsBox(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void formLoad();

    QLabel* label1_ = nullptr;
};

} // namespace tolvu

// A single-line text box that, without the focus, shows a text too wide for
// it whole: a number rounded to the digits that fit, any other text cut
// with an ellipsis. Its text stays exactly what was typed or written.
#pragma once

#include <QFont>
#include <QLineEdit>
#include <QString>

namespace tolvu::runtime {

class UnitBox : public QLineEdit {
    Q_OBJECT

public:
    explicit UnitBox(QWidget* parent = nullptr);

    // Where the box draws its text, as the line edit lays it out.
    QRect textArea() const;

    // What the box draws while it has not the focus.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The line edit's contents, less the text margins: the clip of its text.
    QRect contents() const;

    // What the shown text was last worked out for: it is worked out again
    // only once the text, the font, the screen's resolution or the room has
    // changed, not at every paint.
    mutable QString shown_;
    mutable bool textChanged_ = true;
    mutable QFont shownFont_;
    mutable int shownDpi_ = 0;
    mutable int shownRoom_ = -1;
};

} // namespace tolvu::runtime

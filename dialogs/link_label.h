// A label that acts as a link: highlight colour, bold and underlined, the
// hand cursor over it, and a click when the mouse is released on it.
#pragma once

#include <QLabel>

namespace tolvu {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace tolvu

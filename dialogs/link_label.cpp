#include "link_label.h"

#include <QMouseEvent>

#include "hand_cursor.h"
#include "system_colors.h"

namespace tolvu {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    runtime::setForeColor(this, runtime::color::kHighlight);
    QFont look;
    look.setBold(true);
    look.setUnderline(true);
    setFont(look);
    setCursor(handCursor());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

} // namespace tolvu

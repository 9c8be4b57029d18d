#include "link_label.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

#include "hand_cursor.h"
#include "system_colors.h"

namespace tolvu {
namespace {

// What a screen reader sees of a link label: a link named by its caption,
// with a press action that does what the click does.
class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction()) emit static_cast<LinkLabel*>(widget())->clicked();
    }
};

QAccessibleInterface* accessibleLinkLabel(const QString& className, QObject* object)
{
    if (className != QLatin1String(LinkLabel::staticMetaObject.className())) return nullptr;
    return new LinkLabelAccessible(static_cast<LinkLabel*>(object));
}

// Installed before any label exists: a screen reader asks about a widget
// while it is being built, and the answer is kept for the widget's life.
[[maybe_unused]] const bool kAccessibleLinks = (QAccessible::installFactory(accessibleLinkLabel), true);

} // namespace

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

#include "unit_box.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <string>

#include "number_fit.h"

namespace tolvu::runtime {
namespace {

// The line edit's own margin between its contents and its text.
constexpr int kHorizontalMargin = 2;

// Whether `text` fits a room of `room` pixels, measured as the line edit
// measures it before it scrolls: the text and one pixel for the caret.
bool fitsRoom(const QFontMetricsF& metrics, const QString& text, int room)
{
    return qRound(metrics.horizontalAdvance(text)) + 1 <= room;
}

// A text that is no number, from its first character and cut with an
// ellipsis. Only a start of it is laid out: a pasted megabyte would take
// as long as the paste itself.
QString cutWithEllipsis(const QFontMetricsF& metrics, const QString& text, int room, qsizetype longest)
{
    for (qsizetype length = longest + 1;; length *= 4) {
        const QString start = text.left(length);
        const QString shown = metrics.elidedText(start, Qt::ElideRight, room - 1);
        // An ellipsis in the start is where the whole text is cut too.
        if (shown != start || start.size() == text.size()) return shown;
    }
}

} // namespace

UnitBox::UnitBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { textChanged_ = true; });
}

QRect UnitBox::contents() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    return style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
}

QRect UnitBox::textArea() const
{
    const QRect around = contents();
    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(metrics.boundingRect(shownText()).height(), metrics.height());
    return {around.x() + kHorizontalMargin, around.y() + (around.height() - height + 1) / 2,
            around.width() - 2 * kHorizontalMargin, height};
}

QString UnitBox::shownText() const
{
    const int room = contents().width() - 2 * kHorizontalMargin;
    if (!textChanged_ && shownFont_ == font() && shownDpi_ == logicalDpiX() && shownRoom_ == room) return shown_;
    textChanged_ = false;
    shownFont_ = font();
    shownDpi_ = logicalDpiX();
    shownRoom_ = room;

    const QFontMetricsF metrics(font(), this);
    // No number text longer than this fits, none of its characters being
    // narrower; any other text is measured from its start on.
    qreal narrowest = metrics.horizontalAdvance(QLatin1Char('.'));
    for (const QChar c : QStringLiteral("0123456789+-Ee"))
        narrowest = std::min(narrowest, metrics.horizontalAdvance(c));
    const auto longest = static_cast<qsizetype>(room / std::max(narrowest, qreal(1)));

    const QString all = text();
    if (all.size() <= longest && fitsRoom(metrics, all, room)) return shown_ = all;
    const std::optional<std::string> number =
        fitNumberText(all.toStdString(), static_cast<std::size_t>(longest), [&](std::string_view s) {
            return fitsRoom(metrics, QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())), room);
        });
    shown_ = number ? QString::fromStdString(*number) : cutWithEllipsis(metrics, all, room, longest);
    return shown_;
}

bool UnitBox::event(QEvent* event)
{
    // The line edit itself repaints only its caret when the focus comes or
    // goes, and the whole text changes between shown and exact then.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) update();
    return QLineEdit::event(event);
}

void UnitBox::paintEvent(QPaintEvent* event)
{
    // With the focus, or where it fits, the line edit draws the text itself,
    // with its caret and selection.
    if (hasFocus() || shownText() == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setClipRect(contents());
    painter.setPen(palette().text().color());
    const QRect area = textArea();
    painter.drawText(QPoint(area.left(), area.top() + fontMetrics().ascent()), shownText());
}

} // namespace tolvu::runtime

#include "form_look.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

// The icon's images are compiled in as XPM, which Qt reads by itself. Read
// from PNG files they would first have every image format plugin loaded to
// ask whether it claims the file: several libraries and a few hundred
// kilobytes more at every start.
#include "tolvu-16.xpm"
#include "tolvu-32.xpm"

namespace tolvu::runtime {
namespace {

constexpr double kFormPointSize = 8.25;
constexpr double kSmallestPointSize = 6.0;

// Only the regular face: the bold file of that package draws hardly heavier
// than the regular one at 8 pt, while Qt's emboldened regular face reads as
// bold.
constexpr char kTahomaFile[] = "/usr/share/wine/fonts/tahoma.ttf";

QString withoutAccessMarks(QString caption)
{
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

// The room a caption has and the room it needs under the widget's font.
bool captionFits(const QWidget* widget)
{
    QString caption;
    int room = 0;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText || label->text().isEmpty()) return true;
        caption = label->buddy() ? withoutAccessMarks(label->text()) : label->text();
        room = label->contentsRect().width() - 2 * label->margin();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        caption = withoutAccessMarks(button->text());
        // A push button keeps a few pixels of bevel and padding on each side.
        room = button->width() - 8;
    } else {
        return true;
    }
    for (const QString& line : caption.split(QLatin1Char('\n'))) {
        if (QFontMetrics(widget->font()).horizontalAdvance(line) > room) return false;
    }
    return true;
}

bool allCaptionsFit(const QWidget* form)
{
    const auto children = form->findChildren<QWidget*>();
    return std::all_of(children.begin(), children.end(), captionFits);
}

} // namespace

void registerFormFonts()
{
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) return;
    const QString file = QString::fromLatin1(kTahomaFile);
    if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
}

QFont formFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFormPointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void applyFormFont(QWidget* form)
{
    QFont font = formFont();
    form->setFont(font);
    while (!allCaptionsFit(form) && font.pointSizeF() > kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        form->setFont(font);
    }
}

void centreOverOwner(QWidget* dialog)
{
    const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) return;
    // Qt's own placement guesses the frame from a fixed allowance where the
    // window manager draws no side borders, and ends up too high.
    const QPoint centre = owner->geometry().center();
    dialog->setGeometry(QRect(centre - QPoint((dialog->width() - 1) / 2, (dialog->height() - 1) / 2), dialog->size()));
}

void setFontBold(QWidget* widget, bool bold)
{
    QFont weight;
    weight.setBold(bold);
    widget->setFont(weight);
}

QIcon programIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(QImage(tolvu_16)));
    icon.addPixmap(QPixmap::fromImage(QImage(tolvu_32)));
    return icon;
}

} // namespace tolvu::runtime

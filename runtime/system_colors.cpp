#include "system_colors.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace tolvu::runtime {
namespace {

constexpr char kForeColorProperty[] = "tolvuForeColor";
constexpr quint32 kSystemBit = 0x80000000;

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The Windows system colour indexes 0..30 and the palette role that plays
// the same part in a Qt palette. The desktop background (1) has no role of
// its own; the darkest shade stands in for it, as the desktop is dark on
// the default schemes.
// clang-format off
constexpr std::array<SystemRole, 31> kSystemRoles = {{
    {QPalette::Active, QPalette::Mid},             // 0 scroll bar
    {QPalette::Active, QPalette::Shadow},          // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Button},          // 10 active border
    {QPalette::Inactive, QPalette::Button},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlighted text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
    {QPalette::Active, QPalette::Window},          // 25 (unused by Windows)
    {QPalette::Active, QPalette::Link},            // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},     // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Window},          // 30 menu bar
}};
// clang-format on

// Relative luminance and contrast ratio, as WCAG defines them.
double luminance(const QColor& c)
{
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A scheme's colour, or a fixed one, need not stand out from what it is
// drawn on: a dark scheme's highlight colour on its dark boxes, or black on
// a dark window, cannot be read. A colour that does not even read as large
// text must (3 to 1) is made lighter or darker, keeping its hue, until it
// reads as body text should (4.5 to 1); a colour that reads is left exactly
// as it is.
QColor readableOn(QColor color, const QColor& background)
{
    if (contrast(color, background) >= 3.0) return color;
    const bool darkBackground = luminance(background) < 0.18;
    float hue = 0, saturation = 0, lightness = 0, alpha = 0;
    color.getHslF(&hue, &saturation, &lightness, &alpha);
    while (contrast(color, background) < 4.5 && (darkBackground ? lightness < 1.0f : lightness > 0.0f)) {
        lightness = std::clamp(lightness + (darkBackground ? 0.05f : -0.05f), 0.0f, 1.0f);
        color.setHslF(hue, saturation, lightness, alpha);
    }
    return color;
}

void applyForeColor(QWidget* widget, quint32 code)
{
    // The background is the scheme's: on a change of scheme the widget's own
    // palette still holds the old one.
    const QColor background = QGuiApplication::palette().color(widget->backgroundRole());
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), readableOn(resolveColor(code), background));
    widget->setPalette(palette);
}

// The application hears of a new palette (a changed desktop scheme, or one
// set by the program) before its widgets are repainted; every widget given a
// system colour then takes that colour's new shade.
class SystemColorFollower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance()) {
            for (QWidget* widget : QApplication::allWidgets()) {
                if (const auto code = foreColor(widget); code && (*code & kSystemBit)) applyForeColor(widget, *code);
            }
        }
        return false;
    }
};

} // namespace

QColor resolveColor(quint32 code)
{
    if (code & kSystemBit) {
        const quint32 index = code & ~kSystemBit;
        const QPalette palette = QGuiApplication::palette();
        if (index < kSystemRoles.size()) {
            const SystemRole& r = kSystemRoles[index];
            return palette.color(r.group, r.role);
        }
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
    // 0x00BBGGRR: red in the low byte.
    return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF),
                  static_cast<int>((code >> 16) & 0xFF));
}

void setForeColor(QWidget* widget, quint32 code)
{
    widget->setProperty(kForeColorProperty, QVariant::fromValue(code));
    applyForeColor(widget, code);
}

std::optional<quint32> foreColor(const QWidget* widget)
{
    const QVariant v = widget->property(kForeColorProperty);
    if (!v.isValid()) return std::nullopt;
    return v.value<quint32>();
}

void followSystemColors(QApplication& app)
{
    static const char kFollowerName[] = "tolvuSystemColorFollower";
    if (app.findChild<QObject*>(QLatin1String(kFollowerName), Qt::FindDirectChildrenOnly)) return;
    auto* follower = new SystemColorFollower(&app);
    follower->setObjectName(QLatin1String(kFollowerName));
    app.installEventFilter(follower);
}

} // namespace tolvu::runtime

// Colours written the way the forms write them: 0x80000000 + n names the
// desktop's system colour n, anything else is a fixed 0x00BBGGRR colour.
// A widget's fore colour set through setForeColor() follows the desktop's
// colour scheme while the program runs.
#pragma once

#include <QColor>
#include <QtGlobal>

#include <optional>

class QApplication;
class QWidget;

namespace tolvu::runtime {

namespace color {
inline constexpr quint32 kDesktop = 0x80000001;    // COLOR_BACKGROUND
inline constexpr quint32 kWindowText = 0x80000008; // COLOR_WINDOWTEXT
inline constexpr quint32 kHighlight = 0x8000000D;  // COLOR_HIGHLIGHT
inline constexpr quint32 kBlack = 0x00000000;
inline constexpr quint32 kGray = 0x00808080;
inline constexpr quint32 kWhite = 0x00FFFFFF;
} // namespace color

// The colour `code` stands for under the application's current palette.
QColor resolveColor(quint32 code);

// Sets the colour the widget draws its text in and remembers the code, so a
// later change of the desktop's scheme redraws it in the new colour.
void setForeColor(QWidget* widget, quint32 code);

// The code last given to setForeColor(), if any.
std::optional<quint32> foreColor(const QWidget* widget);

// Makes every setForeColor() widget follow palette changes of `app`.
void followSystemColors(QApplication& app);

} // namespace tolvu::runtime

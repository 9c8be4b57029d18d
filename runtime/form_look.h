// The look every form shares: positions in twips, the form font, the
// program icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

class QWidget;

namespace tolvu::runtime {

// 15 twips make one device-independent pixel; Qt scales those on high-dpi
// screens, so the whole form keeps its proportions.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twips(int t)
{
    return t / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Makes the Tahoma-compatible font that Debian ships with its Windows
// compatibility fonts known to the application when the system's font
// configuration does not list it.
void registerFormFonts();

// Tahoma 8.25 pt, regular; where the system lacks Tahoma, its nearest sans.
QFont formFont();

// Gives `form` the form font and then, should any single-line caption of
// its labels and buttons not fit, shrinks the font in quarter points until
// all fit, so a substitute font never clips a caption.
void applyFormFont(QWidget* form);

// Places a dialog that is about to be shown so that its client area is
// centred on its owner's; with the same frame on both, the frames are
// centred on each other too. Call from the dialog's showEvent.
void centreOverOwner(QWidget* dialog);

// A control's FontBold: only the weight is set, so the rest of the font
// keeps following the form's.
void setFontBold(QWidget* widget, bool bold);

// The program icon, in its 16 and 32 pixel images.
QIcon programIcon();

} // namespace tolvu::runtime

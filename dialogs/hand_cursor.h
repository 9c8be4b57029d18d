// The pointing hand shown over the About dialog's links.
#pragma once

#include <QCursor>

namespace tolvu {

// 32 x 32, black and white, hot spot at the fingertip (4, 1).
QCursor handCursor();

} // namespace tolvu

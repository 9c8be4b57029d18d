// The one way the program reaches outside itself: an address handed to the
// desktop, which opens it with the user's program for its scheme.
#pragma once

#include <QString>

namespace tolvu {

// Waits for nothing and reports nothing; whether a program opens is the
// desktop's business.
void OpenLink(QString address);

} // namespace tolvu

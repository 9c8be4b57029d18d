// Handing an address to the desktop, which opens it with the user's program
// for its scheme (mail client for "mailto:", browser for "http:").
#pragma once

#include <QString>

#include <functional>

namespace tolvu::runtime {

using AddressOpener = std::function<void(const QString& address)>;

// Hands `address` to the current opener; waits for nothing, reports nothing.
void shellOpen(const QString& address);

// Replaces the opener, returning the previous one; an empty opener restores
// the desktop's. Lets tests see the address instead of launching a program.
AddressOpener setAddressOpener(AddressOpener opener);

} // namespace tolvu::runtime

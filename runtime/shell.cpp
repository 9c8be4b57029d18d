#include "shell.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace tolvu::runtime {
namespace {

// QDesktopServices starts the system's opener directly, without a shell, so
// nothing in the address is ever interpreted as a command. The tolerant
// parse percent-encodes the blanks a mail subject holds.
void openWithDesktop(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

AddressOpener& opener()
{
    static AddressOpener current = openWithDesktop;
    return current;
}

} // namespace

void shellOpen(const QString& address)
{
    opener()(address);
}

AddressOpener setAddressOpener(AddressOpener replacement)
{
    if (!replacement) replacement = openWithDesktop;
    return std::exchange(opener(), std::move(replacement));
}

} // namespace tolvu::runtime

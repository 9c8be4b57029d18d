#include "web_interface.h"

#include "shell.h"

namespace tolvu {

void OpenLink(QString address)
{
    runtime::shellOpen(address);
}

} // namespace tolvu

// The number format before the fast roundings, for comparison only.
#pragma once

#include "number_text.h"

namespace tolvu::bench {

NumberText formatBefore(double value) noexcept;

} // namespace tolvu::bench

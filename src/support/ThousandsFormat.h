// Numbers for people: decimal digits in groups of three.
#pragma once

#include <cstdint>
#include <string>

namespace hivora {

// Decimal with `separator` between groups of three digits: 1234567 gives "1,234,567".
std::string FormatThousands(int64_t value, char separator = ',');
std::string FormatThousandsUnsigned(uint64_t value, char separator = ',');

}  // namespace hivora

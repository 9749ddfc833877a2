// The registry's clock: 100-nanosecond intervals since 1601-01-01 UTC.
#pragma once

#include <cstdint>

namespace hivora {

using FileTime = std::uint64_t;

}  // namespace hivora

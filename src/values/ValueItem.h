// One registry value as the program holds it: its bytes exactly as the back end returned
// them, its type and its shown name ("(Default)" for the unnamed value).
#pragma once

#include <cstdint>
#include <string>

#include "values/CBlob.h"

namespace hivora {

inline constexpr const char* kDefaultValueName = "(Default)";

struct ValueItem {
    CBlob data;
    uint32_t type = 0;
    std::string name;
};

}  // namespace hivora

#include "values/ValueTypes.h"

#include <array>
#include <cstddef>

#include "hive/RegistryTypes.h"

namespace hivora {
namespace {

using T = ValueTextForm;
using R = RegDataForm;
constexpr int kText = kTypeImageText;
constexpr int kNumber = kTypeImageNumber;
constexpr int kNone = kNoTypeImage;

// clang-format off
constexpr std::array<ValueTypeInfo, 12> kTypes = {{
    // type                            name                              image    list            text            REG        data window
    {REG_NONE,                         "REG_NONE",                       kNone,   T::Bytes,       T::Bytes,       R::Hex,    false},
    {REG_SZ,                           "REG_SZ",                         kText,   T::String,      T::String,      R::String, true},
    {REG_EXPAND_SZ,                    "REG_EXPAND_SZ",                  kText,   T::String,      T::String,      R::Hex,    true},
    {REG_BINARY,                       "REG_BINARY",                     kNumber, T::Bytes,       T::Bytes,       R::Binary, false},
    {REG_DWORD,                        "REG_DWORD",                      kNumber, T::Dword,       T::Dword,       R::Dword,  true},
    // Stored little-endian like REG_DWORD, whatever the type's name promises; the list shows
    // it as one, the exports keep its bytes.
    {REG_DWORD_BIG_ENDIAN,             "REG_DWORD",                      kNumber, T::Dword,       T::Bytes,       R::Hex,    false},
    {REG_LINK,                         "REG_LINK",                       kNone,   T::Bytes,       T::Bytes,       R::Hex,    false},
    {REG_MULTI_SZ,                     "REG_MULTI_SZ",                   kText,   T::MultiString, T::MultiString, R::Hex,    true},
    {REG_RESOURCE_LIST,                "REG_RESOURCE_LIST",              kNumber, T::Bytes,       T::Bytes,       R::Hex,    false},
    {REG_FULL_RESOURCE_DESCRIPTOR,     "REG_FULL_RESOURCE_DESCRIPTOR",   kNumber, T::Bytes,       T::Bytes,       R::Hex,    false},
    {REG_RESOURCE_REQUIREMENTS_LIST,   "REG_RESOURCE_REQUIREMENTS_LIST", kNumber, T::Bytes,       T::Bytes,       R::Hex,    false},
    {REG_QWORD,                        "REG_QWORD",                      kNumber, T::Qword,       T::Qword,       R::Hex,    false},
}};
// clang-format on

constexpr bool RowsIndexedByType() {
    for (std::size_t i = 0; i < kTypes.size(); ++i) {
        if (kTypes[i].type != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsIndexedByType(), "ValueTypeOf looks rows up by type");

}  // namespace

ValueTypeInfo ValueTypeOf(uint32_t type) {
    if (type < kTypes.size()) {
        return kTypes[type];
    }
    ValueTypeInfo unknown;
    unknown.type = type;
    return unknown;
}

}  // namespace hivora

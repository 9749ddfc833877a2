// The hive engine's four registry operations, with the parameter lists and status codes of
// the platform registry functions they stand in for, so that the back-end table can hold
// either these or a live registry.
#pragma once

#include <cstdint>
#include <string_view>

#include "hive/RegistryTypes.h"

namespace hivora {

// Opens the key that `path` (UTF-16, zero-terminated; backslash-separated) names below `key`.
// A key that does not exist is status 0 with a null handle; a null `key` is status 6.
int32_t HiveOpenKey(HKEY key, const char16_t* path, HKEY* result);

int32_t HiveCloseKey(HKEY key);

// Subkey number `index` of `key`. Name and class lengths are in characters, in: buffer size
// with room for the terminator; out: characters stored. `subkey`, when given, receives an open
// handle to the subkey (never for the predefined roots, which list the loaded hives).
int32_t HiveEnumKeyEx(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, char16_t* className, uint32_t* classLength,
                      FileTime* lastWrite, HKEY* subkey);

// Value number `index` of `key`: name, type and data, with the platform's buffer rules.
int32_t HiveEnumValue(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, uint32_t* type, uint8_t* data, uint32_t* dataSize);

// The key's place in the loaded images (image and key cell), which tells two handles of one
// key apart from handles of two keys with the same name; 0 for handles that are not hive keys.
uint64_t HiveKeyIdentity(HKEY key);

class HiveImage;

// The loaded hive that holds the key `path` names below the predefined key `root` (the path's
// first component names the hive), or nullptr.
const HiveImage* HiveImageOfKey(RootKey root, std::u16string_view path);

}  // namespace hivora

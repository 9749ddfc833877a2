// The one table through which every reader of the registry calls the four registry
// operations: the hive engine, or the live registry of the machine.
#pragma once

#include <cstdint>

#include "hive/RegistryTypes.h"

namespace hivora {

using EnumValueFn = int32_t (*)(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                                uint32_t* reserved, uint32_t* type, uint8_t* data,
                                uint32_t* dataSize);
using EnumKeyFn = int32_t (*)(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                              uint32_t* reserved, char16_t* className, uint32_t* classLength,
                              FileTime* lastWrite, HKEY* subkey);
using OpenKeyFn = int32_t (*)(HKEY key, const char16_t* path, HKEY* result);
using CloseKeyFn = int32_t (*)(HKEY key);

struct RegistryBackend {
    EnumValueFn enumValue;
    EnumKeyFn enumKey;  // the ninth parameter may hand back an open subkey handle
    OpenKeyFn openKey;
    CloseKeyFn closeKey;
};

// The current table. Starts pointed at the hive engine; switch only while no search runs and
// no handle of the other back end is open.
const RegistryBackend& Backend();
void UseHiveEngine();
void UseLiveRegistry();
bool IsLiveRegistry();

// The live registry's subkey enumeration: never hands back a subkey handle.
int32_t LiveEnumKeyEx(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, char16_t* className, uint32_t* classLength,
                      FileTime* lastWrite, HKEY* subkey);

}  // namespace hivora

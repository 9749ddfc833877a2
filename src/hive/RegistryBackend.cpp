#include "hive/RegistryBackend.h"

#include <atomic>

#include "hive/HiveEngine.h"

namespace hivora {
namespace {

// This platform has no registry of its own: the live back end truthfully has no keys.
int32_t LiveOpenKey(HKEY key, const char16_t* /*path*/, HKEY* result) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (result != nullptr) {
        *result = nullptr;
    }
    return ERROR_FILE_NOT_FOUND;
}

int32_t LiveCloseKey(HKEY key) {
    return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
}

int32_t LiveEnumValue(HKEY key, uint32_t, char16_t*, uint32_t*, uint32_t*, uint32_t*, uint8_t*,
                      uint32_t*) {
    return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_NO_MORE_ITEMS;
}

int32_t PlatformEnumKeyEx(HKEY key, uint32_t, char16_t*, uint32_t*, uint32_t*, char16_t*,
                          uint32_t*, FileTime*) {
    return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_NO_MORE_ITEMS;
}

constexpr RegistryBackend kHiveEngineTable{HiveEnumValue, HiveEnumKeyEx, HiveOpenKey, HiveCloseKey};
constexpr RegistryBackend kLiveTable{LiveEnumValue, LiveEnumKeyEx, LiveOpenKey, LiveCloseKey};

std::atomic<const RegistryBackend*> g_backend{&kHiveEngineTable};

}  // namespace

int32_t LiveEnumKeyEx(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* reserved, char16_t* className, uint32_t* classLength,
                      FileTime* lastWrite, HKEY* subkey) {
    if (subkey != nullptr) {
        *subkey = nullptr;
    }
    return PlatformEnumKeyEx(key, index, name, nameLength, reserved, className, classLength,
                             lastWrite);
}

const RegistryBackend& Backend() { return *g_backend.load(std::memory_order_acquire); }
void UseHiveEngine() { g_backend.store(&kHiveEngineTable, std::memory_order_release); }
void UseLiveRegistry() { g_backend.store(&kLiveTable, std::memory_order_release); }
bool IsLiveRegistry() { return g_backend.load(std::memory_order_acquire) == &kLiveTable; }

}  // namespace hivora

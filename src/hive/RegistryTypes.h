// The registry calling convention shared by every back end: status codes, key handles,
// predefined roots, value types and the FILETIME clock.
#pragma once

#include <cstdint>

#include "support/FileTime.h"

namespace hivora {

// Status codes of the registry operations.
inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr int32_t ERROR_MORE_DATA = 234;
inline constexpr int32_t ERROR_NO_MORE_ITEMS = 259;

// A key handle is either one of the predefined root values or a pointer owned by the back end
// that made it. It is an opaque pointer type, as on the platform that defined the contract.
using HKEY = struct HKEY__*;

// A predefined root as a 32-bit number, the form that key records, favourites and history keep.
using RootKey = uint32_t;
inline constexpr RootKey kClassesRoot = 0x80000000u;
inline constexpr RootKey kCurrentUser = 0x80000001u;
inline constexpr RootKey kLocalMachine = 0x80000002u;
inline constexpr RootKey kUsers = 0x80000003u;
inline constexpr RootKey kPerformanceData = 0x80000004u;
inline constexpr RootKey kCurrentConfig = 0x80000005u;
inline constexpr RootKey kDynData = 0x80000006u;

// Any other number (a root read from a favourites file, say) becomes this value, which every
// back end treats as a root with nothing below it: an untrusted number never becomes a pointer.
inline constexpr RootKey kUnknownRoot = 0x800000FFu;

inline HKEY RootHandle(RootKey root) {
    if (root < kClassesRoot || root > kDynData) {
        root = kUnknownRoot;
    }
    return reinterpret_cast<HKEY>(static_cast<uintptr_t>(root));
}
inline const HKEY HKEY_CLASSES_ROOT = RootHandle(kClassesRoot);
inline const HKEY HKEY_CURRENT_USER = RootHandle(kCurrentUser);
inline const HKEY HKEY_LOCAL_MACHINE = RootHandle(kLocalMachine);
inline const HKEY HKEY_USERS = RootHandle(kUsers);
inline const HKEY HKEY_PERFORMANCE_DATA = RootHandle(kPerformanceData);
inline const HKEY HKEY_CURRENT_CONFIG = RootHandle(kCurrentConfig);

// True for the predefined root values (the six the back ends serve, HKEY_DYN_DATA and the
// unknown root); every other non-null handle was made by a back end.
inline bool IsPredefinedKey(HKEY key) {
    const auto value = reinterpret_cast<uintptr_t>(key);
    return value >= kClassesRoot && value <= kUnknownRoot;
}

// Value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_DWORD_BIG_ENDIAN = 5;
inline constexpr uint32_t REG_LINK = 6;
inline constexpr uint32_t REG_MULTI_SZ = 7;
inline constexpr uint32_t REG_RESOURCE_LIST = 8;
inline constexpr uint32_t REG_FULL_RESOURCE_DESCRIPTOR = 9;
inline constexpr uint32_t REG_RESOURCE_REQUIREMENTS_LIST = 10;
inline constexpr uint32_t REG_QWORD = 11;

}  // namespace hivora

// Small helpers over the back-end table that follow its calling contract, for code that wants
// whole names and data rather than the registry's buffer protocol.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {

// Owns a handle opened through the back end; closes it through the back end.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { Reset(); }
    RegKey(RegKey&& other) noexcept : key_(other.Release()) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY Release() {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }
    void Reset(HKEY key = nullptr);

private:
    HKEY key_ = nullptr;
};

// Opens `path` below `parent`; an empty RegKey when the key does not exist (a non-zero status
// or a null handle, whichever the back end uses).
RegKey OpenRegKey(HKEY parent, std::u16string_view path);
// Opens a root and a UTF-8 sub-path (the address form of the key tree).
RegKey OpenRegKey(RootKey root, std::string_view subPath);

struct SubkeyInfo {
    std::u16string name;
    FileTime lastWrite = 0;
};

// Subkey number `index` of `key` with its whole name. Returns the back end's status (0 when
// the subkey exists). With `handle`, receives an open handle to the subkey: the one the
// enumeration handed over, or else one opened by name (empty when that fails).
int32_t EnumSubkey(HKEY key, uint32_t index, SubkeyInfo& info, RegKey* handle = nullptr);

// True when the key has at least one subkey.
bool HasSubkeys(HKEY key);

struct ValueInfo {
    std::u16string name;
    uint32_t type = 0;
    uint32_t size = 0;
};

// Name, type and data size of value number `index`. Returns 0 when the value exists (the
// ERROR_MORE_DATA of the size query counts as existing), else the back end's status.
int32_t EnumValueInfo(HKEY key, uint32_t index, ValueInfo& info);
// The data of value number `index`, `size` bytes as its info reported. Returns the status of
// the data call; `data` is resized to the bytes the back end reported.
int32_t ReadValueData(HKEY key, uint32_t index, uint32_t size, std::vector<uint8_t>& data);

}  // namespace hivora

#include "hive/RegistryReader.h"

#include "hive/RegistryBackend.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

// Room for the longest name a hive can store (32,767 one-byte characters) and its terminator.
constexpr uint32_t kNameBufferChars = 32768;

char16_t* NameBuffer() {
    thread_local std::u16string buffer(kNameBufferChars, u'\0');
    return buffer.data();
}

}  // namespace

void RegKey::Reset(HKEY key) {
    if (key_ != nullptr && !IsPredefinedKey(key_)) {
        Backend().closeKey(key_);
    }
    key_ = key;
}

RegKey OpenRegKey(HKEY parent, std::u16string_view path) {
    const std::u16string terminated(path);
    HKEY result = nullptr;
    if (Backend().openKey(parent, terminated.c_str(), &result) != ERROR_SUCCESS) {
        return RegKey();
    }
    return RegKey(result);
}

RegKey OpenRegKey(RootKey root, std::string_view subPath) {
    return OpenRegKey(RootHandle(root), ToUtf16(subPath));
}

int32_t EnumSubkey(HKEY key, uint32_t index, SubkeyInfo& info, RegKey* handle) {
    char16_t* name = NameBuffer();
    uint32_t length = kNameBufferChars;
    HKEY subkey = nullptr;
    const int32_t status = Backend().enumKey(key, index, name, &length, nullptr, nullptr, nullptr,
                                             &info.lastWrite, handle ? &subkey : nullptr);
    if (handle != nullptr) {
        handle->Reset(subkey);
    }
    if (status != ERROR_SUCCESS) {
        info.name.clear();
        return status;
    }
    info.name.assign(name, length);
    if (handle != nullptr && !*handle) {
        *handle = OpenRegKey(key, info.name);
    }
    return status;
}

bool HasSubkeys(HKEY key) {
    char16_t* name = NameBuffer();
    uint32_t length = kNameBufferChars;
    FileTime lastWrite = 0;
    return Backend().enumKey(key, 0, name, &length, nullptr, nullptr, nullptr, &lastWrite,
                             nullptr) == ERROR_SUCCESS;
}

int32_t EnumValueInfo(HKEY key, uint32_t index, ValueInfo& info) {
    char16_t* name = NameBuffer();
    uint32_t length = kNameBufferChars;
    info.size = 0;
    const int32_t status = Backend().enumValue(key, index, name, &length, nullptr, &info.type,
                                               nullptr, &info.size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
        info.name.clear();
        return status;
    }
    name[kNameBufferChars - 1] = 0;
    info.name.assign(name, length);
    return ERROR_SUCCESS;
}

int32_t ReadValueData(HKEY key, uint32_t index, uint32_t size, std::vector<uint8_t>& data) {
    // Four bytes at least: a caller's buffer is never smaller than a double word.
    data.resize(size < 4 ? 4 : size);
    uint32_t got = size;
    uint32_t type = 0;
    const int32_t status =
        Backend().enumValue(key, index, nullptr, nullptr, nullptr, &type, data.data(), &got);
    data.resize(status == ERROR_SUCCESS && got <= size ? got : 0);
    return status;
}

}  // namespace hivora

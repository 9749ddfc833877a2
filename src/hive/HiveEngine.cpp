#include "hive/HiveEngine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "hive/HiveRecords.h"
#include "hive/HiveSet.h"
#include "support/CaseFold.h"

namespace hivora {
namespace {

constexpr size_t kMaxComponentChars = 4095;

// Where sequential enumeration of one key stands, so that listing n entries costs O(n) even
// when unreadable entries are passed over.
struct SubkeyCursor {
    bool built = false;
    SubkeyLeaves leaves;
    uint32_t logical = 0;  // readable entries before the current position
    size_t leaf = 0;
    uint32_t position = 0;

    void Rewind() { logical = 0, leaf = 0, position = 0; }
};

struct ValueCursor {
    uint32_t logical = 0;
    uint32_t physical = 0;

    void Rewind() { logical = 0, physical = 0; }
};

// An open key of the hive engine. A handle never owns its image.
struct HiveKeyHandle {
    const HiveImage* image = nullptr;
    uint32_t generation = 0;
    uint64_t keyCell = 0;  // file offset of the key's cell
    SubkeyCursor subkeys;
    ValueCursor values;
};

HiveKeyHandle* AsHandle(HKEY key) {
    return reinterpret_cast<HiveKeyHandle*>(key);
}
HKEY AsKey(HiveKeyHandle* handle) {
    return reinterpret_cast<HKEY>(handle);
}
uintptr_t RootValue(HKEY key) {
    return reinterpret_cast<uintptr_t>(key);
}

HKEY NewHandle(const HiveImage* image, uint64_t keyCell) {
    auto* handle = new HiveKeyHandle;
    handle->image = image;
    handle->generation = image->Generation();
    handle->keyCell = keyCell;
    return AsKey(handle);
}

// True when `text` begins with `name` (ASCII case folded) followed by a separator or the end.
bool StartsWithComponent(std::u16string_view text, std::u16string_view name) {
    return EqualsAsciiNoCase(text.substr(0, name.size()), name) &&
           (text.size() == name.size() || text[name.size()] == u'\\');
}

struct ListedHive {
    HiveSlot slot;
    std::u16string_view name;
};
constexpr std::array<ListedHive, 6> kMachineHives = {{{HiveSlot::Sam, u"sam"},
                                                      {HiveSlot::Security, u"security"},
                                                      {HiveSlot::Software, u"software"},
                                                      {HiveSlot::System, u"system"},
                                                      {HiveSlot::Components, u"COMPONENTS"},
                                                      {HiveSlot::Bcd, u"BCD00000000"}}};
constexpr std::array<ListedHive, 2> kUserHives = {
    {{HiveSlot::NtUser, u"NTUSER"}, {HiveSlot::Default, u".DEFAULT"}}};

// First path components that open each hive, in the order they are tried.
constexpr std::array<ListedHive, 6> kMachinePrefixes = {{{HiveSlot::System, u"system"},
                                                         {HiveSlot::Software, u"software"},
                                                         {HiveSlot::Sam, u"sam"},
                                                         {HiveSlot::Security, u"security"},
                                                         {HiveSlot::Bcd, u"bcd00000000"},
                                                         {HiveSlot::Components, u"components"}}};
constexpr std::array<ListedHive, 2> kUserPrefixes = {
    {{HiveSlot::NtUser, u"NTUSER"}, {HiveSlot::Default, u".DEFAULT"}}};

// Walks `path` from the key at `keyCell`, one component at a time. Returns the key cell of
// the key found, or 0.
uint64_t HiveFindSubkey(const HiveImage& hive, std::u16string_view path, uint64_t keyCell) {
    const ImageView image = hive.View();
    size_t pos = 0;
    while (true) {
        auto key = ReadKeyRecord(image, keyCell);
        if (!key) {
            return 0;
        }
        while (pos < path.size() && path[pos] == u'\\') {
            ++pos;
        }
        const size_t end = std::min(path.find(u'\\', pos), path.size());
        const std::u16string_view component = path.substr(pos, end - pos);
        if (component.empty()) {
            return keyCell;
        }
        if (component.size() > kMaxComponentChars) {
            return 0;
        }
        const SubkeyLeaves list = ReadSubkeyLeaves(image, *key);
        uint64_t next = 0;
        for (const SubkeyLeaf& leaf : list.leaves) {
            for (uint32_t i = 0; i < leaf.count && next == 0; ++i) {
                const uint64_t cell = CellPosition(LeafElement(image, leaf, i));
                auto child = ReadKeyRecord(image, cell);
                if (child && KeyNameEquals(image, *child, component)) {
                    next = cell;
                }
            }
            if (next != 0) {
                break;
            }
        }
        if (next == 0) {
            return 0;
        }
        keyCell = next;  // the first match is the only one tried
        pos = end;
    }
}

template <size_t N>
HKEY OpenBelowRoot(const std::array<ListedHive, N>& prefixes, std::u16string_view path) {
    size_t start = 0;
    while (start < path.size() && path[start] == u'\\') {
        ++start;
    }
    const std::u16string_view rest = path.substr(start);
    for (const ListedHive& prefix : prefixes) {
        if (!StartsWithComponent(rest, prefix.name)) {
            continue;
        }
        const HiveImage* image = HiveInSlot(prefix.slot);
        if (image == nullptr) {
            return nullptr;
        }
        const uint64_t cell =
            HiveFindSubkey(*image, rest.substr(prefix.name.size()), image->RootCell());
        return cell == 0 ? nullptr : NewHandle(image, cell);
    }
    return nullptr;
}

template <size_t N>
const HiveImage* ImageBelowRoot(const std::array<ListedHive, N>& prefixes,
                                std::u16string_view path) {
    size_t start = 0;
    while (start < path.size() && path[start] == u'\\') {
        ++start;
    }
    for (const ListedHive& prefix : prefixes) {
        if (StartsWithComponent(path.substr(start), prefix.name)) {
            return HiveInSlot(prefix.slot);
        }
    }
    return nullptr;
}

// Stores `text` into a caller's buffer with the registry's truncation rule. Returns 234 when
// the buffer is too small.
int32_t StoreText(std::u16string_view text, char16_t* buffer, uint32_t* length) {
    if (text.size() < *length) {
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        *length = static_cast<uint32_t>(text.size());
        return ERROR_SUCCESS;
    }
    if (*length != 0) {
        const uint32_t kept = *length - 1;
        std::copy(text.begin(), text.begin() + kept, buffer);
        buffer[kept] = 0;
        *length = kept;
    }
    return ERROR_MORE_DATA;
}

// Positions `cursor` on readable subkey number `index`; its cell, or 0 past the end.
uint64_t LocateSubkey(const ImageView& image, const KeyRecord& key, SubkeyCursor& cursor,
                      uint32_t index, HiveDamage& damage) {
    if (!cursor.built) {
        cursor.leaves = ReadSubkeyLeaves(image, key);
        cursor.built = true;
        cursor.Rewind();
        if (cursor.leaves.total < key.subkeyCount) {
            damage.Note(DamageKind::ListCut, key.cell);
        }
    }
    if (index < cursor.logical) {
        cursor.Rewind();
    }
    const auto& leaves = cursor.leaves.leaves;
    while (cursor.leaf < leaves.size()) {
        const SubkeyLeaf& leaf = leaves[cursor.leaf];
        if (cursor.position >= leaf.count) {
            ++cursor.leaf, cursor.position = 0;
            continue;
        }
        const uint64_t cell = CellPosition(LeafElement(image, leaf, cursor.position));
        if (ReadKeyRecord(image, cell)) {
            if (cursor.logical == index) {
                return cell;
            }
            ++cursor.logical;
        } else {
            damage.Note(DamageKind::RecordPassedOver, cell);
        }
        ++cursor.position;
    }
    return 0;
}

std::optional<ValueRecord> LocateValue(const ImageView& image, const KeyRecord& key,
                                       ValueCursor& cursor, uint32_t index, HiveDamage& damage) {
    if (index < cursor.logical) {
        cursor.Rewind();
    }
    const uint32_t length = ValueListLength(image, key);
    if (length < key.valueCount) {
        damage.Note(DamageKind::ListCut, key.cell + 1);  // +1: apart from the subkey list
    }
    while (cursor.physical < length) {
        if (auto value = ReadValueRecord(image, key, cursor.physical)) {
            if (cursor.logical == index) {
                return value;
            }
            ++cursor.logical;
        } else {
            damage.Note(DamageKind::RecordPassedOver, (key.cell << 32) | cursor.physical);
        }
        ++cursor.physical;
    }
    return std::nullopt;
}

// The user hive's root key stands for HKEY_CURRENT_USER and HKEY_USERS in value enumeration;
// each thread keeps its own cursor over it.
HiveKeyHandle* UserRootHandle() {
    thread_local HiveKeyHandle handle;
    const HiveImage* image = HiveInSlot(HiveSlot::NtUser);
    if (image == nullptr) {
        return nullptr;
    }
    if (handle.image != image || handle.generation != image->Generation()) {
        handle = HiveKeyHandle{};
        handle.image = image;
        handle.generation = image->Generation();
        handle.keyCell = image->RootCell();
    }
    return &handle;
}

}  // namespace

int32_t HiveOpenKey(HKEY key, const char16_t* path, HKEY* result) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (result == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (path == nullptr || path[0] == 0) {
        if (IsPredefinedKey(key)) {
            *result = key;
        } else {
            *result = NewHandle(AsHandle(key)->image, AsHandle(key)->keyCell);
        }
        return ERROR_SUCCESS;
    }
    const std::u16string_view text(path);
    *result = nullptr;
    switch (RootValue(key)) {
        case kLocalMachine:
            *result = OpenBelowRoot(kMachinePrefixes, text);
            break;
        case kCurrentUser:
        case kUsers:
            *result = OpenBelowRoot(kUserPrefixes, text);
            break;
        default:
            if (!IsPredefinedKey(key)) {
                const HiveKeyHandle* parent = AsHandle(key);
                const uint64_t cell = HiveFindSubkey(*parent->image, text, parent->keyCell);
                if (cell != 0) {
                    *result = NewHandle(parent->image, cell);
                }
            }
            break;
    }
    return ERROR_SUCCESS;
}

int32_t HiveCloseKey(HKEY key) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (!IsPredefinedKey(key)) {
        delete AsHandle(key);
    }
    return ERROR_SUCCESS;
}

int32_t HiveEnumKeyEx(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* /*reserved*/, char16_t* className, uint32_t* classLength,
                      FileTime* lastWrite, HKEY* subkey) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const HiveImage* hive = nullptr;
    uint64_t cell = 0;
    std::u16string_view listedName;
    std::optional<KeyRecord> record;

    auto pickListed = [&](const auto& hives) {
        uint32_t position = 0;
        for (const ListedHive& listed : hives) {
            const HiveImage* image = HiveInSlot(listed.slot);
            if (image == nullptr) {
                continue;
            }
            if (position++ == index) {
                hive = image;
                cell = image->RootCell();
                listedName = listed.name;
                return true;
            }
        }
        return false;
    };

    switch (RootValue(key)) {
        case kLocalMachine:
            if (!pickListed(kMachineHives)) {
                return ERROR_NO_MORE_ITEMS;
            }
            break;
        case kCurrentUser:
        case kUsers:
            if (!pickListed(kUserHives)) {
                return ERROR_NO_MORE_ITEMS;
            }
            break;
        default: {
            if (IsPredefinedKey(key)) {
                return ERROR_NO_MORE_ITEMS;
            }
            HiveKeyHandle* handle = AsHandle(key);
            hive = handle->image;
            const ImageView image = hive->View();
            auto parent = ReadKeyRecord(image, handle->keyCell);
            if (!parent || index >= parent->subkeyCount) {
                return ERROR_NO_MORE_ITEMS;
            }
            cell = LocateSubkey(image, *parent, handle->subkeys, index,
                                *handle->image->LoadReport().damage);
            if (cell == 0) {
                return ERROR_NO_MORE_ITEMS;
            }
            if (subkey != nullptr) {
                *subkey = NewHandle(hive, cell);
            }
            break;
        }
    }

    const ImageView image = hive->View();
    record = ReadKeyRecord(image, cell);
    int32_t status = ERROR_SUCCESS;
    if (name != nullptr && nameLength != nullptr) {
        std::u16string text(listedName);
        if (listedName.empty() && record) {
            AppendKeyName(image, *record, text);
        }
        if (StoreText(text, name, nameLength) != ERROR_SUCCESS) {
            status = ERROR_MORE_DATA;
        }
    }
    if (className != nullptr && classLength != nullptr) {
        if (!record || record->classLength == 0) {
            *classLength = 0;
        } else if (StoreText(KeyClassName(image, *record), className, classLength) !=
                   ERROR_SUCCESS) {
            status = ERROR_MORE_DATA;
        }
    }
    if (lastWrite != nullptr) {
        *lastWrite = record ? record->lastWrite : 0;
    }
    return status;
}

int32_t HiveEnumValue(HKEY key, uint32_t index, char16_t* name, uint32_t* nameLength,
                      uint32_t* /*reserved*/, uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    HiveKeyHandle* handle = nullptr;
    switch (RootValue(key)) {
        case kCurrentUser:
        case kUsers:
            handle = UserRootHandle();
            break;
        default:
            if (!IsPredefinedKey(key)) {
                handle = AsHandle(key);
            }
            break;
    }
    if (handle == nullptr) {
        return ERROR_NO_MORE_ITEMS;
    }
    const ImageView image = handle->image->View();
    auto keyRecord = ReadKeyRecord(image, handle->keyCell);
    if (!keyRecord || index >= keyRecord->valueCount) {
        return ERROR_NO_MORE_ITEMS;
    }
    auto value = LocateValue(image, *keyRecord, handle->values, index,
                             *handle->image->LoadReport().damage);
    if (!value) {
        return ERROR_NO_MORE_ITEMS;
    }

    int32_t status = ERROR_SUCCESS;
    if (name != nullptr && nameLength != nullptr) {
        std::u16string text;
        AppendValueName(image, *value, text);
        if (StoreText(text, name, nameLength) != ERROR_SUCCESS) {
            status = ERROR_MORE_DATA;
        }
    }
    if (type != nullptr) {
        *type = value->type;
    }
    if (dataSize != nullptr) {
        const ValueData located = LocateValueData(image, handle->image->MinorVersion(), *value);
        if (located.size == 0 && (value->dataLength & 0x7FFFFFFFu) != 0) {
            handle->image->LoadReport().damage->Note(DamageKind::DataUnreadable, value->record);
        }
        const uint32_t capacity = *dataSize;
        *dataSize = located.size;
        if (located.size > capacity) {
            return ERROR_MORE_DATA;
        }
        if (data != nullptr) {
            CopyValueData(image, located, std::span(data, located.size));
        }
    }
    return status;
}

const HiveImage* HiveImageOfKey(RootKey root, std::u16string_view path) {
    switch (root) {
        case kLocalMachine:
            return ImageBelowRoot(kMachinePrefixes, path);
        case kCurrentUser:
        case kUsers:
            return ImageBelowRoot(kUserPrefixes, path);
        default:
            return nullptr;
    }
}

uint64_t HiveKeyIdentity(HKEY key) {
    if (key == nullptr || IsPredefinedKey(key)) {
        return 0;
    }
    const HiveKeyHandle* handle = AsHandle(key);
    return (static_cast<uint64_t>(handle->generation) << 34) | handle->keyCell;  // cells: 33 bits
}

}  // namespace hivora

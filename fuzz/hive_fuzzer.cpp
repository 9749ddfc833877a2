// Loads the fuzz input as a hive image, walks every key and value through the enumeration
// calls and formats every value, exactly as the program's readers do.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "hive/DeletedRecords.h"
#include "hive/HiveSet.h"
#include "hive/RegistryReader.h"
#include "hive/WalkGuard.h"
#include "values/ValueFormat.h"

using namespace hivora;

namespace {

void Walk(HKEY key, int depth, WalkGuard& guard) {
    const WalkGuard::Visit visit = guard.Enter(key, depth);
    if (!visit.enter) {
        return;
    }
    if (visit.values) {
        for (uint32_t i = 0;; ++i) {
            ValueInfo info;
            if (EnumValueInfo(key, i, info) != ERROR_SUCCESS) {
                break;
            }
            std::vector<uint8_t> data;
            ReadValueData(key, i, info.size, data);
            const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
            FormatValueData(info.type, bytes, false);
            FormatValueData(info.type, bytes, true);
        }
    }
    if (visit.subkeys) {
        for (uint32_t i = 0;; ++i) {
            SubkeyInfo subkey;
            RegKey handle;
            if (EnumSubkey(key, i, subkey, &handle) != ERROR_SUCCESS) {
                break;
            }
            if (handle) {
                Walk(handle.get(), depth + 1, guard);
            }
        }
    }
}

// The deleted-record scan and everything the deleted command asks of its result.
void ScanDeleted(const HiveImage& hive) {
    const DeletedRecords records = ScanDeletedRecords(hive);
    for (size_t i = 0; i < records.Keys().size(); ++i) {
        records.KeyPath(i);
    }
    for (size_t i = 0; i < records.Values().size(); ++i) {
        records.PathOfKey(records.Values()[i].keyOffset);
        if (auto bytes = records.ValueBytes(i)) {
            FormatValueData(records.Values()[i].type, *bytes, false);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreeHiveSet();
    if (LoadHiveImage(HiveSlot::System, data, size) == 1) {
        LoadHiveImage(HiveSlot::NtUser, data, size);
        WalkGuard guard;
        Walk(HKEY_LOCAL_MACHINE, 0, guard);
        Walk(HKEY_USERS, 0, guard);
        RegKey deep = OpenRegKey(HKEY_LOCAL_MACHINE, u"system\\a\\b\\\\c");
        ScanDeleted(*HiveInSlot(HiveSlot::System));
    }
    FreeHiveSet();
    return 0;
}

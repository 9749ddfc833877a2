// Loads the fuzz input as a hive image and walks every key and value with the program's one
// registry walk, formatting every value, exactly as the program's readers do.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "hive/DeletedRecords.h"
#include "hive/HiveSet.h"
#include "hive/RegistryReader.h"
#include "keys/RegistryWalker.h"
#include "values/ValueFormat.h"

using namespace hivora;

namespace {

class FormatEveryValue : public WalkVisitor {
public:
    explicit FormatEveryValue(RegistryWalker& walker) : walker_(walker) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.reach != KeyReach::Open) {
            return WalkStep::Skip;
        }
        ValueInfo info;
        for (uint32_t i = 0; EnumValueInfo(key.key, i, info) == ERROR_SUCCESS; ++i) {
            walker_.ChargeValue(info.size);
            ReadValueData(key.key, i, info.size, data_);
            const std::string_view bytes(reinterpret_cast<const char*>(data_.data()), data_.size());
            FormatValueData(info.type, bytes, false);
            FormatValueData(info.type, bytes, true);
        }
        return WalkStep::Descend;
    }

private:
    RegistryWalker& walker_;
    std::vector<uint8_t> data_;
};

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
        RegistryWalker walker;
        FormatEveryValue visitor(walker);
        walker.Walk(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", visitor);
        walker.Walk(HKEY_USERS, "HKEY_USERS", visitor);
        RegKey deep = OpenRegKey(HKEY_LOCAL_MACHINE, u"system\\a\\b\\\\c");
        ScanDeleted(*HiveInSlot(HiveSlot::System));
    }
    FreeHiveSet();
    return 0;
}

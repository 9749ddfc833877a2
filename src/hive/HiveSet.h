// The hive file set in memory: eight slots, each holding one whole hive file or nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hive/HiveDamage.h"
#include "hive/HiveFileCheck.h"
#include "hive/ImageView.h"

namespace hivora {

// The eight positions of a file set, in the fixed order of LoadHiveSet's arguments.
enum class HiveSlot : int { System, NtUser, Software, Sam, Security, Default, Components, Bcd };
inline constexpr int kHiveSlotCount = 8;

struct LogReplayReport;  // what the transaction-log replay did; defined with the replay

// What happened while one hive was loaded, for the file set's description.
struct HiveLoadReport {
    std::string path;     // the hive file (UTF-8); empty for images loaded from memory
    HiveFileCheck check;  // a problem the file was loaded despite, or none
    // Set once transaction logs were looked for beside the file.
    std::shared_ptr<const LogReplayReport> logReplay;
    // What the engine has passed over so far while reading the image.
    std::shared_ptr<HiveDamage> damage = std::make_shared<HiveDamage>();
};

struct LoadOptions {
    bool applyLogs = true;  // replay the transaction logs found beside a hive file
};

// One whole hive file, byte for byte from file offset 0, after any repair made while loading.
class HiveImage {
public:
    explicit HiveImage(std::vector<uint8_t> bytes, HiveLoadReport report = {});

    ImageView View() const { return ImageView(bytes_.data(), bytes_.size()); }
    size_t size() const { return bytes_.size(); }

    // File offset of the root key's cell: 0x1020, or the base block's root cell when the
    // record at 0x1020 is not a key record.
    uint32_t RootCell() const { return rootCell_; }
    // Minor format version from the base block (3 for 1.3, 5 for 1.5, ...); 0 when unreadable.
    uint32_t MinorVersion() const { return minorVersion_; }
    // Slot the image was loaded into; set by LoadHiveSet, -1 for images loaded alone.
    int SlotIndex() const { return slotIndex_; }
    void SetSlotIndex(int slot) { slotIndex_ = slot; }
    // Unique per loaded image in this process; tells images apart when an address is reused.
    uint32_t Generation() const { return generation_; }
    const HiveLoadReport& LoadReport() const { return report_; }

private:
    std::vector<uint8_t> bytes_;
    HiveLoadReport report_;
    uint32_t rootCell_ = 0;
    uint32_t minorVersion_ = 0;
    int slotIndex_ = -1;
    uint32_t generation_ = 0;
};

// Loading a hive file, one step each: read the file, check it (CheckHiveBytes), prepare the
// image.
//
// The whole file, or nothing when it cannot be read, is not a regular file or is too large to
// be a hive (checked before anything is allocated).
std::optional<std::vector<uint8_t>> ReadHiveFile(const std::string& path);
// Makes the image the engine reads from checked bytes: replays the transaction logs beside
// `hivePath` when `options` ask for it (the bytes may change and grow), and keeps what
// happened in the image's load report.
std::unique_ptr<HiveImage> PrepareHiveImage(std::vector<uint8_t> bytes, const std::string& hivePath,
                                            const LoadOptions& options, HiveFileCheck check);

// Reads `path` (UTF-16) through the three steps. Returns 1 and the image when CheckHiveBytes
// finds it loadable, else 0 and a null image.
int LoadHiveFile(const char16_t* path, std::unique_ptr<HiveImage>& image,
                 const LoadOptions& options = {});

// Frees the current set, then loads each non-empty name into its slot with `options`. Returns
// 1 when at least one slot holds an image afterwards. Names are UTF-16, in HiveSlot order.
int LoadHiveSet(const char16_t* system, const char16_t* ntUser, const char16_t* software,
                const char16_t* sam, const char16_t* security, const char16_t* defaultHive,
                const char16_t* components, const char16_t* bcd, const LoadOptions& options = {});

// Puts an image made from `bytes` into `slot` (replacing what was there) when CheckHiveBytes
// finds them loadable; returns 1 then, else 0 and the slot is emptied. No logs are replayed.
// For tests and fuzzing.
int LoadHiveImage(HiveSlot slot, std::span<const uint8_t> bytes);
inline int LoadHiveImage(HiveSlot slot, const uint8_t* bytes, size_t size) {
    return LoadHiveImage(slot, std::span<const uint8_t>(bytes, bytes == nullptr ? 0 : size));
}

// Empties all eight slots.
void FreeHiveSet();

// The image in a slot, or nullptr when the slot is empty.
const HiveImage* HiveInSlot(HiveSlot slot);

}  // namespace hivora

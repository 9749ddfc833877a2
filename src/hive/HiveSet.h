// The hive file set in memory: eight slots, each holding one whole hive file or nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "hive/ImageView.h"

namespace hivora {

// The eight positions of a file set, in the fixed order of LoadHiveSet's arguments.
enum class HiveSlot : int { System, NtUser, Software, Sam, Security, Default, Components, Bcd };
inline constexpr int kHiveSlotCount = 8;

// One whole hive file, byte for byte from file offset 0.
class HiveImage {
public:
    HiveImage(std::unique_ptr<uint8_t[]> bytes, size_t size);

    ImageView View() const { return ImageView(bytes_.get(), size_); }
    size_t size() const { return size_; }

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

private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
    uint32_t rootCell_ = 0x1020;
    uint32_t minorVersion_ = 0;
    int slotIndex_ = -1;
    uint32_t generation_ = 0;
};

// Reads `path` (UTF-16) whole. Returns 1 and the image when it is a hive file (begins with
// "regf"), else 0 and a null image. Files of 4 GiB or more are refused.
int LoadHiveFile(const char16_t* path, std::unique_ptr<HiveImage>& image);

// Frees the current set, then loads each non-empty name into its slot. Returns 1 when at
// least one slot holds an image afterwards. Names are UTF-16, in HiveSlot order.
int LoadHiveSet(const char16_t* system, const char16_t* ntUser, const char16_t* software,
                const char16_t* sam, const char16_t* security, const char16_t* defaultHive,
                const char16_t* components, const char16_t* bcd);

// Puts an image made from `bytes` into `slot` (replacing what was there) when they begin with
// "regf"; returns 1 then, else 0 and the slot is emptied. For tests and fuzzing.
int LoadHiveImage(HiveSlot slot, const uint8_t* bytes, size_t size);

// Empties all eight slots.
void FreeHiveSet();

// The image in a slot, or nullptr when the slot is empty.
const HiveImage* HiveInSlot(HiveSlot slot);

}  // namespace hivora

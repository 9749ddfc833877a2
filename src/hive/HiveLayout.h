// Where the fields of a hive file lie: the base block, the hive bin header and the records
// inside cells. Shared by the decoders and the test hive builder, so that both agree on one
// layout and no offset is written as a bare number anywhere else.
//
// Record offsets count from the start of the record, that is four bytes into its cell (after
// the cell's size word).
#pragma once

#include <cstdint>

namespace hivora::layout {

// Base block: the first 4 KiB of the file.
inline constexpr uint64_t kBaseBlockSize = 0x1000;
inline constexpr uint32_t kSignature = 0x00;  // "regf"
inline constexpr uint32_t kPrimarySequence = 0x04;
inline constexpr uint32_t kSecondarySequence = 0x08;
inline constexpr uint32_t kBaseLastWrite = 0x0C;
inline constexpr uint32_t kMajorVersion = 0x14;
inline constexpr uint32_t kMinorVersion = 0x18;
inline constexpr uint32_t kFileType = 0x1C;    // 0 for a primary file
inline constexpr uint32_t kFileFormat = 0x20;  // 1: direct memory load
inline constexpr uint32_t kRootCellOffset = 0x24;
inline constexpr uint32_t kHiveBinsDataSize = 0x28;
inline constexpr uint32_t kClusteringFactor = 0x2C;
inline constexpr uint32_t kChecksum = 0x1FC;  // XOR of the 32-bit words before it

// Hive bins start right after the base block; a cell offset counts from there.
inline constexpr uint64_t kHiveBinsStart = kBaseBlockSize;
inline constexpr uint32_t kHiveBinAlignment = 0x1000;
inline constexpr uint32_t kBinOffsetField = 0x04;  // "hbin", then its own offset, then its size
inline constexpr uint32_t kBinSizeField = 0x08;
inline constexpr uint32_t kBinHeaderSize = 0x20;
inline constexpr uint32_t kCellSizeWord = 4;  // a cell starts with its size (negative: in use)
inline constexpr uint32_t kNoCell = 0xFFFFFFFF;

// Key record ("nk").
inline constexpr uint32_t kKeyFlags = 0x02;
inline constexpr uint32_t kKeyLastWrite = 0x04;
inline constexpr uint32_t kKeyParent = 0x10;
inline constexpr uint32_t kKeySubkeyCount = 0x14;
inline constexpr uint32_t kKeySubkeyList = 0x1C;
inline constexpr uint32_t kKeyVolatileList = 0x20;
inline constexpr uint32_t kKeyValueCount = 0x24;
inline constexpr uint32_t kKeyValueList = 0x28;
inline constexpr uint32_t kKeySecurity = 0x2C;
inline constexpr uint32_t kKeyClass = 0x30;
inline constexpr uint32_t kKeyNameLength = 0x48;
inline constexpr uint32_t kKeyClassLength = 0x4A;
inline constexpr uint32_t kKeyFixedSize = 0x4C;  // the name follows
inline constexpr uint16_t kKeyFlagHiveEntry = 0x0004;
inline constexpr uint16_t kKeyFlagNoDelete = 0x0008;
inline constexpr uint16_t kKeyFlagLatin1Name = 0x0020;

// Subkey lists ("li", "lf", "lh", "ri"): signature, 16-bit count, elements.
inline constexpr uint32_t kListCount = 0x02;
inline constexpr uint32_t kListElements = 0x04;

// Value record ("vk").
inline constexpr uint32_t kValueNameLength = 0x02;
inline constexpr uint32_t kValueDataLength = 0x04;
inline constexpr uint32_t kValueDataOffset = 0x08;  // also the data itself when resident
inline constexpr uint32_t kValueType = 0x0C;
inline constexpr uint32_t kValueFlags = 0x10;
inline constexpr uint32_t kValueFixedSize = 0x14;  // the name follows
inline constexpr uint16_t kValueFlagLatin1Name = 0x0001;
inline constexpr uint32_t kDataResident = 0x80000000u;  // bit 31 of the data length

// Big data ("db"): segment count, then the cell of the segment list.
inline constexpr uint32_t kBigDataSegmentCount = 0x02;
inline constexpr uint32_t kBigDataSegmentList = 0x04;
inline constexpr uint32_t kBigDataSegmentBytes = 16344;
inline constexpr uint32_t kBigDataMinorVersion = 4;  // formats before 1.4 have no "db"

}  // namespace hivora::layout

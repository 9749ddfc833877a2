#include "hive/TransactionLogFormat.h"

#include <fmt/format.h>

#include "hive/Marvin32.h"

namespace hivora {

namespace {

constexpr uint32_t kEntryHeaderSize = 40;
constexpr uint32_t kPageReferenceSize = 8;
constexpr uint32_t kBinAlignment = 4096;
constexpr uint32_t kFileTypeOldLog = 1;
constexpr uint32_t kFileTypeNewLog = 6;

bool HasTag(ImageView view, uint64_t offset, const char (&tag)[5]) {
    return view.HasSignature(offset, tag[0], tag[1]) &&
           view.HasSignature(offset + 2, tag[2], tag[3]);
}

uint64_t HashOf(ImageView view, uint64_t offset, uint64_t length) {
    const uint8_t* bytes = view.Bytes(offset, length);
    return Marvin32(std::span<const uint8_t>(bytes, static_cast<size_t>(length)),
                    kLogEntryHashSeed);
}

// Reads the entry at `offset`; on damage fills `damage` and returns nullopt. `size` receives
// the entry's length whenever its header is readable.
std::optional<LogEntry> ReadEntry(ImageView log, uint64_t offset, std::string& damage) {
    const uint32_t size = log.U32Or(offset + 4, 0);
    if (!log.Contains(offset, kEntryHeaderSize) || size < kEntryHeaderSize ||
        size % kLogSectorSize != 0 || !log.Contains(offset, size)) {
        damage = "entry runs past the end of the log";
        return std::nullopt;
    }
    if (HashOf(log, offset, 32) != *log.U64(offset + 32)) {
        damage = "entry header hash mismatch";
        return std::nullopt;
    }
    if (HashOf(log, offset + kEntryHeaderSize, size - kEntryHeaderSize) != *log.U64(offset + 24)) {
        damage = "entry data hash mismatch";
        return std::nullopt;
    }
    LogEntry entry;
    entry.sequence = *log.U32(offset + 12);
    entry.hiveBinsSize = *log.U32(offset + 16);
    const uint64_t pageCount = *log.U32(offset + 20);
    if (entry.hiveBinsSize == 0 || entry.hiveBinsSize % kBinAlignment != 0 ||
        entry.hiveBinsSize > kMaxHiveBinsSize) {
        damage =
            fmt::format("entry declares an impossible hive bins size {:#x}", entry.hiveBinsSize);
        return std::nullopt;
    }
    // The references and the pages both lie inside the entry, which bounds the page count.
    uint64_t dataOffset = kEntryHeaderSize + pageCount * kPageReferenceSize;
    if (dataOffset > size) {
        damage = fmt::format("entry declares {} pages, more than it can hold", pageCount);
        return std::nullopt;
    }
    entry.pages.reserve(static_cast<size_t>(pageCount));
    for (uint64_t i = 0; i < pageCount; ++i) {
        const uint64_t reference = offset + kEntryHeaderSize + i * kPageReferenceSize;
        const uint32_t binsOffset = *log.U32(reference);
        const uint32_t pageSize = *log.U32(reference + 4);
        if (pageSize == 0 || pageSize % kLogSectorSize != 0 || binsOffset % kLogSectorSize != 0 ||
            uint64_t{binsOffset} + pageSize > entry.hiveBinsSize) {
            damage = fmt::format("page at {:#x} ({:#x} bytes) lies outside the hive bins",
                                 binsOffset, pageSize);
            return std::nullopt;
        }
        if (pageSize > size - dataOffset) {
            damage = "page data runs past the end of the entry";
            return std::nullopt;
        }
        entry.pages.push_back({binsOffset, pageSize, offset + dataOffset});
        dataOffset += pageSize;
    }
    return entry;
}

void ParseNewLayout(ImageView log, ParsedLog& parsed) {
    uint64_t offset = kLogSectorSize;
    // Entries follow one another; the first offset without the signature ends the log.
    while (HasTag(log, offset, "HvLE")) {
        std::string damage;
        auto entry = ReadEntry(log, offset, damage);
        if (!entry) {
            parsed.damagedSequence = log.U32(offset + 12);
            parsed.damage = fmt::format("entry at {:#x}: {}", offset, damage);
            return;
        }
        offset += log.U32Or(offset + 4, 0);
        parsed.entries.push_back(std::move(*entry));
    }
}

void ParseOldLayout(ImageView log, ParsedLog& parsed) {
    const uint64_t binsSize = parsed.baseBlock.hiveBinsSize;
    if (binsSize == 0 || binsSize % kBinAlignment != 0 || binsSize > kMaxHiveBinsSize) {
        parsed.problem = fmt::format("impossible hive bins size {:#x}", binsSize);
        return;
    }
    if (!HasTag(log, kLogSectorSize, "DIRT")) {
        parsed.problem = "no dirty page bitmap (\"DIRT\") after the base block";
        return;
    }
    const uint64_t bitmapOffset = kLogSectorSize + 4;
    const uint64_t pageCount = binsSize / kLogSectorSize;
    const uint64_t bitmapBytes = pageCount / 8;
    const ImageView bitmap = log.Sub(bitmapOffset, bitmapBytes);
    if (!bitmap) {
        parsed.problem = "the dirty page bitmap is cut short";
        return;
    }
    const uint64_t pagesStart =
        (bitmapOffset + bitmapBytes + kLogSectorSize - 1) / kLogSectorSize * kLogSectorSize;
    uint64_t logOffset = pagesStart;
    for (uint64_t page = 0; page < pageCount; ++page) {
        if ((*bitmap.U8(page / 8) >> (page % 8) & 1) == 0) {
            continue;
        }
        const uint64_t binsOffset = page * kLogSectorSize;
        if (!log.Contains(logOffset, kLogSectorSize)) {
            parsed.problem = "the log ends before its last dirty page";
            return;
        }
        // A dirty page that starts a hive bin must name its own place.
        if (HasTag(log, logOffset, "hbin") && *log.U32(logOffset + 4) != binsOffset) {
            parsed.problem = fmt::format("dirty hive bin at {:#x} claims offset {:#x}", binsOffset,
                                         *log.U32(logOffset + 4));
            return;
        }
        auto& runs = parsed.dirtyRuns;
        if (!runs.empty() && uint64_t{runs.back().binsOffset} + runs.back().size == binsOffset) {
            runs.back().size += kLogSectorSize;
        } else {
            runs.push_back({static_cast<uint32_t>(binsOffset), kLogSectorSize, logOffset});
        }
        ++parsed.dirtyPageCount;
        logOffset += kLogSectorSize;
    }
}

}  // namespace

uint32_t BaseBlockChecksum(ImageView view) {
    uint32_t sum = 0;
    for (uint64_t offset = 0; offset < 508; offset += 4) {
        sum ^= view.U32Or(offset, 0);
    }
    return view.Contains(0, kLogSectorSize) ? sum : 0;
}

std::optional<BaseBlockFields> ReadBaseBlock(ImageView view) {
    if (!view.Contains(0, kLogSectorSize) || !HasTag(view, 0, "regf")) {
        return std::nullopt;
    }
    BaseBlockFields fields;
    fields.primarySequence = *view.U32(4);
    fields.secondarySequence = *view.U32(8);
    fields.lastWritten = *view.U64(12);
    fields.fileType = *view.U32(28);
    fields.hiveBinsSize = *view.U32(40);
    fields.checksumOk = BaseBlockChecksum(view) == *view.U32(508);
    return fields;
}

ParsedLog ParseTransactionLog(std::span<const uint8_t> bytes) {
    const ImageView log(bytes.data(), bytes.size());
    ParsedLog parsed;
    auto base = ReadBaseBlock(log);
    if (!base) {
        parsed.problem = bytes.empty() ? "empty" : "no base block";
        return parsed;
    }
    parsed.baseBlock = *base;
    if (!base->checksumOk) {
        parsed.problem = "base block checksum is wrong";
    } else if (base->fileType == kFileTypeNewLog) {
        parsed.layout = ParsedLog::Layout::New;
        ParseNewLayout(log, parsed);
    } else if (base->fileType == kFileTypeOldLog) {
        if (base->primarySequence != base->secondarySequence) {
            parsed.problem = "the log itself was not completely written";
            return parsed;
        }
        ParseOldLayout(log, parsed);
        if (parsed.problem.empty()) {
            parsed.layout = ParsedLog::Layout::Old;
        }
    } else {
        parsed.problem = fmt::format("not a transaction log (file type {})", base->fileType);
    }
    return parsed;
}

}  // namespace hivora

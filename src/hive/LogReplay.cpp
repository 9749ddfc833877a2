#include "hive/LogReplay.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <fmt/format.h>

#include "hive/ImageView.h"
#include "hive/TransactionLogFormat.h"

namespace hivora {

namespace {

constexpr uint64_t kFirstBinTimestamp = kBaseBlockSize + 20;

struct CandidateLog {
    const TransactionLogFile* file;
    ParsedLog parsed;
};

struct ChainedEntry {
    const LogEntry* entry;
    const TransactionLogFile* file;
    uint32_t logSequence;  // the log's own base block sequence: newer logs win ties
};

void PutU32(std::vector<uint8_t>& image, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        image[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Makes the base block describe a hive at rest after `sequence`.
void SealBaseBlock(std::vector<uint8_t>& image, uint32_t sequence, uint32_t hiveBinsSize) {
    PutU32(image, 4, sequence);
    PutU32(image, 8, sequence);
    PutU32(image, 28, 0);
    PutU32(image, 40, hiveBinsSize);
    PutU32(image, 508, BaseBlockChecksum(ImageView(image.data(), image.size())));
}

// Grows the image (zero-filled) so that hive bins of `hiveBinsSize` fit; never shrinks it.
void FitHiveBins(std::vector<uint8_t>& image, uint32_t hiveBinsSize) {
    image.resize(std::max<size_t>(image.size(), size_t{kBaseBlockSize} + hiveBinsSize));
}

// A log grows the hive only by the pages it holds, so hive bins larger than the image and the
// logs together are a damaged size field; growing to it would allocate up to 4 GiB for nothing.
bool LogsCanFill(const std::vector<uint8_t>& image, uint32_t hiveBinsSize, uint64_t logBytes) {
    return uint64_t{kBaseBlockSize} + hiveBinsSize <= image.size() + logBytes;
}

LogReplayReport Oversized(LogReplayReport report, uint32_t hiveBinsSize) {
    report.state = LogReplayReport::State::NotApplied;
    report.reason =
        fmt::format("hive bins size {} is more than the hive and its logs hold", hiveBinsSize);
    return report;
}

void CopyRuns(std::vector<uint8_t>& image, const TransactionLogFile& log,
              const std::vector<LogPageRun>& runs) {
    // Every run was checked against the log when parsed and against the hive bins size the
    // image was grown to.
    for (const auto& run : runs) {
        std::memcpy(image.data() + kBaseBlockSize + run.binsOffset,
                    log.bytes.data() + run.logOffset, run.size);
    }
}

void RecoverBaseBlock(std::vector<uint8_t>& image, const TransactionLogFile& log) {
    std::memcpy(image.data(), log.bytes.data(), kLogSectorSize);
}

std::string Join(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

LogReplayReport ReplayNewLayout(std::vector<uint8_t>& image,
                                const std::optional<BaseBlockFields>& primary,
                                const std::vector<CandidateLog>& logs, LogReplayReport report) {
    // A damaged primary base block is replaced by the first log's, which also tells where the
    // entries continue.
    const CandidateLog* recoverFrom = nullptr;
    uint32_t start = 0;
    if (primary && primary->checksumOk) {
        start = primary->secondarySequence;
    } else {
        recoverFrom = &logs.front();
        start = recoverFrom->parsed.baseBlock.secondarySequence;
    }

    std::vector<ChainedEntry> chain;
    bool anyEntries = false;
    for (const auto& log : logs) {
        for (const auto& entry : log.parsed.entries) {
            anyEntries = true;
            // Entries older than the log's own base block are leftovers of its previous use.
            if (entry.sequence >= start &&
                entry.sequence >= log.parsed.baseBlock.secondarySequence) {
                chain.push_back({&entry, log.file, log.parsed.baseBlock.secondarySequence});
            }
        }
    }
    std::sort(chain.begin(), chain.end(), [](const ChainedEntry& a, const ChainedEntry& b) {
        return a.entry->sequence != b.entry->sequence ? a.entry->sequence < b.entry->sequence
                                                      : a.logSequence > b.logSequence;
    });

    // Entries apply while each continues the previous one's sequence number.
    std::vector<ChainedEntry> applied;
    for (const auto& link : chain) {
        if (applied.empty() || link.entry->sequence == applied.back().entry->sequence + 1) {
            applied.push_back(link);
        } else if (link.entry->sequence != applied.back().entry->sequence) {
            break;
        }
    }

    std::string stop;
    // 64 bits, so that the entry after 0xFFFFFFFF is simply never found.
    const uint64_t next = applied.empty() ? start : uint64_t{applied.back().entry->sequence} + 1;
    // A damaged entry explains the stop when it is the one that would have come next: it
    // claims that number, or it directly follows the last applied entry in its log.
    for (const auto& log : logs) {
        const auto& sound = log.parsed.entries;
        const auto claimed = log.parsed.damagedSequence;
        if (!log.parsed.damage.empty() &&
            (applied.empty() || (claimed && *claimed == next) ||
             (!sound.empty() && sound.back().sequence == applied.back().entry->sequence))) {
            stop = fmt::format("{}: {}", log.file->name, log.parsed.damage);
        }
    }
    auto later = std::find_if(chain.begin(), chain.end(), [&](const ChainedEntry& link) {
        return link.entry->sequence > next;
    });
    if (stop.empty() && later != chain.end()) {
        stop =
            fmt::format("sequence gap: no entry {} before entry {}", next, later->entry->sequence);
    }

    if (applied.empty()) {
        report.state = LogReplayReport::State::NotApplied;
        if (!stop.empty()) {
            report.reason = stop;
        } else if (anyEntries) {
            report.reason = fmt::format("the logs are older than the hive (sequence {})", start);
        } else {
            report.reason = "the logs hold no entries";
        }
        return report;
    }

    uint32_t largestBins = 0;
    for (const auto& link : applied) {
        largestBins = std::max(largestBins, link.entry->hiveBinsSize);
    }
    uint64_t logBytes = 0;
    for (const auto& log : logs) {
        logBytes += log.file->bytes.size();
    }
    if (!LogsCanFill(image, largestBins, logBytes)) {
        return Oversized(std::move(report), largestBins);
    }
    FitHiveBins(image, largestBins);
    if (recoverFrom) {
        RecoverBaseBlock(image, *recoverFrom->file);
        report.baseBlockRecovered = true;
    }
    for (const auto& link : applied) {
        CopyRuns(image, *link.file, link.entry->pages);
    }
    const LogEntry& last = *applied.back().entry;
    SealBaseBlock(image, last.sequence + 1, last.hiveBinsSize);

    report.state = LogReplayReport::State::Applied;
    report.entries = static_cast<uint32_t>(applied.size());
    report.fromSequence = applied.front().entry->sequence;
    report.toSequence = last.sequence;
    report.reason = stop;
    return report;
}

LogReplayReport ReplayOldLayout(std::vector<uint8_t>& image,
                                const std::optional<BaseBlockFields>& primary,
                                const CandidateLog& log, LogReplayReport report) {
    const BaseBlockFields& logBase = log.parsed.baseBlock;
    const bool primaryOk = primary && primary->checksumOk;
    if (primaryOk && logBase.primarySequence <= primary->secondarySequence) {
        report.state = LogReplayReport::State::NotApplied;
        report.reason =
            fmt::format("{}: older than the hive (sequence {}, hive {})", log.file->name,
                        logBase.primarySequence, primary->secondarySequence);
        return report;
    }
    if (!LogsCanFill(image, logBase.hiveBinsSize, log.file->bytes.size())) {
        return Oversized(std::move(report), logBase.hiveBinsSize);
    }
    FitHiveBins(image, logBase.hiveBinsSize);
    // The log's base block is the one the hive was about to get; it also replaces a damaged one.
    RecoverBaseBlock(image, *log.file);
    CopyRuns(image, *log.file, log.parsed.dirtyRuns);
    SealBaseBlock(image, logBase.primarySequence, logBase.hiveBinsSize);

    report.state = LogReplayReport::State::Applied;
    report.baseBlockRecovered = !primaryOk;
    report.entries = log.parsed.dirtyPageCount;
    report.fromSequence = primaryOk ? primary->secondarySequence : logBase.primarySequence;
    report.toSequence = logBase.primarySequence;
    return report;
}

}  // namespace

bool IsHiveDirty(std::span<const uint8_t> baseBlock) {
    const auto fields = ReadBaseBlock(ImageView(baseBlock.data(), baseBlock.size()));
    return !fields || !fields->checksumOk || fields->primarySequence != fields->secondarySequence;
}

LogReplayReport ReplayTransactionLogs(std::vector<uint8_t>& image,
                                      const std::vector<TransactionLogFile>& logs) {
    LogReplayReport report;
    for (const auto& log : logs) {
        report.logFiles.push_back(log.name);
    }
    if (!IsHiveDirty(image)) {
        return report;
    }
    report.state = LogReplayReport::State::NotApplied;
    const ImageView view(image.data(), image.size());
    const auto primary = ReadBaseBlock(view);
    if (!view.HasSignature(0, 'r', 'e') || !view.Contains(0, kBaseBlockSize)) {
        report.reason = "the hive has no base block";
        return report;
    }
    if (logs.empty()) {
        report.reason = "no transaction logs beside the hive";
        return report;
    }

    // Logs of this hive carry its last-written time. A damaged base block may still hold it;
    // the first hive bin keeps an older copy of it too.
    std::vector<uint64_t> hiveTimes;
    if (primary) {
        hiveTimes.push_back(primary->lastWritten);
    }
    if (!(primary && primary->checksumOk) && view.HasSignature(kBaseBlockSize, 'h', 'b')) {
        hiveTimes.push_back(view.U64(kFirstBinTimestamp).value_or(0));
    }
    const auto ofThisHive = [&](const ParsedLog& parsed) {
        return std::find(hiveTimes.begin(), hiveTimes.end(), parsed.baseBlock.lastWritten) !=
               hiveTimes.end();
    };
    std::vector<CandidateLog> newLogs;
    std::vector<CandidateLog> oldLogs;
    std::vector<std::string> problems;
    for (const auto& log : logs) {
        CandidateLog candidate{&log, ParseTransactionLog(log.bytes)};
        const ParsedLog& parsed = candidate.parsed;
        if (parsed.layout == ParsedLog::Layout::Unusable) {
            problems.push_back(fmt::format("{}: {}", log.name, parsed.problem));
        } else if (!ofThisHive(parsed)) {
            problems.push_back(
                fmt::format("{}: belongs to another hive (last-written time differs)", log.name));
        } else if (parsed.layout == ParsedLog::Layout::New) {
            newLogs.push_back(std::move(candidate));
        } else {
            oldLogs.push_back(std::move(candidate));
        }
    }
    if (!newLogs.empty()) {
        return ReplayNewLayout(image, primary, newLogs, std::move(report));
    }
    if (!oldLogs.empty()) {
        return ReplayOldLayout(image, primary, oldLogs.front(), std::move(report));
    }
    report.reason = problems.empty() ? "no usable transaction log" : Join(problems);
    return report;
}

}  // namespace hivora

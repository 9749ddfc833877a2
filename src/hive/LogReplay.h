// Replaying transaction logs into a dirty hive image, in memory only.
//
// Replay either brings the image to the state the logs describe (a consistent hive: sequence
// numbers equal, checksum recomputed, grown when the logs extend the hive bins) or leaves it
// exactly as it was and says why.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hive/TransactionLogFiles.h"

namespace hivora {

struct LogReplayReport {
    enum class State { Clean, Applied, NotApplied };
    State state = State::Clean;
    std::vector<std::string> logFiles;  // names of the logs offered
    uint32_t entries = 0;               // log entries (new layout) or dirty pages (old) applied
    uint32_t fromSequence = 0;
    uint32_t toSequence = 0;
    bool baseBlockRecovered = false;  // the hive's own base block was damaged and replaced
    std::string reason;               // why nothing was applied, or why replay stopped early
};

// True when the base block's sequence numbers differ or its checksum is wrong (or there is
// no readable base block at all).
bool IsHiveDirty(std::span<const uint8_t> baseBlock);

// Applies `logs` to `image` when the hive is dirty. `image` changes only when the report says
// Applied.
LogReplayReport ReplayTransactionLogs(std::vector<uint8_t>& image,
                                      const std::vector<TransactionLogFile>& logs);

}  // namespace hivora

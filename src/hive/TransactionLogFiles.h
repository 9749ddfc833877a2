// Finding and reading the transaction logs that sit beside a hive file. Nothing here writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hivora {

// One transaction log, by file name, with its whole content.
struct TransactionLogFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// The logs beside `hive`: files in its folder named like it followed by ".LOG1", ".LOG2" or
// ".LOG", letter case ignored, in that order.
std::vector<std::filesystem::path> FindTransactionLogs(const std::filesystem::path& hive);

// FindTransactionLogs, each read whole. Files that cannot be read, or of 4 GiB or more, are
// left out.
std::vector<TransactionLogFile> ReadTransactionLogs(const std::filesystem::path& hive);

}  // namespace hivora

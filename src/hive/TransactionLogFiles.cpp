#include "hive/TransactionLogFiles.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

namespace hivora {

namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

constexpr uint64_t kMaxLogSize = 0xFFFFFFFFull;

}  // namespace

std::vector<std::filesystem::path> FindTransactionLogs(const std::filesystem::path& hive) {
    constexpr std::array<std::string_view, 3> kSuffixes = {".log1", ".log2", ".log"};
    const std::filesystem::path folder =
        hive.has_parent_path() ? hive.parent_path() : std::filesystem::path(".");
    const std::string hiveName = AsciiLower(hive.filename().string());

    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) {
            candidates.push_back(it->path());
        }
    }
    std::sort(candidates.begin(), candidates.end());

    std::vector<std::filesystem::path> logs;
    for (std::string_view suffix : kSuffixes) {
        const std::string wanted = hiveName + std::string(suffix);
        auto match = std::find_if(candidates.begin(), candidates.end(), [&](const auto& path) {
            return AsciiLower(path.filename().string()) == wanted;
        });
        if (match != candidates.end()) {
            logs.push_back(*match);
        }
    }
    return logs;
}

std::vector<TransactionLogFile> ReadTransactionLogs(const std::filesystem::path& hive) {
    std::vector<TransactionLogFile> logs;
    for (const auto& path : FindTransactionLogs(hive)) {
        std::error_code error;
        const uint64_t size = std::filesystem::file_size(path, error);
        if (error || size > kMaxLogSize) {
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        TransactionLogFile log{path.filename().string(), std::vector<uint8_t>(size)};
        if (in && in.read(reinterpret_cast<char*>(log.bytes.data()),
                          static_cast<std::streamsize>(size))) {
            logs.push_back(std::move(log));
        }
    }
    return logs;
}

}  // namespace hivora

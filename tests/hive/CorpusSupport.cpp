#include "hive/CorpusSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "hive/HiveSet.h"
#include "support/TextConvert.h"

namespace hivora::test {

std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("HIVORA_CORPUS");
    std::error_code error;
    return env != nullptr && std::filesystem::is_directory(env, error) ? env : "";
}

std::vector<std::filesystem::path> CorpusHives(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> hives;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        char signature[4] = {};
        if (entry.is_regular_file() &&
            std::ifstream(entry.path(), std::ios::binary).read(signature, 4) &&
            std::string_view(signature, 4) == "regf") {
            hives.push_back(entry.path());
        }
    }
    std::sort(hives.begin(), hives.end());
    return hives;
}

std::string CorpusName(const std::filesystem::path& folder, const std::filesystem::path& file) {
    return file.lexically_relative(folder).generic_string();
}

bool LoadIntoSystemSlot(const std::filesystem::path& file) {
    const std::u16string name = ToUtf16(file.string());
    // The primary file as it is: the pinned counts and the oracles read no logs.
    return LoadHiveSet(name.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       LoadOptions{.applyLogs = false}) == 1;
}

}  // namespace hivora::test

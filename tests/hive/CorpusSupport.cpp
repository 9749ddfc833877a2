#include "hive/CorpusSupport.h"

#include <algorithm>
#include <cstdio>
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

bool HaveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::optional<std::string> RunTool(const std::string& tool, const std::filesystem::path& file) {
    std::string command = tool + " '";
    for (char c : file.string()) {
        command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    FILE* pipe = ::popen((command + "' 2>/dev/null").c_str(), "r");
    std::string out;
    char buffer[65536];
    for (size_t got; pipe != nullptr && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    if (pipe == nullptr || ::pclose(pipe) != 0) {
        return std::nullopt;
    }
    return out;
}

}  // namespace hivora::test

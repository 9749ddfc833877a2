// Temporary paths that are unique per test process, so that tests running in parallel
// (ctest -j) never share a file or folder.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace hivora::test {

inline std::filesystem::path UniqueTempPath(const std::string& name) {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           (name + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
}

}  // namespace hivora::test

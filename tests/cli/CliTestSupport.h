// Runs the built hivora-cli on hive files written to a temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/HiveBuilder.h"

namespace hivora::test {

constexpr FileTime kNoon2020 = 132223536000000000ull;  // 2020-01-01 12:00:00

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(Tool())) {
            GTEST_SKIP() << "hivora-cli was not built at " << Tool();
        }
        char pattern[] = "/tmp/hivora-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        temp_ = pattern;
    }
    void TearDown() override {
        if (!temp_.empty()) {
            std::filesystem::remove_all(temp_);
        }
    }

    static std::string Tool() { return std::string(HIVORA_BINARY_DIR) + "/bin/hivora-cli"; }

    // Writes `hive` as `name` below the temporary folder (creating folders); returns its path.
    std::string Write(const std::string& name, const HiveBuilder& hive) {
        const BuiltHive built = hive.Build();
        return WriteBytes(name, std::string(built.bytes.begin(), built.bytes.end()));
    }
    std::string WriteBytes(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = temp_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    CliRun Run(const std::vector<std::string>& args) const {
        std::string command = environment_ + Quote(Tool());
        for (const std::string& arg : args) {
            command += " " + Quote(arg);
        }
        const std::string outFile = (temp_ / "stdout").string();
        const std::string errFile = (temp_ / "stderr").string();
        command += " >" + Quote(outFile) + " 2>" + Quote(errFile) + " </dev/null";
        CliRun run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(outFile);
        run.err = Slurp(errFile);
        return run;
    }

    std::filesystem::path temp_;
    std::string environment_;  // "NAME=value " settings put before the command

    static std::string Quote(const std::string& text) {
        std::string quoted = "'";
        for (char c : text) {
            quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        return buffer.str();
    }
};

}  // namespace hivora::test

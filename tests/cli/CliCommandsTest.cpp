#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <tuple>

#include "cli/CliTestSupport.h"
#include "support/ReplacingFile.h"

namespace hivora::test {
namespace {

HiveBuilder SystemHive() {
    HiveBuilder b;
    const auto select = b.AddKey(HiveBuilder::kRoot, u"Select");
    b.AddDword(select, u"Current", 1);
    const auto control = b.AddPath(HiveBuilder::kRoot, u"ControlSet001\\Control");
    b.AddString(control, u"Run", u"alpha");
    b.AddString(control, u"RunOnce", std::u16string_view(u"one\0run me\0", 11), REG_MULTI_SZ);
    b.AddKey(control, u"Run");
    return b;
}

HiveBuilder UserHive() {
    HiveBuilder b;
    b.AddPath(HiveBuilder::kRoot, u"Software\\Run");
    return b;
}

HiveBuilder ClassesHive() {
    HiveBuilder b;
    b.AddPath(HiveBuilder::kRoot, u"Classes\\.txt");
    return b;
}

// The options reach the file-set rules (checked on their own in tests/fileset); a file that
// fails is named on one line of standard error and the others still load.
TEST_F(CliTest, FileSetOptionsPlaceFilesAndReportBadOnes) {
    Write("hives/SYSTEM", SystemHive());
    Write("hives/Software", ClassesHive());
    const std::string user = Write("profile/NtUser.dat", UserHive());
    const std::string notHive = WriteBytes("junk/sam", "MZ not a hive");
    const std::string oddName = Write("odd/mystery.hive", UserHive());
    const std::string hives = (temp_ / "hives").string();
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;  // a text the one line of standard error holds, empty for no line
    };
    const Row rows[] = {
        {{"--dir", hives, "ls", "HKEY_LOCAL_MACHINE"}, 0, "software\nsystem\n", ""},
        {{user, "ls", "HKEY_USERS\\NTUSER\\software"}, 0, "Run\n", ""},
        {{"--dir", hives, "--sam", notHive, "ls", "HKEY_LOCAL_MACHINE"},
         2,
         "software\nsystem\n",
         "hivora-cli: not a registry hive file: " + notHive + "\n"},
        {{"--system", "/nonexistent/SYSTEM", "ls"},
         2,
         "HKEY_LOCAL_MACHINE\nHKEY_USERS\n",
         "hivora-cli: Unable to open /nonexistent/SYSTEM: No such file or directory\n"},
        {{oddName, "ls"}, 2, "", "--system"},
    };
    for (const Row& row : rows) {
        const CliRun run = Run(row.args);
        EXPECT_EQ(run.status, row.status) << row.args[0];
        EXPECT_EQ(run.out, row.out) << row.args[0];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), row.err.empty() ? 0 : 1)
            << run.err;
        EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
    }
}

class CliOnSystem : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        system_ = Write("SYSTEM", SystemHive());
        user_ = Write("NTUSER.DAT", UserHive());
    }
    CliRun RunOn(std::vector<std::string> args) const {
        args.insert(args.begin(), {system_, user_});
        return Run(args);
    }

    std::string system_;
    std::string user_;
};

// The listing texts are the core's; here each command's wiring and exit codes.
TEST_F(CliOnSystem, LsValuesAndShowPrintWhatTheyFindAndExitByTheOutcome) {
    const std::string control = "HKEY_LOCAL_MACHINE\\system\\ControlSet001\\Control";
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {{"ls"}, 0, "HKEY_LOCAL_MACHINE\nHKEY_USERS\n"},
        {{"ls", "hkey_local_machine\\SYSTEM\\"}, 0, "Select\nControlSet001\n"},
        {{"ls", "HKEY_LOCAL_MACHINE\\system\\Nope"}, 1, ""},
        {{"ls", "HKEY_CURRENT_USER\\Software"}, 2, ""},
        {{"values", control},
         0,
         "(Default)\tREG_SZ\t(value not set)\nRun\tREG_SZ\talpha\n"
         "RunOnce\tREG_MULTI_SZ\tone | run me\n"},
        {{"values", control + "\\Gone"}, 1, ""},
        {{"show", control, "runonce"}, 0, "one\r\nrun me\n"},
        {{"show", control, "(Default)"}, 1, ""},  // a missing default is no value
        {{"show", control}, 2, ""},
    };
    for (const Row& row : rows) {
        const CliRun run = RunOn(row.args);
        EXPECT_EQ(run.status, row.status) << row.args.back() << ": " << run.err;
        EXPECT_EQ(run.out, row.out) << row.args.back();
    }
}

// Export, statistics and dump reach their core walks (checked in tests/export and
// tests/viewers); here where their text goes and how they end.
TEST_F(CliOnSystem, ExportStatsDescribeAndDumpWriteWhereAsked) {
    const std::string control = "HKEY_LOCAL_MACHINE\\system\\ControlSet001\\Control";
    const std::string file = (temp_ / "branch.reg").string();
    CliRun run = RunOn({"export-reg", "--branch", control, "-o", file});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("milliseconds taken.\n1 keys, 2 values\n"), std::string::npos);
    const std::string written = Slurp(file);
    EXPECT_EQ(written.rfind("REGEDIT4\r\n", 0), 0u);
    run = RunOn({"export-reg", "--branch", control});
    EXPECT_EQ(run.out.substr(run.out.find("\r\n[")), written.substr(written.find("\r\n[")));

    run = Run({"--system", system_, "stats"});
    EXPECT_EQ(run.out.rfind("SYSTEM:\n    " + system_ + "\n    (", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\n5 keys, 3 values\n"), std::string::npos) << run.out;
    EXPECT_EQ(
        RunOn({"dump", "HKEY_LOCAL_MACHINE\\system\\Select", "CURRENT", "--mode", "words"}).out,
        "0000: 0001 0000 \n");
}

TEST_F(CliOnSystem, ExportAndDumpFailuresNameTheirCause) {
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        {{"export-reg", "-o", "/no/such/folder/x.reg"},
         2,
         "hivora-cli: Unable to create output file\n"},
        {{"export-text", "-o", "/dev/full"},
         2,
         "hivora-cli: Unable to write /dev/full: No space left on device\n"},
        {{"dump", "HKEY_LOCAL_MACHINE\\system\\Select", "missing"},
         1,
         "hivora-cli: HKEY_LOCAL_MACHINE\\system\\Select: no value named \"missing\"\n"},
    };
    for (const auto& [args, status, message] : rows) {
        const CliRun run = RunOn(args);
        EXPECT_EQ(run.status, status) << args[0];
        EXPECT_EQ(run.err, message) << args[0];
    }
}

TEST_F(CliOnSystem, AnUnfinishedFileNeverTakesTheFinalName) {
    const std::string file = (temp_ / "kept.reg").string();
    std::ofstream(file) << "before";
    {
        ReplacingFile unfinished(file);
        ASSERT_EQ(::write(unfinished.Descriptor(), "half", 4), 4);
    }
    EXPECT_EQ(Slurp(file), "before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_), {}), 3);  // + the hives
    ASSERT_EQ(RunOn({"export-reg", "-o", file}).status, 0);
    EXPECT_EQ(Slurp(file).rfind("REGEDIT4\r\n", 0), 0u);
}

}  // namespace
}  // namespace hivora::test

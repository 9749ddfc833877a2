#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"

namespace hivora::test {
namespace {

// 2020-01-01 12:00:00 as a FILETIME.
constexpr FileTime kNoon2020 = 132223536000000000ull;
constexpr FileTime kSecond = 10000000ull;

HiveBuilder SystemHive() {
    HiveBuilder b;
    const auto select = b.AddKey(HiveBuilder::kRoot, u"Select");
    b.AddDword(select, u"Current", 1);
    b.SetLastWrite(select, kNoon2020 - kSecond);
    const auto control = b.AddPath(HiveBuilder::kRoot, u"ControlSet001\\Control");
    b.SetLastWrite(control, kNoon2020);
    b.AddString(control, u"Run", u"alpha");
    b.AddString(control, u"RunOnce", std::u16string_view(u"one\0run me\0", 11), REG_MULTI_SZ);
    b.SetLastWrite(b.AddKey(control, u"Run"), kNoon2020 + 86400 * kSecond);
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

TEST_F(CliTest, FileSetOptionsPlaceFilesAndReportBadOnes) {
    Write("hives/SYSTEM", SystemHive());
    Write("hives/Software", ClassesHive());
    const std::string user = Write("profile/NtUser.dat", UserHive());
    const std::string notHive = WriteBytes("junk/sam", "MZ not a hive");
    const std::string oddName = Write("odd/mystery.hive", UserHive());
    const std::string hives = (temp_ / "hives").string();

    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;  // expected stderr text, empty for none
    };
    const Row rows[] = {
        {"folder", {"--dir", hives, "ls", "HKEY_LOCAL_MACHINE"}, 0, "software\nsystem\n", ""},
        {"folder and profile",
         {"--dir", hives, "--user-dir", (temp_ / "profile").string(), "ls", "hkey_users"},
         0,
         "NTUSER\n",
         ""},
        {"file placed by its name", {user, "ls", "HKEY_USERS\\NTUSER\\software"}, 0, "Run\n", ""},
        {"slot option wins over the folder",
         {"--dir", hives, "--system", user, "ls", "HKEY_LOCAL_MACHINE\\system"},
         0,
         "Software\n",
         ""},
        {"not a hive: the others still load",
         {"--dir", hives, "--sam", notHive, "ls", "HKEY_LOCAL_MACHINE"},
         2,
         "software\nsystem\n",
         "hivora-cli: not a registry hive file: " + notHive + "\n"},
        {"missing file",
         {"--system", "/nonexistent/SYSTEM", "ls"},
         2,
         "HKEY_LOCAL_MACHINE\nHKEY_USERS\n",
         "hivora-cli: Unable to open /nonexistent/SYSTEM: No such file or directory\n"},
        {"name that fits no slot", {oddName, "ls"}, 2, "", ""},
        {"no files", {"ls"}, 2, "", ""},
        {"folder without hives", {"--dir", (temp_ / "odd").string(), "ls"}, 2, "", ""},
    };
    for (const Row& row : rows) {
        const CliRun run = Run(row.args);
        EXPECT_EQ(run.status, row.status) << row.name;
        EXPECT_EQ(run.out, row.out) << row.name;
        if (!row.err.empty()) {
            EXPECT_EQ(run.err, row.err) << row.name;
        } else if (row.status == 2) {
            // One line that names the problem.
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << row.name << run.err;
        }
    }
    const CliRun odd = Run({oddName, "ls"});
    EXPECT_NE(odd.err.find(oddName), std::string::npos);
    EXPECT_NE(odd.err.find("--system"), std::string::npos);
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

TEST_F(CliOnSystem, LsListsSubkeysInEnumerationOrder) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {"the two roots", {"ls"}, 0, "HKEY_LOCAL_MACHINE\nHKEY_USERS\n"},
        {"hives under a root", {"ls", "HKEY_LOCAL_MACHINE"}, 0, "system\n"},
        {"any case, trailing backslash",
         {"ls", "hkey_local_machine\\SYSTEM\\"},
         0,
         "Select\nControlSet001\n"},
        {"a key without subkeys", {"ls", "HKEY_LOCAL_MACHINE\\system\\Select"}, 0, ""},
        {"no such key", {"ls", "HKEY_LOCAL_MACHINE\\system\\Nope"}, 1, ""},
        {"another root", {"ls", "HKEY_CURRENT_USER\\Software"}, 2, ""},
        {"empty component", {"ls", "HKEY_LOCAL_MACHINE\\system\\\\Select"}, 2, ""},
    };
    for (const Row& row : rows) {
        const CliRun run = RunOn(row.args);
        EXPECT_EQ(run.status, row.status) << row.name << ": " << run.err;
        EXPECT_EQ(run.out, row.out) << row.name;
    }
}

TEST_F(CliOnSystem, ValuesAndShowPrintTheListAndTheDataText) {
    const std::string control = "HKEY_LOCAL_MACHINE\\system\\ControlSet001\\Control";
    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {"the list with its default row",
         {"values", control},
         0,
         "(Default)\tREG_SZ\t(value not set)\nRun\tREG_SZ\talpha\n"
         "RunOnce\tREG_MULTI_SZ\tone | run me\n"},
        {"values of a missing key", {"values", control + "\\Gone"}, 1, ""},
        {"multi-line form", {"show", control, "runonce"}, 0, "one\r\nrun me\n"},
        {"a missing default is no value", {"show", control, "(Default)"}, 1, ""},
        {"no such value", {"show", control, "Nope"}, 1, ""},
        {"show needs a value name", {"show", control}, 2, ""},
    };
    for (const Row& row : rows) {
        const CliRun run = RunOn(row.args);
        EXPECT_EQ(run.status, row.status) << row.name << ": " << run.err;
        EXPECT_EQ(run.out, row.out) << row.name;
    }
}

}  // namespace
}  // namespace hivora::test

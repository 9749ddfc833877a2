#include "navigate/NavigateTo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fileset/FileSet.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "support/HiveBuilder.h"
#include "support/TempPath.h"

namespace hivora::test {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kShared[] = u"{00000000-0000-0000-C000-000000000046}";  // CLSID and Interface
constexpr char16_t kInterface[] = u"{11111111-2222-3333-4444-555555555555}";
constexpr char16_t kTypelib[] = u"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

HiveBuilder ClassesHive() {
    HiveBuilder b;
    const auto classes = b.AddPath(HiveBuilder::kRoot, u"Classes");
    b.AddPath(classes, std::u16string(u"CLSID\\") + kShared);
    b.AddPath(classes, std::u16string(u"Interface\\") + kShared);
    b.AddPath(classes, std::u16string(u"Interface\\") + kInterface);
    b.AddPath(classes, std::u16string(u"Typelib\\") + kTypelib);
    b.AddKey(classes, u".txt");
    b.AddKey(classes, u"App.Name.1");
    b.AddKey(classes, u"A.B.C.D.E");
    return b;
}

// A copied Windows installation: <root>/Windows/System32/config/SOFTWARE and a few files.
class NavigateTo : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = UniqueTempPath("hivora_navigate");
        root_ = temp_ / "image";
        fs::create_directories(root_ / "WINDOWS" / "system32" / "Config");
        fs::create_directories(root_ / "Program Files" / "App");
        Touch(root_ / "WINDOWS" / "system32" / "Notepad.exe");
        Touch(temp_ / "outside.txt");

        const BuiltHive hive = ClassesHive().Build();
        const fs::path software = root_ / "WINDOWS" / "system32" / "Config" / "software";
        std::ofstream(software, std::ios::binary)
            .write(reinterpret_cast<const char*>(hive.bytes.data()),
                   static_cast<std::streamsize>(hive.bytes.size()));
        UseHiveEngine();
        CurrentFileSet() = FileSet();
        CurrentFileSet()[HiveSlot::Software] = software.string();
        ASSERT_EQ(LoadFileSet(CurrentFileSet()), 1);
    }
    void TearDown() override {
        FreeHiveSet();
        CurrentFileSet() = FileSet();
        fs::remove_all(temp_);
    }

    static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

    fs::path temp_;
    fs::path root_;
};

TEST_F(NavigateTo, FilePathsMapOntoTheInstallationIgnoringCase) {
    const std::string notepad = (root_ / "WINDOWS" / "system32" / "Notepad.exe").string();
    struct Row {
        const char* text;
        std::string expected;  // empty: does not resolve
    };
    const Row rows[] = {
        {"C:\\Windows\\System32\\notepad.exe", notepad},
        {"\"C:\\Windows\\System32\\notepad.exe\" /p %1", notepad},
        {"C:\\Windows\\System32\\notepad.exe /p", ""},  // the argument stays part of the path
        {"@%SystemRoot%\\SYSTEM32\\NOTEPAD.EXE,-100", notepad},
        {"%systemroot%\\System32\\..\\System32\\.\\notepad.exe", notepad},
        {"%ProgramFiles%\\App", (root_ / "Program Files" / "App").string()},
        {"C:\\..\\..\\outside.txt", ""},  // never above the drive
        {"%Unknown%\\notepad.exe", ""},
        {"C:\\Windows\\System32\\missing.dll", ""},
    };
    for (const Row& row : rows) {
        std::string path = "unchanged";
        const bool resolved = ResolveFilePath(row.text, path);
        EXPECT_EQ(resolved, !row.expected.empty()) << row.text;
        EXPECT_EQ(path, resolved ? row.expected : "unchanged") << row.text;
    }
}

TEST_F(NavigateTo, ClassKeysInTheirOrder) {
    auto utf8 = [](const char16_t* text) { return std::string(text, text + 38); };
    struct Row {
        std::string text;
        std::string expected;  // empty: does not resolve
    };
    const Row rows[] = {
        {utf8(kShared), "Software\\Classes\\CLSID\\" + utf8(kShared)},
        {utf8(kInterface), "Software\\Classes\\Interface\\" + utf8(kInterface)},
        {utf8(kTypelib), "Software\\Classes\\Typelib\\" + utf8(kTypelib)},
        {"{00000000-0000-0000-0000-000000000000}", ""},
        {".txt", "Software\\Classes\\.txt"},
        {"app.name.1", "Software\\Classes\\app.name.1"},
        {"A.B.C.D.E", ""},  // four full stops
        {".doc", ""},
    };
    for (const Row& row : rows) {
        std::string keyPath = "unchanged";
        const bool resolved = ResolveClassKey(row.text, keyPath);
        EXPECT_EQ(resolved, !row.expected.empty()) << row.text;
        EXPECT_EQ(keyPath, resolved ? row.expected : "unchanged") << row.text;
    }
}

}  // namespace
}  // namespace hivora::test

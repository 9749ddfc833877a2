// The Value Data and View Binary Data windows, the viewer list with its cascade, and the
// Window menu's texts.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "FeaturesTestSupport.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "support/HiveBuilder.h"
#include "values/ValueFormat.h"
#include "viewers/ui/BinaryDataDialog.h"
#include "viewers/ui/ValueDataDialog.h"
#include "viewers/ui/ViewerList.h"

namespace hivora {
namespace {

ValueItem MakeValue(const std::string& name, uint32_t type, std::vector<uint8_t> bytes) {
    ValueItem item;
    item.name = name;
    item.type = type;
    item.data.AppendBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return item;
}

std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

class FeaturesViewers : public ::testing::Test {
protected:
    void TearDown() override {
        AppViewers().CloseAllViewers();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <typename Window>
    static Window* LastViewer() {
        return qobject_cast<Window*>(AppViewers().Viewer(AppViewers().ViewerCount() - 1));
    }

    static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
};

TEST_F(FeaturesViewers, ValueDataOpensForTextAndNumberTypesOnly) {
    struct Row {
        const char* name;
        uint32_t type;
        bool opens;
    };
    const Row rows[] = {{"string", REG_SZ, true},      {"expand", REG_EXPAND_SZ, true},
                        {"dword", REG_DWORD, true},    {"multi", REG_MULTI_SZ, true},
                        {"binary", REG_BINARY, false}, {"qword", REG_QWORD, false},
                        {"none", REG_NONE, false},     {"big-endian", REG_DWORD_BIG_ENDIAN, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int before = AppViewers().ViewerCount();
        EXPECT_EQ(
            ShowValueData("HKEY_USERS\\x", MakeValue(row.name, row.type, {1, 0, 0, 0}), nullptr),
            row.opens);
        EXPECT_EQ(AppViewers().ViewerCount(), before + (row.opens ? 1 : 0));
    }
}

TEST_F(FeaturesViewers, ValueDataShowsItsCopyOfTheValueAndCopiesAndSaves) {
    ValueItem value = MakeValue("Path", REG_DWORD, {0xFF, 0, 0, 0});
    ASSERT_TRUE(ShowValueData("HKEY_LOCAL_MACHINE\\software\\Vendor", value, nullptr));
    value.data.Free();  // the window holds its own copy
    auto* window = LastViewer<ValueDataDialog>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Path");
    EXPECT_EQ(window->NameLabel()->text(), "Value Name (REG_DWORD)");
    EXPECT_EQ(window->KeyPathEdit()->text(), "HKEY_LOCAL_MACHINE\\software\\Vendor");
    const std::string shown = FormatValueData(REG_DWORD, std::vector<uint8_t>{0xFF, 0, 0, 0}, true);
    EXPECT_EQ(window->DataEdit()->toPlainText().toStdString(), shown);
    EXPECT_FALSE(window->NavigateButton()->isEnabled());

    window->CopyNameButton()->click();
    EXPECT_EQ(Clipboard(), "Path");
    window->CopyDataButton()->click();
    EXPECT_EQ(Clipboard(), shown);

    QTemporaryDir folder;
    test::FileAnswer answer(folder.filePath("data.txt"));
    window->SaveButton()->click();
    // The display text, not the four bytes.
    EXPECT_EQ(test::ReadWholeFile(folder.filePath("data.txt")), shown);
    EXPECT_EQ(answer.asked.at(0).extension, "*.txt");

    window->CloseButton()->click();
    EXPECT_EQ(AppViewers().ViewerCount(), 0);
}

TEST_F(FeaturesViewers, CascadeStepsDownAndStartsOverWhenAllAreClosed) {
    const ValueItem value = MakeValue("v", REG_SZ, Utf16Bytes(u"text"));
    std::vector<QPoint> places;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(ShowValueData("HKEY_USERS", value, nullptr));
        places.push_back(LastViewer<QWidget>()->pos());
    }
    // 5, 35, ..., 245, then a new column 50 pixels right at 0.
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(places[i] - places[0], QPoint(0, 30 * i)) << i;
    }
    EXPECT_EQ(places[9] - places[0], QPoint(50, -5));

    AppViewers().CloseAllViewers();
    EXPECT_EQ(AppViewers().ViewerCount(), 0);
    ASSERT_TRUE(ShowValueData("HKEY_USERS", value, nullptr));
    EXPECT_EQ(LastViewer<QWidget>()->pos(), places[0]);
}

TEST_F(FeaturesViewers, MultiStringWindowIsTallerThanOthers) {
    ASSERT_TRUE(ShowValueData("HKEY_USERS", MakeValue("s", REG_SZ, Utf16Bytes(u"a")), nullptr));
    const int plain = LastViewer<QWidget>()->height();
    ASSERT_TRUE(ShowValueData(
        "HKEY_USERS", MakeValue("m", REG_MULTI_SZ, Utf16Bytes(std::u16string(u"a\0b\0\0", 5))),
        nullptr));
    auto* multi = LastViewer<ValueDataDialog>();
    EXPECT_EQ(multi->height(), plain + ValueDataDialog::kMultiStringExtraHeight);
    EXPECT_EQ(multi->DataEdit()->toPlainText(), "a\nb");
}

TEST_F(FeaturesViewers, ViewerListKeepsOrderMinimizesAndActivates) {
    for (int i = 0; i < 23; ++i) {
        const std::string name = i == 1 ? std::string(70, 'n') : "value" + std::to_string(i);
        ShowBinaryData("HKEY_USERS", MakeValue(name, REG_BINARY, {1}), nullptr);
    }
    EXPECT_EQ(AppViewers().ViewerCount(), 23);
    EXPECT_EQ(AppViewers().Viewer(1)->windowTitle(), QString(70, 'n'));

    AppViewers().MinimizeAllViewers();
    EXPECT_TRUE(AppViewers().Viewer(3)->isMinimized());
    AppViewers().ActivateViewer(3);
    EXPECT_FALSE(AppViewers().Viewer(3)->isMinimized());
    EXPECT_TRUE(AppViewers().Viewer(4)->isMinimized());
    AppViewers().RestoreAllViewers();
    EXPECT_FALSE(AppViewers().Viewer(4)->isMinimized());

    // Escape closes a viewer like its Close button.
    QWidget* third = AppViewers().Viewer(2);
    QTest::keyClick(third, Qt::Key_Escape);
    EXPECT_EQ(AppViewers().ViewerCount(), 22);
    EXPECT_EQ(AppViewers().Viewer(2)->windowTitle(), "value3");
}

TEST_F(FeaturesViewers, BinaryDumpSwitchesModesAndCopiesTheShownDump) {
    ShowBinaryData("HKEY_USERS\\k", MakeValue("bin", REG_BINARY, {0x41, 0x00, 0x7F}), nullptr);
    auto* window = LastViewer<BinaryDataDialog>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "bin");
    EXPECT_EQ(window->NameLabel()->text(), "Value Name (REG_BINARY)");
    EXPECT_EQ(window->DataLabel()->text(), "Value Data (3 bytes)");
    EXPECT_TRUE(window->ModeButton(BinaryDataDialog::kBytes)->isChecked());
    ASSERT_EQ(window->DumpList()->count(), 1);
    EXPECT_TRUE(window->DumpList()->item(0)->text().startsWith("0000: 41 00 7F "));

    window->ModeButton(BinaryDataDialog::kWords)->click();
    EXPECT_EQ(window->DumpList()->item(0)->text(), "0000: 0041 7F ");
    window->ModeButton(BinaryDataDialog::kDoubleWords)->click();
    EXPECT_EQ(window->DumpList()->item(0)->text(), "0000:  0041 7F");
    window->CopyDumpButton()->click();
    EXPECT_EQ(Clipboard(), "0000:  0041 7F\r\n");
    window->ModeButton(BinaryDataDialog::kBytes)->click();
    window->CopyDumpButton()->click();
    EXPECT_EQ(Clipboard(), window->DumpText());
    EXPECT_TRUE(Clipboard().starts_with("0000: 41"));
}

TEST_F(FeaturesViewers, LargeValuesKeepOffsetOrderAndExportTheirBytes) {
    std::vector<uint8_t> bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7);
    }
    ShowBinaryData("HKEY_USERS", MakeValue("large", REG_BINARY, bytes), nullptr);
    auto* window = LastViewer<BinaryDataDialog>();
    EXPECT_EQ(window->DataLabel()->text(), "Value Data (70,000 bytes)");
    QListWidget* list = window->DumpList();
    ASSERT_EQ(list->count(), 4375);
    EXPECT_TRUE(list->item(4095)->text().startsWith("FFF0: "));
    EXPECT_TRUE(list->item(4096)->text().startsWith("10000: "));
    EXPECT_TRUE(list->item(4374)->text().startsWith("11160: "));

    QTemporaryDir folder;
    test::FileAnswer answer(folder.filePath("raw.dat"));
    window->ExportButton()->click();
    EXPECT_EQ(answer.asked.at(0).filter, "Data File (*.dat)|*.dat|All Files (*.*)|*.*||");
    const std::string written = test::ReadWholeFile(folder.filePath("raw.dat"));
    EXPECT_EQ(written, std::string(bytes.begin(), bytes.end()));

    window->SaveDumpButton()->click();
    EXPECT_EQ(test::ReadWholeFile(folder.filePath("raw.dat")), window->DumpText());
}

TEST_F(FeaturesViewers, EmptyValueShowsNoDump) {
    ShowBinaryData("HKEY_USERS", MakeValue("empty", REG_BINARY, {}), nullptr);
    auto* window = LastViewer<BinaryDataDialog>();
    EXPECT_EQ(window->DataLabel()->text(), "Value Data (0 bytes)");
    EXPECT_EQ(window->DumpList()->count(), 0);
    EXPECT_TRUE(window->DumpText().empty());
}

TEST_F(FeaturesViewers, NavigateToSelectsTheClassKeyTheDataNames) {
    UseHiveEngine();
    FreeHiveSet();
    test::HiveBuilder builder;
    builder.AddPath(test::HiveBuilder::kRoot, u"Classes\\Word.Document.8");
    const test::BuiltHive hive = builder.Build();
    ASSERT_EQ(LoadHiveImage(HiveSlot::Software, hive.bytes.data(), hive.bytes.size()), 1);

    std::vector<std::pair<RootKey, std::string>> selected;
    auto selector = [&](RootKey root, const std::string& path) {
        selected.emplace_back(root, path);
    };
    ASSERT_TRUE(ShowValueData("HKEY_USERS", MakeValue("c", REG_SZ, Utf16Bytes(u"Word.Document.8")),
                              nullptr, selector));
    auto* window = LastViewer<ValueDataDialog>();
    ASSERT_TRUE(window->NavigateButton()->isEnabled());
    window->NavigateButton()->click();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].first, kLocalMachine);
    EXPECT_TRUE(selected[0].second.ends_with("Classes\\Word.Document.8")) << selected[0].second;

    ASSERT_TRUE(ShowValueData("HKEY_USERS", MakeValue("c", REG_SZ, Utf16Bytes(u"No.Such.Class")),
                              nullptr, selector));
    EXPECT_FALSE(LastViewer<ValueDataDialog>()->NavigateButton()->isEnabled());
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora

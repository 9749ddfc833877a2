// The export commands and Statistics over a built SOFTWARE hive: the save dialog's questions,
// the file the export logic writes, the completion message and the failure messages.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "FeaturesTestSupport.h"
#include "export/RegistryExport.h"
#include "export/ui/ExportCommand.h"
#include "export/ui/StatisticsDialog.h"
#include "fileset/FileSet.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "support/HiveBuilder.h"
#include "support/MyException.h"

namespace hivora {
namespace {

// The header's "Exported on" line holds the clock; everything else must match.
std::string WithoutExportTime(std::string text) {
    const size_t at = text.find("; Exported on ");
    if (at != std::string::npos) {
        text.erase(at, text.find('\n', at) - at);
    }
    return text;
}

class FeaturesExport : public ::testing::Test {
protected:
    void SetUp() override {
        UseHiveEngine();
        FreeHiveSet();
        CurrentFileSet() = FileSet{};
        test::HiveBuilder builder;
        const auto run = builder.AddPath(test::HiveBuilder::kRoot, u"Microsoft\\Run");
        builder.AddString(run, u"Updater", u"C:\\update.exe");
        builder.AddDword(run, u"Count", 255);
        builder.AddPath(test::HiveBuilder::kRoot, u"Vendor\\Product");
        hive_ = builder.Build();
        ASSERT_EQ(LoadHiveImage(HiveSlot::Software, hive_.bytes.data(), hive_.bytes.size()), 1);
    }
    void TearDown() override { FreeHiveSet(); }

    test::BuiltHive hive_;
    ScriptedPrompter prompter_;
    QTemporaryDir folder_;
};

TEST_F(FeaturesExport, EachStyleAndScopeWritesWhatTheExportLogicWrites) {
    struct Row {
        const char* name;
        ExportStyle style;
        const char* branch;
        const char* filter;
        const char* extension;
    };
    const Row rows[] = {
        {"reg all", ExportStyle::Reg, "", "Text File (*.reg)|*.reg|All Files (*.*)|*.*||", "*.reg"},
        {"reg branch", ExportStyle::Reg, "HKEY_LOCAL_MACHINE\\software\\Microsoft",
         "Text File (*.reg)|*.reg|All Files (*.*)|*.*||", "*.reg"},
        {"text all", ExportStyle::Text, "", "Text File (*.txt)|*.txt|All Files (*.*)|*.*||",
         "*.txt"},
        {"text branch", ExportStyle::Text, "HKEY_LOCAL_MACHINE\\software\\Vendor",
         "Text File (*.txt)|*.txt|All Files (*.*)|*.*||", "*.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = folder_.filePath(QString::fromUtf8(row.name));
        test::FileAnswer answer(path);
        prompter_.notices.clear();
        ASSERT_TRUE(RunExport(nullptr, row.style, row.branch, prompter_));
        ASSERT_EQ(answer.asked.size(), 1u);
        EXPECT_TRUE(answer.asked[0].save);
        EXPECT_EQ(answer.asked[0].filter, row.filter);
        EXPECT_EQ(answer.asked[0].extension, row.extension);

        ExportOutput expected;
        RegistryCounters counters;
        WriteRegistryExport(row.style, row.branch, expected, counters);
        EXPECT_EQ(WithoutExportTime(test::ReadWholeFile(path)), WithoutExportTime(expected.Text()));

        ASSERT_EQ(prompter_.notices.size(), 1u);
        EXPECT_TRUE(prompter_.notices[0].starts_with("Export completed, ")) << prompter_.notices[0];
        EXPECT_NE(prompter_.notices[0].find(" milliseconds taken.\r\n"), std::string::npos);
        EXPECT_NE(prompter_.notices[0].find(FormatCounterReport(counters)), std::string::npos);
    }
}

TEST_F(FeaturesExport, CancelledSaveDialogWritesAndReportsNothing) {
    test::FileAnswer answer{QString()};
    EXPECT_FALSE(RunExport(nullptr, ExportStyle::Reg, "", prompter_));
    EXPECT_TRUE(prompter_.notices.empty());
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(FeaturesExport, FailuresArriveAsTheProgramsMessages) {
    struct Row {
        const char* name;
        QString path;
        const char* branch;
        const char* message;
    };
    const Row rows[] = {
        {"no such folder", folder_.filePath("missing/out.reg"), "", "Unable to create output file"},
        {"unexported root", folder_.filePath("a.reg"), "HKEY_CURRENT_USER\\Software",
         "Invalid operation"},
        {"missing key", folder_.filePath("b.reg"), "HKEY_LOCAL_MACHINE\\software\\Nothing",
         "Unable to open the key"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::FileAnswer answer(row.path);
        try {
            RunExport(nullptr, ExportStyle::Reg, row.branch, prompter_);
            ADD_FAILURE() << "no failure reported";
        } catch (const CMyException& error) {
            EXPECT_NE(error.GetErrorMessage().find(row.message), std::string::npos)
                << error.GetErrorMessage();
        }
        EXPECT_TRUE(prompter_.notices.empty());
    }
}

TEST_F(FeaturesExport, StatisticsShowsTheFileSetAndTheCounts) {
    std::string shown;
    test::WhenModal<StatisticsDialog>([&](StatisticsDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Statistics");
        EXPECT_TRUE(dialog->TextBox()->isReadOnly());
        shown = dialog->TextBox()->toPlainText().toStdString();
        dialog->accept();
    });
    RunStatistics(nullptr);
    EXPECT_NE(shown.find("SYSTEM:\n    <NOT SELECTED>\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\n---------------------------\n"), std::string::npos);
    // software, Microsoft, Run, Vendor, Product.
    EXPECT_NE(shown.find("5 keys, 2 values\n"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace hivora

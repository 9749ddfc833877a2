// Failures the desktop cannot hide: no browser for Help, commands without a registry window, a
// chosen file that is no hive, and a damaged hive.
#include <QLabel>
#include <QTextBrowser>

#include "UiTestSupport.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

// A desktop without a browser: every address handed to it is recorded and refused.
class NoBrowserTest : public RegistryWindowTest {
protected:
    void SetUp() override {
        RegistryWindowTest::SetUp();
        SetDesktopUrlOpener([this](const QUrl& url) {
            opened_.push_back(url);
            return false;
        });
    }
    void TearDown() override {
        SetDesktopUrlOpener(nullptr);
        delete OwnHelpWindow();
        RegistryWindowTest::TearDown();
    }

    std::vector<QUrl> opened_;
};

TEST_F(NoBrowserTest, HelpSaysSoAndShowsTheBundledPagesInItsOwnWindow) {
    ASSERT_TRUE(app_->MainFrame()->RunCommand(cmd::kHelp));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_TRUE(opened_[0].toLocalFile().endsWith("/index.htm"));
    ASSERT_EQ(prompter_.notices.size(), 1u);
    EXPECT_NE(prompter_.notices[0].find("browser"), std::string::npos);
    QTextBrowser* help = OwnHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible() && help->source() == opened_[0]);
    EXPECT_FALSE(help->toPlainText().trimmed().isEmpty());
}

TEST_F(RegistryWindowTest, WithoutARegistryWindowItsCommandsAreOffAndTheAreaSaysWhatToDo) {
    CMainFrame* frame = app_->MainFrame();
    app_->OpenCurrentFileSet();
    ASSERT_TRUE(frame->RunCommand(cmd::kFileClose));
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->ShowsRegistryMenu());  // one window left
    EXPECT_FALSE(frame->EmptyAreaHint()->isVisible());
    ASSERT_TRUE(frame->RunCommand(cmd::kFileClose));
    // No event loop turn: the closing window is still the MDI area's active one here.
    const std::vector<int> needWindow = {
        cmd::kFind,         cmd::kFindNext,   cmd::kCopyKeyName, cmd::kShowBinaryData,
        cmd::kExportRegAll, cmd::kStatistics, cmd::kNextWindow,  cmd::kFileClose};
    for (int id : needWindow) {
        EXPECT_FALSE(frame->IsCommandAvailable(id)) << id;
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->ShowsRegistryMenu());
    EXPECT_TRUE(frame->StatusText().isEmpty());
    EXPECT_TRUE(frame->EmptyAreaHint()->isVisible());
    EXPECT_TRUE(frame->EmptyAreaHint()->text().contains("Open Registry Files"));
    app_->OpenCurrentFileSet();
    EXPECT_FALSE(frame->EmptyAreaHint()->isVisible());
}

TEST_F(RegistryWindowTest, ANonHiveIsNamedAndADamagedHiveSaysSo) {
    const std::filesystem::path folder = test::UniqueTempPath("hivora_bad_set");
    std::filesystem::create_directories(folder);
    test::HiveBuilder system;
    const auto select = system.AddKey(test::HiveBuilder::kRoot, u"Select");
    system.AddKey(select, u"Good");
    const auto broken = system.AddKey(select, u"Broken");
    test::BuiltHive built = system.Build();
    built.PutU16(built.keys[broken].key, 0, 0);  // no "nk" signature: the key is passed over
    WriteHive(folder / "SYSTEM", built);
    std::ofstream(folder / "SAM") << "a note, not a hive";
    FileSet set;
    set[HiveSlot::System] = (folder / "SYSTEM").string();
    set[HiveSlot::Sam] = (folder / "SAM").string();
    CurrentFileSet() = set;
    app_->OpenCurrentFileSet();

    ASSERT_EQ(prompter_.errors.size(), 1u);
    EXPECT_NE(prompter_.errors[0].find(set[HiveSlot::Sam]), std::string::npos);
    EXPECT_NE(prompter_.errors[0].find("not a registry hive"), std::string::npos);
    EXPECT_EQ(prompter_.errors[0].find("SYSTEM"), std::string::npos);
    CRegValuesList* rows = View()->List();
    EXPECT_EQ(rows->CellText(4, 0), "SAM");
    EXPECT_NE(rows->CellText(4, 2).find("not loaded: not a registry hive"), std::string::npos)
        << rows->CellText(4, 2);

    for (int pass = 0; pass < 2; ++pass) {  // reading the keys again finds no more damage
        View()->Rebuild();
        ASSERT_TRUE(View()->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
        View()->Tree()->currentItem()->setExpanded(true);
        EXPECT_EQ(View()->Tree()->currentItem()->childCount(), 1);
        app_->MainFrame()->UpdateCommandUI();
        EXPECT_EQ(app_->MainFrame()->DamageText(), "damaged: 1 record passed over");
    }
    View()->Tree()->SelectPath("");
    app_->MainFrame()->UpdateCommandUI();
    EXPECT_TRUE(app_->MainFrame()->DamageText().isEmpty());  // the root lies in no hive
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace hivora

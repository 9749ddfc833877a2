// Registry windows follow the one file set: a second set rebuilds the windows open on the first.
#include "UiTestSupport.h"
#include "shell/CChildFrame.h"

namespace hivora {
namespace {

// A folder holding one SYSTEM hive: Select (value "Only") and Fresh, nothing else.
class SecondSetTest : public RegistryWindowTest {
protected:
    void SetUp() override {
        RegistryWindowTest::SetUp();
        folder_ = test::UniqueTempPath("hivora_second_set");
        std::filesystem::create_directories(folder_);
        test::HiveBuilder system;
        system.AddDword(system.AddKey(test::HiveBuilder::kRoot, u"Select"), u"Only", 7);
        system.AddKey(test::HiveBuilder::kRoot, u"Fresh");
        WriteHive(folder_ / "SYSTEM", system.Build());
        second_[HiveSlot::System] = (folder_ / "SYSTEM").string();
    }
    void TearDown() override {
        RegistryWindowTest::TearDown();
        std::filesystem::remove_all(folder_);
    }
    static QStringList Children(QTreeWidgetItem* item) {
        item->setExpanded(true);
        QStringList texts;
        for (int i = 0; i < item->childCount(); ++i) {
            texts.push_back(item->child(i)->text(0));
        }
        return texts;
    }

    std::filesystem::path folder_;
    FileSet second_;
};

TEST_F(SecondSetTest, WindowsOnTheFirstSetShowTheSecondAndKeepTheirSelection) {
    CMainFrame* frame = app_->MainFrame();
    CChildView* first = View();
    ASSERT_TRUE(first->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    app_->OpenCurrentFileSet();
    CChildView* other = View();
    ASSERT_NE(other, first);
    ASSERT_TRUE(other->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\system\\Select"));
    ASSERT_TRUE(other->Tree()->SelectPath("HKEY_LOCAL_MACHINE\\sam\\SAM"));
    EXPECT_TRUE(frame->windowTitle().contains(QString::fromStdString(SampleDir())));

    CurrentFileSet() = second_;
    app_->OpenCurrentFileSet();
    ASSERT_EQ(frame->RegistryWindows().size(), 3);
    for (CChildFrame* window : frame->RegistryWindows()) {
        CRegistryTreeCtrl* tree = window->View()->Tree();
        EXPECT_EQ(Children(tree->TopItem()->child(0)), QStringList{"system"});
        EXPECT_EQ(Children(tree->TopItem()->child(0)->child(0)), (QStringList{"Fresh", "Select"}));
        EXPECT_EQ(Children(tree->TopItem()->child(1)), QStringList{});
        EXPECT_EQ(window->Caption().toStdString(), folder_.string());
    }
    // The selection stays where its key still exists, with the new set's values beneath it.
    EXPECT_EQ(first->GetContainingKeyName(), "HKEY_LOCAL_MACHINE\\system\\Select");
    first->List()->SelectValueByName("Only");
    EXPECT_EQ(first->List()->GetSelectedValueName(), "Only");
    EXPECT_EQ(other->Tree()->currentItem(), other->Tree()->TopItem());
    EXPECT_TRUE(frame->windowTitle().contains(QString::fromStdString(folder_.string())));
    EXPECT_FALSE(frame->windowTitle().contains(QString::fromStdString(SampleDir())));
}

}  // namespace
}  // namespace hivora

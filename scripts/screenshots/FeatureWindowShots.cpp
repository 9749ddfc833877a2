// Renders every feature dialog and viewer to PNG files under the build folder for a person to
// look at (and for the help pages).
#include <QDir>

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "export/ui/StatisticsDialog.h"
#include "favorites/FavoriteStore.h"
#include "favorites/ui/FavoriteNameDialog.h"
#include "favorites/ui/ManageFavoritesDialog.h"
#include "search/ui/FindByDateDialog.h"
#include "search/ui/FindDialog.h"
#include "search/ui/SearchingDialog.h"
#include "support/Settings.h"
#include "viewers/ui/BinaryDataDialog.h"
#include "viewers/ui/ValueDataDialog.h"

namespace hivora {
namespace {

void Save(QWidget& widget, const char* name) {
    const QString dir = QStringLiteral(HIVORA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(widget.grab().save(dir + "/" + name)) << name;
}

TEST(FeaturesScreenshots, RendersTheFeatureWindows) {
    SearchCriteria criteria;
    criteria.text = "Run";
    FindDialog find(criteria);
    Save(find, "find.png");
    FindByDateDialog byDate(criteria);
    Save(byDate, "find-by-date.png");
    SearchingDialog searching(criteria);  // not shown, so no search starts
    Save(searching, "searching.png");

    ValueItem text;
    text.name = "CommonFilesDir";
    text.type = REG_SZ;
    const char16_t data[] = u"C:\\Program Files\\Common Files";
    text.data.AppendBytes(data, sizeof data);
    ValueDataDialog value("HKEY_LOCAL_MACHINE\\software\\Microsoft\\Windows\\CurrentVersion", text,
                          nullptr);
    Save(value, "value-data.png");
    BinaryDataDialog binary("HKEY_LOCAL_MACHINE\\software\\Microsoft\\Windows\\CurrentVersion",
                            text, nullptr);
    Save(binary, "binary-data.png");

    MemorySettingsStore settings;
    FileSet files;
    FavoriteStore store(settings, files);
    store.AddFavorite(
        {"Run keys", kLocalMachine, "software\\Microsoft\\Windows\\CurrentVersion\\Run"});
    store.AddFavorite({"HKEY_LOCAL_MACHINE\\system\\Select", kLocalMachine, "system\\Select"});
    ScriptedPrompter prompter;
    FavoriteNameDialog name(FavoriteNameDialog::Mode::Add, "HKEY_LOCAL_MACHINE\\system", store,
                            prompter);
    Save(name, "add-to-favorites.png");
    ManageFavoritesDialog manage(store, prompter);
    Save(manage, "manage-favorites.png");
    StatisticsDialog statistics(
        "SYSTEM:\r\n    /hives/SYSTEM\r\n---------------------------\r\n12,345 keys, 67,890 "
        "values\r\n",
        nullptr);
    Save(statistics, "statistics.png");
}

}  // namespace
}  // namespace hivora

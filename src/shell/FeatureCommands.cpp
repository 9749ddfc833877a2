#include "shell/FeatureCommands.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "favorites/FavoriteStore.h"
#include "favorites/NavigationHistory.h"
#include "support/Version.h"
#include "support/ui/UiServices.h"

namespace hivora::features {

bool RunFindDialog(CChildView&) {
    return false;
}

bool RunFindByDateDialog(CChildView&) {
    return false;
}

bool HasSearchToRepeat(const CChildView&) {
    return false;
}

void FindNext(CChildView&) {}

void AddToFavorites(CChildView&, const KeyItemData&, const std::string&) {}

bool CanManageFavorites() {
    return false;
}

int RunManageFavorites(CChildView&) {
    return -1;
}

bool FavoriteAt(int index, std::string& name, RootKey& root, std::string& subPath) {
    FavoriteStore& store = AppFavorites();
    store.LoadFavorites();
    Favorite favorite;
    if (index < 0 || !store.GetFavorite(static_cast<size_t>(index), favorite)) {
        return false;
    }
    name = favorite.name;
    root = favorite.root;
    subPath = favorite.subPath;
    return true;
}

void RecordHistory(const KeyItemData& record) {
    History().RecordKey(HistoryEntry{record.root, record.subPath});
}

bool CanGoBack() {
    return History().CanGoBack();
}

bool CanGoForward() {
    return History().CanGoForward();
}

bool TakeBack(RootKey& root, std::string& subPath) {
    const std::optional<HistoryEntry> entry = History().StepBack();
    if (!entry) {
        return false;
    }
    root = entry->root;
    subPath = entry->subPath;
    return true;
}

bool TakeForward(RootKey& root, std::string& subPath) {
    const std::optional<HistoryEntry> entry = History().StepForward();
    if (!entry) {
        return false;
    }
    root = entry->root;
    subPath = entry->subPath;
    return true;
}

void ClearHistory() {
    History().ClearHistory();
}

void ExportToReg(CChildFrame&, const std::string&) {}

void ExportToText(CChildFrame&, const std::string&) {}

void ShowStatistics(CChildFrame&) {}

void RequestTechSupport() {
    // The address carries the subject as it is; QUrl encodes what a browser needs.
    QDesktopServices::openUrl(QUrl(ToQString(TechSupportAddress(ProgramVersion()))));
}

void ShowAbout(QWidget* parent) {
    QMessageBox::about(parent, QStringLiteral("About HivoraRegEdit"),
                       ToQString(GetVersionText(2)) +
                           QStringLiteral("\n\nA viewer for Windows registry hive files."));
}

}  // namespace hivora::features

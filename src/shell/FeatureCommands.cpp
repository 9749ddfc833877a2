#include "shell/FeatureCommands.h"

#include <QMessageBox>

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

void AddToFavorites(CChildView&, const ui::KeyItemData&, const std::string&) {}

bool CanManageFavorites() {
    return false;
}

int RunManageFavorites(CChildView&) {
    return -1;
}

bool FavoriteAt(int, std::string&, RootKey&, std::string&) {
    return false;
}

void RecordHistory(const ui::KeyItemData&) {}

bool CanGoBack() {
    return false;
}

bool CanGoForward() {
    return false;
}

bool TakeBack(RootKey&, std::string&) {
    return false;
}

bool TakeForward(RootKey&, std::string&) {
    return false;
}

void ClearHistory() {}

void ExportToReg(CChildFrame&, const std::string&) {}

void ExportToText(CChildFrame&, const std::string&) {}

void ShowStatistics(CChildFrame&) {}

void RequestTechSupport() {}

void ShowAbout(QWidget* parent) {
    QMessageBox::about(parent, QStringLiteral("About HivoraRegEdit"),
                       ToQString(VersionText(2)) +
                           QStringLiteral("\n\nA viewer for Windows registry hive files."));
}

}  // namespace hivora::features

// The commands whose work lives in the search, favourites, history, export, statistics and
// help features. Menus, toolbar, shortcuts, routing and enabling are already in place and
// call these; each feature fills in its own functions here and nothing else changes.
#pragma once

#include <string>

#include "hive/RegistryTypes.h"
#include "keys/KeyItemData.h"

class QWidget;

namespace hivora {

class CChildView;
class CChildFrame;
class Prompter;

namespace features {

// Find (57636) and Find By Date (32777): true when the dialog ended with OK; the registry
// window then runs Find Next.
bool RunFindDialog(CChildView& view);
bool RunFindByDateDialog(CChildView& view);
// Find Next (32778) is enabled when the window's search settings hold a search.
bool HasSearchToRepeat(const CChildView& view);
void FindNext(CChildView& view);

// Favourites: Add To Favorites (32780), Manage Favorites (32781), favourite n (20000 + n).
void AddToFavorites(CChildView& view, const KeyItemData& record, const std::string& path);
bool CanManageFavorites();
// The chosen favourite's index, or -1.
int RunManageFavorites(CChildView& view);
bool FavoriteAt(int index, std::string& name, RootKey& root, std::string& subPath);

// Navigation history shared by all registry windows.
void RecordHistory(const KeyItemData& record);
bool CanGoBack();
bool CanGoForward();
bool TakeBack(RootKey& root, std::string& subPath);
bool TakeForward(RootKey& root, std::string& subPath);
void ClearHistory();

// Exports (32795, 32813, 32805, 32814) and Statistics (32823); `branch` empty for all.
void ExportToReg(CChildFrame& frame, const std::string& branch);
void ExportToText(CChildFrame& frame, const std::string& branch);
void ShowStatistics(CChildFrame& frame);

// Help menu: Tech Support (32810) and About (57664).
void RequestTechSupport();
void ShowAbout(QWidget* parent);

// Opens the data viewers on the values list's View Data and View Binary Data.
void ConnectValueViewers(CChildView& view);

// Where the feature commands ask and report (message boxes unless replaced; tests script it).
void SetFeaturePrompter(Prompter* prompter);

}  // namespace features
}  // namespace hivora

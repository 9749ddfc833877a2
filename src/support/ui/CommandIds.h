// The command numbers of the menus, toolbar, accelerators and context menus. Every QAction
// carries its number; routing and enabling go by it.
#pragma once

namespace hivora::cmd {

// Framework-standard commands.
inline constexpr int kFileOpen = 57600;
inline constexpr int kFileClose = 57602;
inline constexpr int kFind = 57636;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// The program's own commands.
inline constexpr int kExpandCollapse = 32771;
inline constexpr int kCopyKeyName = 32773;
inline constexpr int kFindByDate = 32777;
inline constexpr int kFindNext = 32778;
inline constexpr int kAddToFavorites = 32780;
inline constexpr int kManageFavorites = 32781;
inline constexpr int kHelp = 32782;
inline constexpr int kShowBinaryData = 32792;
inline constexpr int kViewData = 32793;
inline constexpr int kExportRegAll = 32795;
inline constexpr int kExportTextAll = 32805;
inline constexpr int kCopyValueData = 32807;
inline constexpr int kCopyValueName = 32808;
inline constexpr int kTechSupport = 32810;
inline constexpr int kExportKeyText = 32811;
inline constexpr int kExportKeyReg = 32812;
inline constexpr int kExportRegBranch = 32813;
inline constexpr int kExportTextBranch = 32814;
inline constexpr int kMinimizeAll = 32820;
inline constexpr int kRestoreAll = 32821;
inline constexpr int kCloseAll = 32822;
inline constexpr int kStatistics = 32823;
inline constexpr int kGoBack = 32824;
inline constexpr int kGoForward = 32825;
inline constexpr int kNavigateTo = 32826;
inline constexpr int kGoToRoot = 32827;

// Numbered lists: favourites in the Favorites menu, viewers in the Window menu.
inline constexpr int kFavoriteFirst = 20000;
inline constexpr int kFavoriteLast = 20100;
inline constexpr int kViewerFirst = 20200;
inline constexpr int kViewerLast = 20300;

}  // namespace hivora::cmd

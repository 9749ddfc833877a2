// The command numbers of the menus, toolbar, accelerators and context menus. Every QAction
// carries its number; routing and enabling go by it.
#pragma once

namespace hivora::cmd {

// Unscoped so that a number converts to int where Qt carries it (QAction data).
enum CommandId : int {
    // Framework-standard commands.
    kFileOpen = 57600,
    kFileClose = 57602,
    kFind = 57636,
    kAbout = 57664,
    kExit = 57665,
    kViewToolbar = 59392,
    kViewStatusBar = 59393,

    // The program's own commands.
    kExpandCollapse = 32771,
    kCopyKeyName = 32773,
    kFindByDate = 32777,
    kFindNext = 32778,
    kAddToFavorites = 32780,
    kManageFavorites = 32781,
    kHelp = 32782,
    kShowBinaryData = 32792,
    kViewData = 32793,
    kExportRegAll = 32795,
    kExportTextAll = 32805,
    kCopyValueData = 32807,
    kCopyValueName = 32808,
    kTechSupport = 32810,
    kExportKeyText = 32811,
    kExportKeyReg = 32812,
    kExportRegBranch = 32813,
    kExportTextBranch = 32814,
    kMinimizeAll = 32820,
    kRestoreAll = 32821,
    kCloseAll = 32822,
    kStatistics = 32823,
    kGoBack = 32824,
    kGoForward = 32825,
    kNavigateTo = 32826,
    kGoToRoot = 32827,
    kShowDeletedRecords = 32840,
    kNextWindow = 32828,
    kPreviousWindow = 32829,

    // Numbered lists: favourites in the Favorites menu, viewers and registry windows in the
    // Window menu.
    kFavoriteFirst = 20000,
    kFavoriteLast = 20100,
    kViewerFirst = 20200,
    kViewerLast = 20300,
    kRegistryWindowFirst = 20400,
    kRegistryWindowLast = 20500,
};

}  // namespace hivora::cmd

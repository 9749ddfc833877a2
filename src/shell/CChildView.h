// The client area of a registry window: the key tree and the values list side by side,
// divided by a bar the view draws and drags itself.
#pragma once

#include <QWidget>
#include <string>

#include "hive/RegistryTypes.h"
#include "search/SearchCriteria.h"
#include "search/SearchResult.h"
#include "support/ui/CommandTarget.h"

namespace hivora {

class CRegistryTreeCtrl;
class CRegValuesList;
class Prompter;

class CChildView : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    explicit CChildView(QWidget* parent = nullptr);
    ~CChildView() override;

    CRegistryTreeCtrl* Tree() const { return tree_; }
    CRegValuesList* List() const { return list_; }
    int SplitterPosition() const { return splitterPosition_; }
    bool IsDragging() const { return dragging_; }

    // The tree's path with date and root label (the status bar's text).
    std::string GetStatusKeyPath() const;
    // The tree's plain path (the data viewers' key name, exports, favourites).
    std::string GetContainingKeyName() const;

    // Where the window's commands ask and report: message boxes unless one is installed.
    void SetPrompter(Prompter* prompter) { prompter_ = prompter; }
    Prompter* InstalledPrompter() const { return prompter_; }

    // Selects a search hit as Find Next does.
    void ShowSearchHit(const SearchResult& hit);

    // Reads the tree and the values list again from the loaded file set, keeping the selected
    // key where it still exists.
    void Rebuild();

    // The layout of the two controls; runs on every resize and after a drag.
    void RecalcLayout();
    // Ends a drag without applying it (the mouse was taken by another window).
    void CancelDrag();

signals:
    // Something that decides command enabling changed (selection in the tree or list).
    void commandStateChanged();
    // Find All was chosen in the Find or Find By Date dialog, with a usable pattern.
    void findAllRequested(const hivora::SearchCriteria& criteria);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void AddCommands();
    void ConnectValueViewers();
    void OnKeySelected();
    void FindNext();
    void RunFindCommand(bool dateDialog);
    bool PatternUsable();
    void AddToFavorites();
    void ManageFavorites();
    void SelectFavorite(int index);
    void MoveTo(RootKey root, const std::string& subPath);
    void ShowBar(int x);
    void EndDrag(bool apply);

    CRegistryTreeCtrl* tree_ = nullptr;
    CRegValuesList* list_ = nullptr;
    QWidget* dragBar_ = nullptr;
    Prompter* prompter_ = nullptr;
    // Find and Find By Date of this window; Find Next repeats them.
    SearchCriteria criteria_;
    int splitterPosition_ = 280;
    bool dragging_ = false;
    bool userColumnWidths_ = false;
    bool settingColumnWidths_ = false;
    int dragX_ = 0;
};

}  // namespace hivora

// Find, Find Next and Find By Date of a registry window, over what the window offers: where
// the selection is, which pane has the focus, and how to select a search hit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "search/SearchCriteria.h"
#include "search/SearchResult.h"
#include "search/ui/SearchingDialog.h"

class QWidget;

namespace hivora {

class SearchHost {
public:
    virtual ~SearchHost() = default;
    // The selected key's plain path (no date, no root label); the tree's top item gives the
    // root label's empty path.
    virtual std::string SelectedKeyPath() const = 0;
    virtual bool ValuesListHasFocus() const = 0;
    virtual std::string SelectedValueName() const = 0;
    // Selects the key in the tree, gives the tree the focus.
    virtual void ShowKeyHit(const std::string& keyPath) = 0;
    // Selects the key, then the value in the list, gives the list the focus.
    virtual void ShowValueHit(const std::string& keyPath, const std::string& valueName) = 0;
    // Where the selection lies among deleted records: the hive image's generation and the
    // record's cell offset (the selected value's when the list has the focus); generation 0
    // when the selection is live.
    virtual std::pair<uint32_t, uint32_t> SelectedDeletedPlace() const { return {0, 0}; }
    // Shows deleted records if they are hidden, then selects the hit's key (and value).
    virtual void ShowDeletedHit(const SearchResult& hit) = 0;
};

// Find Next is possible once there is a text to look for or a date search was set up.
bool CanFindNext(const SearchCriteria& criteria);

// Selects a hit as Find Next does: its key in the tree, its value in the list, the focus on
// the pane that shows the hit.
void ShowSearchHit(SearchHost& host, const SearchResult& hit);

// False, with the error's description passed to `report`, when the criteria hold a regular
// expression that does not compile: nothing is to be searched then.
bool CheckSearchPattern(const SearchCriteria& criteria,
                        const std::function<void(const std::string&)>& report);

// Searches from the host's selection (after the selected value when the list has the focus)
// and shows the hit. True when there was one.
bool RunFindNext(SearchCriteria& criteria, SearchHost& host, QWidget* parent,
                 const SearchNotice& notice = {});

// The Find and Find By Date commands: the dialog on the window's criteria, then Find Next when
// it ended with OK.
bool RunFind(SearchCriteria& criteria, SearchHost& host, QWidget* parent);
bool RunFindByDate(SearchCriteria& criteria, SearchHost& host, QWidget* parent);

}  // namespace hivora

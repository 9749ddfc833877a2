#include "search/ui/FindNextCommand.h"

#include "search/ui/FindByDateDialog.h"
#include "search/ui/FindDialog.h"

#include <tuple>

namespace hivora {

bool CanFindNext(const SearchCriteria& criteria) {
    return !criteria.text.empty() || criteria.byDate == 1;
}

bool RunFindNext(SearchCriteria& criteria, SearchHost& host, QWidget* parent,
                 const SearchNotice& notice) {
    criteria.startPath = host.SelectedKeyPath();
    criteria.startValue = host.ValuesListHasFocus() ? host.SelectedValueName() : std::string();
    std::tie(criteria.startDeletedHive, criteria.startDeletedOffset) = host.SelectedDeletedPlace();
    SearchResult result;
    if (!RunSearch(criteria, result, parent, notice)) {
        return false;
    }
    if (result.deletedHive != 0) {
        host.ShowDeletedHit(result);
        return true;
    }
    switch (result.kind) {
        case MatchKind::KeyName:
        case MatchKind::KeyDate:
            host.ShowKeyHit(result.keyPath);
            break;
        case MatchKind::ValueName:
        case MatchKind::ValueData:
            host.ShowValueHit(result.keyPath, result.valueName);
            break;
    }
    return true;
}

bool RunFind(SearchCriteria& criteria, SearchHost& host, QWidget* parent) {
    if (!EditFindCriteria(criteria, parent)) {
        return false;
    }
    return RunFindNext(criteria, host, parent);
}

bool RunFindByDate(SearchCriteria& criteria, SearchHost& host, QWidget* parent) {
    if (!EditDateCriteria(criteria, parent)) {
        return false;
    }
    return RunFindNext(criteria, host, parent);
}

}  // namespace hivora

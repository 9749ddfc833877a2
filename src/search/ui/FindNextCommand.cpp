#include "search/ui/FindNextCommand.h"

#include "search/TextPattern.h"
#include "search/ui/FindByDateDialog.h"
#include "search/ui/FindDialog.h"

#include <tuple>

namespace hivora {

bool CanFindNext(const SearchCriteria& criteria) {
    return !criteria.text.empty() || criteria.byDate == 1;
}

void ShowSearchHit(SearchHost& host, const SearchResult& hit) {
    if (hit.deletedHive != 0) {
        host.ShowDeletedHit(hit);
        return;
    }
    switch (hit.kind) {
        case MatchKind::KeyName:
        case MatchKind::KeyDate:
            host.ShowKeyHit(hit.keyPath);
            break;
        case MatchKind::ValueName:
        case MatchKind::ValueData:
            host.ShowValueHit(hit.keyPath, hit.valueName);
            break;
    }
}

bool CheckSearchPattern(const SearchCriteria& criteria,
                        const std::function<void(const std::string&)>& report) {
    if (criteria.byDate != 0 || criteria.regex == 0) {
        return true;
    }
    const CompiledPattern compiled =
        CompileTextPattern(criteria.text, {true, criteria.matchCase != 0,
                                           criteria.wholeString != 0});
    if (compiled.error) {
        report(compiled.error->Describe());
        return false;
    }
    return true;
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
    ShowSearchHit(host, result);
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

#include "search/SearchControl.h"

#include <set>
#include <tuple>

#include "search/SearchEngine.h"

namespace hivora {

SearchControl::~SearchControl() {
    cancel_.store(true);
    Join();
}

void SearchControl::Join() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) {
        worker_.join();
    }
}

SearchControl& ProcessSearchControl() {
    static SearchControl control;
    return control;
}

int StartSearch(SearchControl& control, SearchCallback& callback, const SearchCriteria& criteria) {
    if (control.worker_.joinable()) {
        if (control.running_.load()) {
            control.cancel_.store(true);
        }
        control.Join();
    }
    control.cancel_.store(false);
    control.running_.store(true);
    control.callback_ = &callback;
    control.worker_ =
        std::thread([&control, &callback, criteria] { SearchWorker(control, callback, criteria); });
    return 1;
}

void CancelSearch(SearchControl& control) {
    control.cancel_.store(true);
}

int SearchWorker(SearchControl& control, SearchCallback& callback, SearchCriteria criteria) {
    control.running_.store(true);
    control.walkCut_.store(false);
    std::set<std::tuple<std::string, std::string, MatchKind, uint32_t>> reported;
    for (;;) {
        bool walkCut = false;
        std::optional<SearchResult> hit = SearchFrom(criteria, &control, &walkCut);
        if (walkCut) {
            control.walkCut_.store(true);
        }
        if (control.cancel_.load()) {
            callback.Finished(kSearchCancelled);
            break;
        }
        // A hit met again would lead back to itself on every go-on: stop there.
        if (!hit || !reported.emplace(hit->keyPath, hit->valueName, hit->kind, hit->deletedOffset).second) {
            callback.Finished(kSearchNothingFound);
            break;
        }
        if (callback.Found(*hit) == 0) {
            callback.Finished(kSearchEndedAtHit);
            break;
        }
        criteria.startPath = hit->keyPath;
        criteria.startValue = hit->valueName;
        criteria.startDeletedHive = hit->deletedHive;
        criteria.startDeletedOffset = hit->deletedOffset;
    }
    control.running_.store(false);
    return 1;
}

}  // namespace hivora

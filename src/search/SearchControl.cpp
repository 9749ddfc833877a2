#include "search/SearchControl.h"

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
    bool walkCut = false;
    const SearchEnd end = SearchEveryHit(
        criteria, &control,
        [&callback](const SearchResult& hit) { return callback.Found(hit) != 0; }, &walkCut);
    control.walkCut_.store(walkCut);
    switch (end) {
        case SearchEnd::Declined:
            callback.Finished(kSearchEndedAtHit);
            break;
        case SearchEnd::Cancelled:
            callback.Finished(kSearchCancelled);
            break;
        case SearchEnd::NothingMore:
            callback.Finished(kSearchNothingFound);
            break;
        case SearchEnd::PatternTooComplex:
            callback.Finished(kSearchPatternTooComplex);
            break;
    }
    control.running_.store(false);
    return 1;
}

}  // namespace hivora

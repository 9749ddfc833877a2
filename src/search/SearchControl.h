// The search worker: one search at a time on a thread of its own, reporting through a
// SearchCallback, cancellable from the thread that started it.
#pragma once

#include <atomic>
#include <thread>

#include "search/SearchCallback.h"
#include "search/SearchCriteria.h"

namespace hivora {

class SearchControl {
public:
    SearchControl() = default;
    // Cancels a search still running and waits for its thread.
    ~SearchControl();
    SearchControl(const SearchControl&) = delete;
    SearchControl& operator=(const SearchControl&) = delete;

    bool Running() const { return running_.load(); }
    // True when a cancel was asked for while the search runs; polled once per key.
    bool CancelRequested() const { return cancel_.load() && running_.load(); }
    // True when the last search's walk ran out of budget (a hostile hive) and so may have
    // missed hits; it then ended as nothing (more) found.
    bool WalkCut() const { return walkCut_.load(); }
    // Waits until the worker thread has ended (it calls Finished before it ends).
    void Join();

private:
    friend int StartSearch(SearchControl&, SearchCallback&, const SearchCriteria&);
    friend void CancelSearch(SearchControl&);
    friend int SearchWorker(SearchControl&, SearchCallback&, SearchCriteria);

    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> walkCut_{false};
    SearchCallback* callback_ = nullptr;
    std::thread worker_;
};

// The one control the program's dialogs use.
SearchControl& ProcessSearchControl();

// Starts a search of `criteria` on a new thread and returns 1 at once. A search that is still
// running on `control` is cancelled and waited for first.
int StartSearch(SearchControl& control, SearchCallback& callback, const SearchCriteria& criteria);

// Asks the running search to stop; it reports Finished(kSearchCancelled) before it enters
// another key.
void CancelSearch(SearchControl& control);

// The worker's loop, on the calling thread: search, report each hit, and go on after it while
// the callback asks to, walking once for all of them (SearchEveryHit). Ends with exactly one
// Finished. A hit that was reported before (a damaged hive with duplicate names leads back to
// it) ends the search as nothing more found; a pattern that reaches its match limits ends it
// with kSearchPatternTooComplex. An invalid pattern (callers check it first with
// CompileTextPattern) finds nothing. Returns 1.
int SearchWorker(SearchControl& control, SearchCallback& callback, SearchCriteria criteria);

}  // namespace hivora

// Shared pieces of the search tests: builder hives loaded into the process-wide set, and a
// callback that records what a search reports.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hive/HiveTestSupport.h"
#include "search/SearchControl.h"

namespace hivora::test {

using LoadedHivesTest = HiveSetTest;

// Records every hit and the end; goes on after each hit while `goOn` says so.
class RecordingCallback : public SearchCallback {
public:
    explicit RecordingCallback(bool goOn = true) : goOn_(goOn) {}
    void Finished(int reason) override { finished.push_back(reason); }
    int Found(const SearchResult& result) override {
        hits.push_back(result);
        if (onFound) {
            onFound(result);
        }
        return goOn_ ? 1 : 0;
    }

    // "KIND KEYPATH[:VALUE]" per hit, for compact expectations.
    std::vector<std::string> Lines() const {
        static const char* kKinds[] = {"KeyName", "ValueName", "ValueData", "KeyDate"};
        std::vector<std::string> lines;
        for (const SearchResult& hit : hits) {
            std::string line = std::string(kKinds[static_cast<int>(hit.kind)]) + " " + hit.keyPath;
            if (hit.valueName != kKeyHitValueName) {
                line += ":" + hit.valueName;
            }
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<SearchResult> hits;
    std::vector<int> finished;
    std::function<void(const SearchResult&)> onFound;

private:
    bool goOn_;
};

// Every hit of `criteria` in order, as the worker's go-on loop reports them.
inline std::vector<std::string> AllHits(const SearchCriteria& criteria,
                                        int* finishReason = nullptr) {
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, criteria);
    EXPECT_EQ(callback.finished.size(), 1u);
    if (finishReason != nullptr && !callback.finished.empty()) {
        *finishReason = callback.finished.front();
    }
    return callback.Lines();
}

inline SearchCriteria TextCriteria(std::string text, std::string startPath = {},
                                   std::string startValue = {}) {
    SearchCriteria criteria;
    criteria.text = std::move(text);
    criteria.startPath = std::move(startPath);
    criteria.startValue = std::move(startValue);
    return criteria;
}

// Every key by date, with both limits off.
inline SearchCriteria EveryKeyByDate() {
    SearchCriteria criteria;
    criteria.byDate = 1;
    criteria.afterOn = criteria.beforeOn = 0;
    return criteria;
}

}  // namespace hivora::test

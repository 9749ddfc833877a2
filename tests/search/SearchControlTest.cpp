#include "search/SearchControl.h"

#include <gtest/gtest.h>

#include "search/SearchTestSupport.h"

namespace hivora::test {
namespace {

class SearchWorkerTest : public LoadedHivesTest {
protected:
    void SetUp() override {
        LoadedHivesTest::SetUp();
        HiveBuilder b;
        for (const char16_t* name : {u"x1", u"x2", u"x3"}) {
            b.AddKey(HiveBuilder::kRoot, name);
        }
        Load(HiveSlot::Software, b);
    }
};

TEST_F(SearchWorkerTest, EndsAtTheFirstHitWhenTheCallbackDeclines) {
    SearchControl control;
    RecordingCallback callback(false);
    SearchWorker(control, callback, TextCriteria("x"));
    EXPECT_EQ(callback.Lines(),
              std::vector<std::string>{"KeyName HKEY_LOCAL_MACHINE\\software\\x1"});
    EXPECT_EQ(callback.finished, std::vector<int>{kSearchEndedAtHit});
    EXPECT_FALSE(control.Running());
}

TEST_F(SearchWorkerTest, RunsOnItsOwnThreadAndCanBeStartedAgain) {
    SearchControl control;
    for (int round = 0; round < 2; ++round) {
        RecordingCallback callback(true);
        ASSERT_EQ(StartSearch(control, callback, TextCriteria("x")), 1);
        control.Join();
        EXPECT_FALSE(control.Running());
        EXPECT_EQ(callback.hits.size(), 3u) << round;
        EXPECT_EQ(callback.finished, std::vector<int>{kSearchNothingFound}) << round;
    }
}

TEST_F(SearchWorkerTest, CancelFromAnotherThreadEndsTheSearch) {
    // The callback holds the worker at its first hit until the cancel has been asked for.
    SearchControl control;
    RecordingCallback callback(true);
    std::atomic<bool> release{false};
    std::atomic<bool> atHit{false};
    callback.onFound = [&](const SearchResult&) {
        atHit.store(true);
        while (!release.load()) {
            std::this_thread::yield();
        }
    };
    StartSearch(control, callback, TextCriteria("x"));
    while (!atHit.load()) {
        std::this_thread::yield();
    }
    CancelSearch(control);
    release.store(true);
    control.Join();
    EXPECT_EQ(callback.hits.size(), 1u);
    EXPECT_EQ(callback.finished, std::vector<int>{kSearchCancelled});
}

}  // namespace
}  // namespace hivora::test

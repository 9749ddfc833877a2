// The Searching dialog: runs one search on the search worker while its animation plays, and
// closes only when the worker reports that it has finished. The worker's reports reach the
// dialog through a queued signal; the dialog never pumps events itself.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "search/SearchControl.h"
#include "search/SearchCriteria.h"
#include "search/SearchResult.h"

class QLabel;
class QPushButton;

namespace hivora {

class SearchAnimation;

class SearchingDialog : public QDialog, public SearchCallback {
    Q_OBJECT
public:
    // exec() results.
    static constexpr int kFound = 1;
    static constexpr int kCancelled = 2;
    static constexpr int kNothingFound = 7;

    explicit SearchingDialog(const SearchCriteria& criteria, QWidget* parent = nullptr);
    ~SearchingDialog() override;

    // Valid once exec() returned kFound.
    const SearchResult& Result() const { return result_; }

    SearchAnimation* Animation() const { return animation_; }
    QLabel* Message() const { return message_; }
    QPushButton* CancelButton() const { return cancel_; }
    bool CancelRequested() const { return cancelRequested_; }

    // Cancel and Escape ask the worker to stop; the dialog waits for its answer.
    void reject() override;

    // SearchCallback, called on the worker thread.
    void Finished(int reason) override;
    int Found(const SearchResult& result) override;

signals:
    void SearchFinished(int reason);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnSearchFinished(int reason);

    SearchCriteria criteria_;
    SearchResult result_;
    SearchAnimation* animation_;
    QLabel* message_;
    QPushButton* cancel_;
    bool started_ = false;
    bool finished_ = false;
    bool cancelRequested_ = false;
};

using SearchNotice = std::function<void(const std::string& text)>;

// The end of a search whose walk was cut short by a damaged hive: it may have missed hits.
inline constexpr const char* kSearchStoppedEarly =
    "The search stopped early because the hive is damaged.";

// Runs the Searching dialog on a copy of `criteria`. True when a hit was found (stored in
// `result`). When nothing was found, `notice` (an information box unless given) shows the
// time the search took, or that a damaged hive stopped it early; a cancelled search ends
// silently.
bool RunSearch(const SearchCriteria& criteria, SearchResult& result, QWidget* parent,
               const SearchNotice& notice = {});

}  // namespace hivora

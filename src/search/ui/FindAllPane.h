// The Find All results under a registry window: runs one search on the search worker and
// lists every hit as it comes (kind, key, value, data, last-write time). Columns sort; Enter or
// a double-click asks the window to go to the hit; the context menu copies rows; the list
// saves as CSV or JSON Lines.
//
// The worker never touches a widget: its hits gather in a locked batch that a timer on the
// window's thread moves into the model, so a search with hundreds of thousands of hits leaves
// the window responsive.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "search/SearchCallback.h"
#include "search/SearchCriteria.h"

class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;

namespace hivora {

class FindAllModel;
class Prompter;

class FindAllPane : public QWidget, public SearchCallback {
    Q_OBJECT
public:
    explicit FindAllPane(QWidget* parent = nullptr);
    // Stops a search still running and waits for the worker.
    ~FindAllPane() override;

    // Replaces the results with those of a new search of `criteria`, from the beginning of
    // the registry, and shows the pane.
    void Start(const SearchCriteria& criteria);
    // Asks the running search to stop; the hits found so far stay.
    void Cancel();
    bool Running() const { return running_; }

    // Asks where to save and writes the rows in their shown order; a failure is reported
    // through the prompter. False when nothing was written.
    bool SaveResults();
    // The selected rows as tab-separated lines, onto the clipboard.
    void CopySelectedRows();

    // Where failures are reported (message boxes when it gives nullptr).
    void SetPrompterSource(std::function<Prompter*()> source) { prompter_ = std::move(source); }

    FindAllModel* Model() const { return model_; }
    QTableView* Table() const { return table_; }
    QLabel* Status() const { return status_; }
    QPushButton* CancelButton() const { return cancel_; }
    std::unique_ptr<QMenu> ContextMenu();

    // SearchCallback, called on the worker thread.
    int Found(const SearchResult& result) override;
    void Finished(int reason) override;

signals:
    // Enter or a double-click on a row.
    void hitActivated(const hivora::SearchResult& hit);
    // The search ended (the rows are all in).
    void searchEnded();
    // Queued from the worker.
    void WorkerFinished(int reason, bool walkCut, unsigned generation);

private:
    void TakePending();
    void OnWorkerFinished(int reason, bool walkCut, unsigned generation);
    void ShowCount(const QString& prefix);

    FindAllModel* model_;
    QTableView* table_;
    QLabel* status_;
    QPushButton* cancel_;
    QPushButton* save_;
    QTimer* drain_;
    std::function<Prompter*()> prompter_;

    std::mutex pendingLock_;
    std::vector<SearchResult> pending_;  // guarded by pendingLock_
    std::atomic<bool> workerActive_{false};
    std::atomic<unsigned> generation_{0};
    bool running_ = false;
};

}  // namespace hivora

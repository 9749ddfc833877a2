#include "search/ui/FindAllPane.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "search/HitRows.h"
#include "search/SearchControl.h"
#include "search/ui/FindAllModel.h"
#include "search/ui/SearchingDialog.h"
#include "support/MyException.h"
#include "support/TextBuffer.h"
#include "support/ThousandsFormat.h"
#include "support/ui/CutTextTips.h"
#include "support/ui/SaveFileName.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

// How often the worker's hits are moved into the list while a search runs.
constexpr int kDrainMilliseconds = 100;

}  // namespace

FindAllPane::FindAllPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FindAllPane"));
    model_ = new FindAllModel(this);
    table_ = new QTableView;
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle);  // a key path's ending names the key
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    // Rows all of one height: the view never measures them, however many there are.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[kHitColumnCount] = {90, 380, 160, 220, 160};
    for (int column = 0; column < kHitColumnCount; ++column) {
        table_->setColumnWidth(column, widths[column]);
    }
    ShowCutCellTips(table_);

    status_ = new QLabel;
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    save_ = new QPushButton(QStringLiteral("Save..."));
    auto* close = new QPushButton(QStringLiteral("Close"));
    cancel_->setEnabled(false);
    save_->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(new QLabel(QStringLiteral("<b>Find All</b>")));
    bar->addSpacing(8);
    bar->addWidget(status_, 1);
    bar->addWidget(cancel_);
    bar->addWidget(save_);
    bar->addWidget(close);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(3, 2, 3, 3);
    top->setSpacing(2);
    top->addLayout(bar);
    top->addWidget(table_, 1);

    drain_ = new QTimer(this);
    drain_->setInterval(kDrainMilliseconds);
    connect(drain_, &QTimer::timeout, this, &FindAllPane::TakePending);
    connect(this, &FindAllPane::WorkerFinished, this, &FindAllPane::OnWorkerFinished,
            Qt::QueuedConnection);
    connect(cancel_, &QPushButton::clicked, this, &FindAllPane::Cancel);
    connect(save_, &QPushButton::clicked, this, &FindAllPane::SaveResults);
    connect(close, &QPushButton::clicked, this, [this] {
        Cancel();
        hide();
    });
    connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit hitActivated(model_->Hit(index.row()));
        }
    });
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (std::unique_ptr<QMenu> menu = ContextMenu()) {
            menu->exec(table_->viewport()->mapToGlobal(pos));
        }
    });
    hide();
}

FindAllPane::~FindAllPane() {
    // While our search runs it is the control's search: nobody else started one since.
    if (workerActive_) {
        CancelSearch(ProcessSearchControl());
        ProcessSearchControl().Join();
    }
}

void FindAllPane::Start(const SearchCriteria& criteria) {
    if (workerActive_) {
        CancelSearch(ProcessSearchControl());
        ProcessSearchControl().Join();
    }
    ++generation_;
    {
        std::lock_guard lock(pendingLock_);
        pending_.clear();
    }
    model_->Clear();
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    SearchCriteria all = criteria;
    all.startPath.clear();
    all.startValue.clear();
    all.startDeletedHive = 0;
    all.startDeletedOffset = 0;
    running_ = true;
    cancel_->setEnabled(true);
    save_->setEnabled(false);
    ShowCount(QStringLiteral("Searching..."));
    show();
    workerActive_ = true;
    StartSearch(ProcessSearchControl(), *this, all);
    drain_->start();
}

void FindAllPane::Cancel() {
    if (workerActive_) {
        CancelSearch(ProcessSearchControl());
    }
}

int FindAllPane::Found(const SearchResult& result) {
    std::lock_guard lock(pendingLock_);
    pending_.push_back(result);
    return 1;
}

void FindAllPane::Finished(int reason) {
    const bool walkCut = ProcessSearchControl().WalkCut();
    const unsigned generation = generation_.load();
    workerActive_ = false;
    emit WorkerFinished(reason, walkCut, generation);
}

void FindAllPane::TakePending() {
    std::vector<SearchResult> batch;
    {
        std::lock_guard lock(pendingLock_);
        batch.swap(pending_);
    }
    model_->Append(std::move(batch));
    if (running_) {
        ShowCount(QStringLiteral("Searching..."));
    }
}

void FindAllPane::OnWorkerFinished(int reason, bool walkCut, unsigned generation) {
    if (generation != generation_.load() || !running_) {
        return;  // the end of a search this pane has since replaced
    }
    drain_->stop();
    TakePending();
    running_ = false;
    cancel_->setEnabled(false);
    save_->setEnabled(model_->rowCount() > 0);
    // Hits that came in after a sort go to their places now.
    const QHeaderView* header = table_->horizontalHeader();
    if (header->sortIndicatorSection() >= 0) {
        model_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    }
    if (walkCut) {
        ShowCount(ToQString(kSearchStoppedEarly));
    } else if (reason == kSearchCancelled) {
        ShowCount(QStringLiteral("Search cancelled."));
    } else {
        ShowCount(QString());
    }
    emit searchEnded();
}

void FindAllPane::ShowCount(const QString& prefix) {
    const int count = model_->rowCount();
    const QString hits = count == 1 ? QStringLiteral("1 hit")
                                    : ToQString(FormatThousands(count)) + QStringLiteral(" hits");
    status_->setText(prefix.isEmpty() ? hits : prefix + QLatin1Char(' ') + hits);
}

std::unique_ptr<QMenu> FindAllPane::ContextMenu() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    QAction* go = menu->addAction(QStringLiteral("&Go To"), this,
                                  [this, current] { emit hitActivated(model_->Hit(current.row())); });
    menu->setDefaultAction(go);
    menu->addAction(QStringLiteral("&Copy"), this, &FindAllPane::CopySelectedRows);
    menu->addSeparator();
    QAction* save = menu->addAction(QStringLiteral("&Save Results..."), this,
                                    &FindAllPane::SaveResults);
    save->setEnabled(save_->isEnabled());
    return menu;
}

void FindAllPane::CopySelectedRows() {
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& row : rows) {
        text += model_->RowText(row.row()) + QStringLiteral("\r\n");
    }
    if (!text.isEmpty()) {
        CopyTextToClipboard(ToStdString(text));
    }
}

bool FindAllPane::SaveResults() {
    if (running_ || model_->rowCount() == 0) {
        return false;
    }
    const QString path = AskSaveFileName(
        this,
        QStringLiteral("CSV File (*.csv)|*.csv|JSON Lines File (*.jsonl)|*.jsonl|"
                       "All Files (*.*)|*.*||"),
        QStringLiteral("*.csv"));
    if (path.isEmpty()) {
        return false;
    }
    const std::string fileName = ToStdString(path);
    try {
        WaitCursor wait;
        SaveHits(model_->Hits(), ResultFormatForFileName(fileName), fileName);
    } catch (const CMyException& error) {
        PrompterFor prompter(prompter_ ? prompter_() : nullptr, this);
        (*prompter).ShowError(error.GetErrorMessage());
        return false;
    }
    return true;
}

}  // namespace hivora

#include "moc_FindAllPane.cpp"

#include "search/ui/SearchingDialog.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/ui/SearchAnimation.h"
#include "support/ThousandsFormat.h"
#include "support/ui/UiServices.h"

namespace hivora {

SearchingDialog::SearchingDialog(const SearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), criteria_(criteria) {
    setWindowTitle(QStringLiteral("Searching"));
    setModal(true);

    animation_ = new SearchAnimation;
    message_ = new QLabel(QStringLiteral("Searching the registry..."));
    message_->setFont(QFont(QStringLiteral("Arial"), 18));
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    connect(cancel_, &QPushButton::clicked, this, &SearchingDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(animation_);
    row->addSpacing(12);
    row->addWidget(message_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(row);
    top->addLayout(buttons);

    // Queued: the worker emits, the dialog's thread handles.
    connect(this, &SearchingDialog::SearchFinished, this, &SearchingDialog::OnSearchFinished,
            Qt::QueuedConnection);
}

SearchingDialog::~SearchingDialog() {
    // Only the worker's report ends exec(), so the worker is normally gone by now. A dialog
    // destroyed without running to the end still must not leave the worker calling into it.
    if (started_ && !finished_) {
        CancelSearch(ProcessSearchControl());
        ProcessSearchControl().Join();
    }
}

void SearchingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        StartSearch(ProcessSearchControl(), *this, criteria_);
    }
}

void SearchingDialog::reject() {
    if (!started_ || finished_) {
        QDialog::reject();
        return;
    }
    cancelRequested_ = true;
    CancelSearch(ProcessSearchControl());
}

void SearchingDialog::closeEvent(QCloseEvent* event) {
    if (started_ && !finished_) {
        event->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(event);
}

void SearchingDialog::Finished(int reason) {
    emit SearchFinished(reason);
}

int SearchingDialog::Found(const SearchResult& result) {
    result_ = result;
    return 0;
}

void SearchingDialog::OnSearchFinished(int reason) {
    int code = 0;
    switch (reason) {
        case kSearchEndedAtHit:
            code = kFound;
            break;
        case kSearchCancelled:
            code = kCancelled;
            break;
        case kSearchNothingFound:
            code = kNothingFound;
            break;
        default:
            return;
    }
    finished_ = true;
    done(code);
}

bool RunSearch(const SearchCriteria& criteria, SearchResult& result, QWidget* parent,
               const SearchNotice& notice) {
    SearchingDialog dialog(criteria, parent);
    QElapsedTimer clock;
    clock.start();
    const int code = dialog.exec();
    const qint64 elapsed = clock.elapsed();
    if (code == SearchingDialog::kNothingFound) {
        const std::string text = ProcessSearchControl().WalkCut()
                                     ? std::string(kSearchStoppedEarly)
                                     : "Finished searching through the registry, " +
                                           FormatThousands(elapsed) + " milliseconds taken";
        if (notice) {
            notice(text);
        } else {
            QMessageBox::information(parent, MessageCaption(), ToQString(text));
        }
        return false;
    }
    if (code == SearchingDialog::kFound) {
        result = dialog.Result();
        return true;
    }
    return false;
}

}  // namespace hivora

#include "moc_SearchingDialog.cpp"

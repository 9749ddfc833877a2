#include "favorites/ui/ManageFavoritesDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "favorites/FavoriteStore.h"
#include "favorites/ui/FavoriteNameDialog.h"
#include "support/ui/Prompter.h"
#include "support/ui/UiServices.h"
#include "viewers/ui/ReportErrors.h"
#include "support/ui/SaveFileName.h"

namespace hivora {

namespace {

const QString kFavoritesFilter = QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*||");
// Delete acts on this many selected items at most.
constexpr int kMaxDeleted = 1000;

}  // namespace

ManageFavoritesDialog::ManageFavoritesDialog(FavoriteStore& store, Prompter& prompter,
                                             QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Manage Favorites"));
    list_ = new QListWidget;
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSortingEnabled(false);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    goTo_ = new QPushButton(QStringLiteral("&GoTo"));
    goTo_->setDefault(true);
    rename_ = new QPushButton(QStringLiteral("&Rename"));
    delete_ = new QPushButton(QStringLiteral("&Delete"));
    deleteAll_ = new QPushButton(QStringLiteral("Delete &All"));
    save_ = new QPushButton(QStringLiteral("&Save to File"));
    load_ = new QPushButton(QStringLiteral("&Load from File"));
    close_ = new QPushButton(QStringLiteral("&Close"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {goTo_, rename_, delete_, deleteAll_, save_, load_, close_}) {
        buttons->addWidget(button);
    }
    auto* top = new QVBoxLayout(this);
    top->addWidget(list_, 1);
    top->addLayout(buttons);

    connect(goTo_, &QPushButton::clicked, this, &ManageFavoritesDialog::GoTo);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ManageFavoritesDialog::GoTo);
    connect(rename_, &QPushButton::clicked, this, &ManageFavoritesDialog::Rename);
    connect(delete_, &QPushButton::clicked, this, &ManageFavoritesDialog::DeleteSelected);
    connect(deleteAll_, &QPushButton::clicked, this, &ManageFavoritesDialog::DeleteAll);
    connect(save_, &QPushButton::clicked, this, &ManageFavoritesDialog::SaveToFile);
    connect(load_, &QPushButton::clicked, this, &ManageFavoritesDialog::LoadFromFile);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    resize(620, 300);
    Fill();
}

void ManageFavoritesDialog::Fill() {
    list_->clear();
    Favorite favorite;
    for (size_t i = 0; store_.GetFavorite(i, favorite); ++i) {
        list_->addItem(ToQString(favorite.name));
    }
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
}

void ManageFavoritesDialog::GoTo() {
    const int row = list_->currentRow();
    if (row >= 0) {
        chosen_ = row;
        accept();
    }
}

void ManageFavoritesDialog::Rename() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.size() != 1) {
        prompter_.ShowNotice("Please select a single item to rename");
        return;
    }
    const std::string oldName = selected.front()->text().toStdString();
    FavoriteNameDialog dialog(FavoriteNameDialog::Mode::Rename, oldName, store_, prompter_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Name() != oldName) {
        store_.RenameFavorite(oldName, dialog.Name());
        Fill();
    }
}

void ManageFavoritesDialog::DeleteSelected() {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    if (rows.size() > static_cast<size_t>(kMaxDeleted)) {
        rows.resize(kMaxDeleted);
    }
    for (int row : rows) {
        store_.DeleteFavorite(list_->item(row)->text().toStdString());
    }
    Fill();
}

void ManageFavoritesDialog::DeleteAll() {
    if (!prompter_.AskYesNo("Are you sure you want to delete all bookmarks?")) {
        return;
    }
    for (int row = 0; row < list_->count(); ++row) {
        store_.DeleteFavorite(list_->item(row)->text().toStdString());
    }
    reject();
}

void ManageFavoritesDialog::SaveToFile() {
    RunReportingErrors(this, [this] {
        const QString path = AskSaveFileName(this, kFavoritesFilter, QStringLiteral("*.txt"));
        if (!path.isEmpty()) {
            store_.SaveFavoritesToFile(path.toStdString());
        }
    });
}

void ManageFavoritesDialog::LoadFromFile() {
    RunReportingErrors(this, [this] {
        const QString path = AskOpenFileName(this, kFavoritesFilter);
        if (!path.isEmpty()) {
            store_.LoadFavoritesFromFile(path.toStdString());
        }
    });
    // Whatever was added before a failure is listed.
    Fill();
}

}  // namespace hivora

#include "moc_ManageFavoritesDialog.cpp"

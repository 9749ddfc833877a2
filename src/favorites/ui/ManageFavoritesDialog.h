// The Manage Favorites dialog: the favourites of the current file set, to go to, rename,
// delete, save to a file or load from one.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace hivora {

class FavoriteStore;
class Prompter;

class ManageFavoritesDialog : public QDialog {
    Q_OBJECT
public:
    ManageFavoritesDialog(FavoriteStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // After OK: the favourite to go to.
    int ChosenIndex() const { return chosen_; }

    QListWidget* List() const { return list_; }
    QPushButton* GoToButton() const { return goTo_; }
    QPushButton* RenameButton() const { return rename_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* DeleteAllButton() const { return deleteAll_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* CloseButton() const { return close_; }

    void GoTo();
    void Rename();
    void DeleteSelected();
    void DeleteAll();
    void SaveToFile();
    void LoadFromFile();

private:
    void Fill();

    FavoriteStore& store_;
    Prompter& prompter_;
    int chosen_ = -1;
    QListWidget* list_;
    QPushButton* goTo_;
    QPushButton* rename_;
    QPushButton* delete_;
    QPushButton* deleteAll_;
    QPushButton* save_;
    QPushButton* load_;
    QPushButton* close_;
};


}  // namespace hivora

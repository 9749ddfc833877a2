// The Find dialog: the text, where to look, and whole-string matching, edited on a copy of a
// registry window's search criteria.
#pragma once

#include <QDialog>

#include "search/SearchCriteria.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace hivora {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const SearchCriteria& criteria, QWidget* parent = nullptr);

    // The edited copy; written back by the caller when the dialog ended with OK.
    const SearchCriteria& Criteria() const { return criteria_; }

    QLineEdit* TextEdit() const { return text_; }
    QCheckBox* KeysBox() const { return keys_; }
    QCheckBox* ValuesBox() const { return values_; }
    QCheckBox* DataBox() const { return data_; }
    QCheckBox* WholeStringBox() const { return whole_; }
    QCheckBox* DeletedBox() const { return deleted_; }
    QPushButton* FindNextButton() const { return findNext_; }

    void accept() override;

private:
    SearchCriteria criteria_;
    QLineEdit* text_;
    QCheckBox* keys_;
    QCheckBox* values_;
    QCheckBox* data_;
    QCheckBox* whole_;
    QCheckBox* deleted_;
    QPushButton* findNext_;
};

// Runs the dialog on `criteria`; true (and `criteria` updated) on OK.
bool EditFindCriteria(SearchCriteria& criteria, QWidget* parent);

}  // namespace hivora

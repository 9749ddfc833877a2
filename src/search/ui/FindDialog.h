// The Find dialog: the text, where to look, and how to compare (whole string, regular
// expression, case), edited on a copy of a registry window's search criteria. It ends with
// Find Next or Find All.
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
    QCheckBox* RegexBox() const { return regex_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* FindAllButton() const { return findAll_; }
    // The dialog ended with Find All rather than Find Next.
    bool FindAllChosen() const { return findAllChosen_; }

    void accept() override;

private:
    SearchCriteria criteria_;
    QLineEdit* text_;
    QCheckBox* keys_;
    QCheckBox* values_;
    QCheckBox* data_;
    QCheckBox* whole_;
    QCheckBox* deleted_;
    QCheckBox* regex_;
    QCheckBox* matchCase_;
    QPushButton* findNext_;
    QPushButton* findAll_;
    bool findAllChosen_ = false;
};

// Runs the dialog on `criteria`; true (and `criteria` updated) on Find Next or Find All, and
// `findAll` (when given) tells which.
bool EditFindCriteria(SearchCriteria& criteria, QWidget* parent, bool* findAll = nullptr);

}  // namespace hivora

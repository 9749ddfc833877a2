// The Find By Date dialog: the two last-write limits of a date search, each with its own
// check box, date picker and time picker.
#pragma once

#include <QDateTime>
#include <QDialog>

#include "search/SearchCriteria.h"

class QCheckBox;
class QDateEdit;
class QPushButton;
class QTimeEdit;

namespace hivora {

// The search compares the local clock reading as though it were UTC, so the pickers show a
// FILETIME's UTC fields and store what they show the same way.
QDateTime ClockFromFileTime(FileTime time);
FileTime FileTimeFromClock(const QDate& date, const QTime& time);

class FindByDateDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindByDateDialog(const SearchCriteria& criteria, QWidget* parent = nullptr);

    const SearchCriteria& Criteria() const { return criteria_; }

    QCheckBox* AfterBox() const { return afterOn_; }
    QCheckBox* BeforeBox() const { return beforeOn_; }
    QDateEdit* AfterDate() const { return afterDate_; }
    QTimeEdit* AfterTime() const { return afterTime_; }
    QDateEdit* BeforeDate() const { return beforeDate_; }
    QTimeEdit* BeforeTime() const { return beforeTime_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* FindAllButton() const { return findAll_; }
    bool FindAllChosen() const { return findAllChosen_; }

    void accept() override;

private:
    void UpdateEnabling();

    SearchCriteria criteria_;
    QCheckBox* afterOn_;
    QDateEdit* afterDate_;
    QTimeEdit* afterTime_;
    QCheckBox* beforeOn_;
    QDateEdit* beforeDate_;
    QTimeEdit* beforeTime_;
    QPushButton* findNext_;
    QPushButton* findAll_;
    bool findAllChosen_ = false;
};

// As EditFindCriteria: true on Find Next or Find All, `findAll` telling which.
bool EditDateCriteria(SearchCriteria& criteria, QWidget* parent, bool* findAll = nullptr);

}  // namespace hivora

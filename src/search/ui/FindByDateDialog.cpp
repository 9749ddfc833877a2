#include "search/ui/FindByDateDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "search/ui/RunCriteriaDialog.h"
#include "support/FileTimeFormat.h"
#include "support/ui/UiServices.h"

namespace hivora {

QDateTime ClockFromFileTime(FileTime time) {
    const int64_t ms =
        (static_cast<int64_t>(time) - static_cast<int64_t>(kUnixEpochFileTime)) / 10000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

FileTime FileTimeFromClock(const QDate& date, const QTime& time) {
    const QDateTime clock(date, time, Qt::UTC);
    return static_cast<FileTime>(clock.toMSecsSinceEpoch() * 10000 +
                                 static_cast<int64_t>(kUnixEpochFileTime));
}

FindByDateDialog::FindByDateDialog(const SearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), criteria_(criteria) {
    setWindowTitle(QStringLiteral("Find By Date"));

    const QString shortDate = DialogDateFormat(QLocale());
    // Seconds matter to a last-write search; a zone name does not (the value is a clock reading).
    const QString timeFormat =
        QLocale().timeFormat(QLocale::LongFormat).remove(QLatin1Char('t')).trimmed();
    auto makeDate = [&](FileTime value) {
        auto* edit = new QDateEdit(ClockFromFileTime(value).date());
        edit->setDisplayFormat(shortDate);
        edit->setCalendarPopup(true);
        return edit;
    };
    auto makeTime = [&](FileTime value) {
        auto* edit = new QTimeEdit(ClockFromFileTime(value).time());
        edit->setDisplayFormat(timeFormat);
        return edit;
    };

    // "Modifed" is the caption users know this box by.
    afterOn_ = new QCheckBox(QStringLiteral("Modifed after"));
    afterDate_ = makeDate(criteria_.after);
    afterTime_ = makeTime(criteria_.after);
    beforeOn_ = new QCheckBox(QStringLiteral("Modified before"));
    beforeDate_ = makeDate(criteria_.before);
    beforeTime_ = makeTime(criteria_.before);
    afterOn_->setChecked(criteria_.afterOn != 0);
    beforeOn_->setChecked(criteria_.beforeOn != 0);

    auto* grid = new QGridLayout;
    grid->addWidget(afterOn_, 0, 0);
    grid->addWidget(afterDate_, 0, 1);
    grid->addWidget(afterTime_, 0, 2);
    grid->addWidget(beforeOn_, 1, 0);
    grid->addWidget(beforeDate_, 1, 1);
    grid->addWidget(beforeTime_, 1, 2);

    findNext_ = new QPushButton(QStringLiteral("Find next"));
    findNext_->setDefault(true);
    findAll_ = new QPushButton(QStringLiteral("Find &All"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(findNext_, &QPushButton::clicked, this, &QDialog::accept);
    connect(findAll_, &QPushButton::clicked, this, [this] {
        findAllChosen_ = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(findAll_);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->addLayout(grid, 1);
    top->addLayout(buttons);

    connect(afterOn_, &QCheckBox::toggled, this, &FindByDateDialog::UpdateEnabling);
    connect(beforeOn_, &QCheckBox::toggled, this, &FindByDateDialog::UpdateEnabling);
    UpdateEnabling();
}

void FindByDateDialog::UpdateEnabling() {
    const bool after = afterOn_->isChecked();
    const bool before = beforeOn_->isChecked();
    findNext_->setEnabled(after || before);
    findAll_->setEnabled(after || before);
    afterDate_->setEnabled(after);
    afterTime_->setEnabled(after);
    beforeDate_->setEnabled(before);
    beforeTime_->setEnabled(before);
}

void FindByDateDialog::accept() {
    if (!findNext_->isEnabled()) {
        return;
    }
    criteria_.byDate = 1;
    criteria_.after = FileTimeFromClock(afterDate_->date(), afterTime_->time());
    criteria_.before = FileTimeFromClock(beforeDate_->date(), beforeTime_->time());
    criteria_.afterOn = afterOn_->isChecked() ? 1 : 0;
    criteria_.beforeOn = beforeOn_->isChecked() ? 1 : 0;
    QDialog::accept();
}

bool EditDateCriteria(SearchCriteria& criteria, QWidget* parent, bool* findAll) {
    return RunCriteriaDialog<FindByDateDialog>(criteria, parent, findAll);
}

}  // namespace hivora

#include "moc_FindByDateDialog.cpp"

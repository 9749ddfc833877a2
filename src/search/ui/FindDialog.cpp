#include "search/ui/FindDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/ui/RunCriteriaDialog.h"

namespace hivora {

FindDialog::FindDialog(const SearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), criteria_(criteria) {
    setWindowTitle(QStringLiteral("Find"));

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"));
    text_ = new QLineEdit(QString::fromStdString(criteria_.text));
    label->setBuddy(text_);

    keys_ = new QCheckBox(QStringLiteral("&Keys"));
    values_ = new QCheckBox(QStringLiteral("&Values"));
    data_ = new QCheckBox(QStringLiteral("&Data"));
    whole_ = new QCheckBox(QStringLiteral("Match &whole string only"));
    keys_->setChecked(criteria_.keys != 0);
    values_->setChecked(criteria_.values != 0);
    data_->setChecked(criteria_.data != 0);
    whole_->setChecked(criteria_.wholeString != 0);
    deleted_ = new QCheckBox(QStringLiteral("Include d&eleted records"));
    deleted_->setChecked(criteria_.deleted != 0);
    regex_ = new QCheckBox(QStringLiteral("Regular e&xpression"));
    regex_->setChecked(criteria_.regex != 0);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"));
    matchCase_->setChecked(criteria_.matchCase != 0);

    auto* lookAt = new QGroupBox(QStringLiteral("Look at"));
    auto* lookLayout = new QVBoxLayout(lookAt);
    lookLayout->addWidget(keys_);
    lookLayout->addWidget(values_);
    lookLayout->addWidget(data_);

    findNext_ = new QPushButton(QStringLiteral("Find Next"));
    findNext_->setDefault(true);
    findAll_ = new QPushButton(QStringLiteral("Find &All"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(findNext_, &QPushButton::clicked, this, &QDialog::accept);
    connect(findAll_, &QPushButton::clicked, this, [this] {
        findAllChosen_ = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(text_, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(lookAt);
    auto* compare = new QVBoxLayout;
    compare->addStretch(1);
    compare->addWidget(whole_);
    compare->addWidget(regex_);
    compare->addWidget(matchCase_);
    optionRow->addLayout(compare);
    optionRow->addStretch(1);
    left->addLayout(optionRow);
    left->addWidget(deleted_);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(findAll_);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);

    auto updateEnabling = [this] {
        findNext_->setEnabled(!text_->text().isEmpty());
        findAll_->setEnabled(findNext_->isEnabled());
    };
    connect(text_, &QLineEdit::textChanged, this, updateEnabling);
    updateEnabling();
    resize(420, sizeHint().height());
}

void FindDialog::accept() {
    // Enter in the edit box must not search for nothing.
    if (!findNext_->isEnabled()) {
        return;
    }
    criteria_.keys = keys_->isChecked() ? 1 : 0;
    criteria_.values = values_->isChecked() ? 1 : 0;
    criteria_.data = data_->isChecked() ? 1 : 0;
    criteria_.wholeString = whole_->isChecked() ? 1 : 0;
    criteria_.deleted = deleted_->isChecked() ? 1 : 0;
    criteria_.regex = regex_->isChecked() ? 1 : 0;
    criteria_.matchCase = matchCase_->isChecked() ? 1 : 0;
    criteria_.text = text_->text().toStdString();
    criteria_.byDate = 0;
    QDialog::accept();
}

bool EditFindCriteria(SearchCriteria& criteria, QWidget* parent, bool* findAll) {
    return RunCriteriaDialog<FindDialog>(criteria, parent, findAll);
}

}  // namespace hivora

#include "moc_FindDialog.cpp"

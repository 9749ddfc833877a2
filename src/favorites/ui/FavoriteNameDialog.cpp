#include "favorites/ui/FavoriteNameDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "favorites/FavoriteStore.h"
#include "support/CaseFold.h"
#include "support/ui/Prompter.h"
#include "support/ui/UiServices.h"

namespace hivora {

FavoriteNameDialog::FavoriteNameDialog(Mode mode, const std::string& name, FavoriteStore& store,
                                       Prompter& prompter, QWidget* parent)
    : QDialog(parent), mode_(mode), name_(name), store_(store), prompter_(prompter) {
    setWindowTitle(mode_ == Mode::Rename ? QStringLiteral("Rename Favorite")
                                         : QStringLiteral("Add To Favorites"));
    auto* label = new QLabel(QStringLiteral("Favorite Name:"));
    edit_ = new QLineEdit(ToQString(name_));
    label->setBuddy(edit_);
    ok_ = new QPushButton(QStringLiteral("OK"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(label);
    top->addWidget(edit_);
    top->addLayout(buttons);
    resize(480, sizeHint().height());
}

void FavoriteNameDialog::accept() {
    const std::string name = edit_->text().trimmed().toStdString();
    if (name.empty()) {
        prompter_.ShowError("The name must not be empty!");
        return;
    }
    if (mode_ == Mode::Add) {
        Favorite favorite;
        for (size_t i = 0; store_.GetFavorite(i, favorite); ++i) {
            if (EqualsNoCase(favorite.name, name)) {
                prompter_.ShowNotice("Favorite with this name already exists");
                return;
            }
        }
    }
    name_ = name;
    QDialog::accept();
}

}  // namespace hivora

#include "moc_FavoriteNameDialog.cpp"

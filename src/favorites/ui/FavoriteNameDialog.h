// The name of a favourite, asked when one is added (with the key's path proposed) or renamed.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace hivora {

class FavoriteStore;
class Prompter;

class FavoriteNameDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Rename };

    // In add mode a name already in `store` (ignoring case) is refused.
    FavoriteNameDialog(Mode mode, const std::string& name, FavoriteStore& store, Prompter& prompter,
                       QWidget* parent = nullptr);

    // The accepted name, trimmed.
    const std::string& Name() const { return name_; }
    QLineEdit* NameEdit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }

    void accept() override;

private:
    Mode mode_;
    std::string name_;
    FavoriteStore& store_;
    Prompter& prompter_;
    QLineEdit* edit_;
    QPushButton* ok_;
};

}  // namespace hivora

// Shows a Find dialog on `criteria`; true when the user chose Find Next or Find All, with the
// dialog's criteria copied back and `findAll` (when given) telling which.
#pragma once

#include <QDialog>

#include "search/SearchCriteria.h"

namespace hivora {

template <class Dialog>
bool RunCriteriaDialog(SearchCriteria& criteria, QWidget* parent, bool* findAll) {
    Dialog dialog(criteria, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    criteria = dialog.Criteria();
    if (findAll != nullptr) {
        *findAll = dialog.FindAllChosen();
    }
    return true;
}

}  // namespace hivora

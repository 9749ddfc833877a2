#include "shell/FeatureCommands.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>
#include <map>
#include <memory>

#include "export/ui/ExportCommand.h"
#include "export/ui/StatisticsDialog.h"
#include "favorites/FavoriteStore.h"
#include "favorites/NavigationHistory.h"
#include "favorites/ui/FavoriteNameDialog.h"
#include "favorites/ui/ManageFavoritesDialog.h"
#include "keys/ui/CRegistryTreeCtrl.h"
#include "search/ui/FindByDateDialog.h"
#include "search/ui/FindDialog.h"
#include "search/ui/FindNextCommand.h"
#include "shell/CChildFrame.h"
#include "shell/CChildView.h"
#include "support/Version.h"
#include "support/ui/UiServices.h"
#include "values/ValueItem.h"
#include "values/ui/CRegValuesList.h"
#include "viewers/ui/BinaryDataDialog.h"
#include "viewers/ui/ValueDataDialog.h"

namespace hivora::features {

namespace {

Prompter* g_prompter = nullptr;

// The prompter of a command: the installed one, else message boxes over `parent`.
class CommandPrompter {
public:
    explicit CommandPrompter(QWidget* parent) : boxes_(parent) {}
    Prompter& operator*() { return g_prompter != nullptr ? *g_prompter : boxes_; }

private:
    MessageBoxPrompter boxes_;
};

// Each registry window keeps its own criteria for as long as it lives.
SearchCriteria& CriteriaOf(const CChildView& view) {
    static std::map<const CChildView*, SearchCriteria> criteria;
    auto [it, added] = criteria.try_emplace(&view);
    if (added) {
        QObject::connect(&view, &QObject::destroyed, [key = &view] { criteria.erase(key); });
    }
    return it->second;
}

// What a search needs of a registry window.
class ViewSearchHost : public SearchHost {
public:
    explicit ViewSearchHost(CChildView& view) : view_(view) {}

    std::string SelectedKeyPath() const override { return view_.GetContainingKeyName(); }
    // The window's focus widget, not hasFocus(): the main window may not be active again yet
    // when a modal dialog (the Searching dialog of the previous hit) has just closed.
    bool ValuesListHasFocus() const override {
        return view_.List()->window()->focusWidget() == view_.List();
    }
    std::string SelectedValueName() const override { return view_.List()->GetSelectedValueName(); }
    void ShowKeyHit(const std::string& keyPath) override {
        view_.Tree()->SelectPath(keyPath);
        view_.Tree()->setFocus();
    }
    void ShowValueHit(const std::string& keyPath, const std::string& valueName) override {
        view_.Tree()->SelectPath(keyPath);
        view_.List()->SelectValueByName(valueName);
        view_.List()->setFocus();
    }

private:
    CChildView& view_;
};

}  // namespace

void SetFeaturePrompter(Prompter* prompter) {
    g_prompter = prompter;
}

bool RunFindDialog(CChildView& view) {
    return EditFindCriteria(CriteriaOf(view), &view);
}

bool RunFindByDateDialog(CChildView& view) {
    return EditDateCriteria(CriteriaOf(view), &view);
}

bool HasSearchToRepeat(const CChildView& view) {
    return CanFindNext(CriteriaOf(view));
}

void FindNext(CChildView& view) {
    ViewSearchHost host(view);
    SearchNotice notice;
    if (g_prompter != nullptr) {
        notice = [](const std::string& text) { g_prompter->ShowNotice(text); };
    }
    RunFindNext(CriteriaOf(view), host, &view, notice);
}

void AddToFavorites(CChildView& view, const KeyItemData& record, const std::string& path) {
    CommandPrompter prompter(&view);
    FavoriteNameDialog dialog(FavoriteNameDialog::Mode::Add, path, AppFavorites(), *prompter,
                              &view);
    if (dialog.exec() == QDialog::Accepted) {
        AppFavorites().AddFavorite({dialog.Name(), record.root, record.subPath});
    }
}

bool CanManageFavorites() {
    return true;
}

int RunManageFavorites(CChildView& view) {
    CommandPrompter prompter(&view);
    ManageFavoritesDialog dialog(AppFavorites(), *prompter, &view);
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    return dialog.ChosenIndex();
}

bool FavoriteAt(int index, std::string& name, RootKey& root, std::string& subPath) {
    Favorite favorite;
    if (index < 0 || !AppFavorites().GetFavorite(static_cast<size_t>(index), favorite)) {
        return false;
    }
    name = favorite.name;
    root = favorite.root;
    subPath = favorite.subPath;
    return true;
}

void RecordHistory(const KeyItemData& record) {
    History().RecordKey({record.root, record.subPath});
}

bool CanGoBack() {
    return History().CanGoBack();
}

bool CanGoForward() {
    return History().CanGoForward();
}

bool TakeBack(RootKey& root, std::string& subPath) {
    const std::optional<HistoryEntry> entry = History().StepBack();
    if (!entry) {
        return false;
    }
    root = entry->root;
    subPath = entry->subPath;
    return true;
}

bool TakeForward(RootKey& root, std::string& subPath) {
    const std::optional<HistoryEntry> entry = History().StepForward();
    if (!entry) {
        return false;
    }
    root = entry->root;
    subPath = entry->subPath;
    return true;
}

void ClearHistory() {
    History().ClearHistory();
}

void ExportToReg(CChildFrame& frame, const std::string& branch) {
    CommandPrompter prompter(&frame);
    RunExport(&frame, ExportStyle::Reg, branch, *prompter);
}

void ExportToText(CChildFrame& frame, const std::string& branch) {
    CommandPrompter prompter(&frame);
    RunExport(&frame, ExportStyle::Text, branch, *prompter);
}

void ShowStatistics(CChildFrame& frame) {
    RunStatistics(&frame);
}

void RequestTechSupport() {
    // The address carries the subject as it is; QUrl encodes what a browser needs.
    QDesktopServices::openUrl(QUrl(ToQString(TechSupportAddress(ProgramVersion()))));
}

void ShowAbout(QWidget* parent) {
    QMessageBox::about(
        parent, QStringLiteral("About HivoraRegEdit"),
        QStringLiteral("<h3>%1</h3><p>%2</p><p>A viewer for Windows registry hive files: "
                       "browse, search and export the keys and values of hives copied from another "
                       "Windows installation, a backup or a disk image, without ever writing to "
                       "them.</p>")
            .arg(ToQString(GetVersionText(-1)).toHtmlEscaped(),
                 ToQString(GetVersionText(2)).toHtmlEscaped()));
}

void ConnectValueViewers(CChildView& view) {
    QPointer<CChildView> guarded(&view);
    // Navigate To from a viewer selects in the window that opened it, while it exists.
    KeySelector selectKey = [guarded](RootKey root, const std::string& subPath) {
        if (guarded) {
            guarded->Tree()->SelectKey(root, subPath);
        }
    };
    CRegValuesList* list = view.List();
    QObject::connect(list, &CRegValuesList::showValueData, &view,
                     [&view, selectKey](const ValueItem& value, const QString& keyName) {
                         if (!ShowValueData(keyName.toStdString(), value, &view, selectKey)) {
                             ShowBinaryData(keyName.toStdString(), value, &view);
                         }
                     });
    QObject::connect(list, &CRegValuesList::showBinaryData, &view,
                     [&view](const ValueItem& value, const QString& keyName) {
                         ShowBinaryData(keyName.toStdString(), value, &view);
                     });
}

}  // namespace hivora::features

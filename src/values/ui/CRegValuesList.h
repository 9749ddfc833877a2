// The right pane of a registry window: the values of the selected key (or the files of the
// set when the top item is selected), with the value commands and their context menu.
#pragma once

#include <QIcon>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "keys/KeyItemData.h"
#include "support/ui/CommandTarget.h"
#include "values/ValuesList.h"

class QMenu;
class QItemSelection;

namespace hivora {

class ValueRowsModel;

class CRegValuesList : public QTableView, public CommandTarget {
    Q_OBJECT

public:
    explicit CRegValuesList(QWidget* parent = nullptr);
    ~CRegValuesList() override;

    // Replaces all rows: the values of `record`, or the file information rows for nullptr.
    void Fill(const KeyItemData* record);
    void Clear();
    void SelectValueByName(const std::string& name);
    // Selects the row of the deleted value at this cell offset, if shown.
    void SelectDeletedValue(uint32_t offset);
    // The selected row's place among deleted records; {0, 0} for a live row or none.
    std::pair<uint32_t, uint32_t> SelectedDeletedPlace() const;
    std::string GetSelectedValueName() const;
    bool HasSelection() const;
    // The value of a row; nullptr for file information rows or a row out of range.
    const ValueItem* RowValue(int row) const;
    std::string CellText(int row, int column) const;
    int RowCount() const;
    // Where a row's cell lies in the viewport.
    QRect CellRect(int row, int column) const;

    // The plain path of the key whose values are shown (asked of the registry window).
    void SetContainingKeyNameSource(std::function<std::string()> source) {
        containingKeyName_ = std::move(source);
    }
    // Where a resolved class-key path is selected (the registry window's tree).
    void SetSelectKeyHandler(std::function<void(RootKey, const std::string&)> handler) {
        selectKey_ = std::move(handler);
    }

    // The context menu after a right click; nullptr when no row is selected then.
    std::unique_ptr<QMenu> ContextMenu();


    void ViewData(bool binaryOnly);
    void NavigateTo();
    // Where the selected row's data leads: a file path or a key path under
    // HKEY_LOCAL_MACHINE; false when it names neither.
    bool ResolveSelection(std::string& filePath, std::string& keyPath) const;

signals:
    void rowSelectionChanged();
    // The data viewers open on these; each gets the value and the containing key's path.
    void showValueData(const hivora::ValueItem& item, const QString& keyName);
    void showBinaryData(const hivora::ValueItem& item, const QString& keyName);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    int SelectedRow() const;

    ValueRowsModel* model_ = nullptr;
    std::function<std::string()> containingKeyName_;
    std::function<void(RootKey, const std::string&)> selectKey_;
};

}  // namespace hivora

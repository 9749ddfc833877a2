#include "values/ui/CRegValuesList.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "navigate/NavigateTo.h"
#include "values/ValueTypes.h"
#include "support/ui/CommandIds.h"
#include "support/TextBuffer.h"
#include "support/ui/UiServices.h"

namespace hivora {

// The rows of the list as a model: cells are made from the rows only when they are shown,
// so a key with thousands of values fills without creating an item per cell.
class ValueRowsModel : public QAbstractTableModel {
public:
    explicit ValueRowsModel(QObject* parent) : QAbstractTableModel(parent) {
        textIcon_ = QIcon(QStringLiteral(":/icons/value-text.png"));
        binaryIcon_ = QIcon(QStringLiteral(":/icons/value-binary.png"));
    }

    void Reset(std::vector<ValueRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<ValueRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 3;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
            return {};
        }
        const ValueRow& row = rows_[static_cast<size_t>(index.row())];
        if (role == Qt::DisplayRole) {
            const std::string& text = index.column() == 0   ? row.name
                                      : index.column() == 1 ? row.type
                                                            : row.data;
            return ToQString(text);
        }
        if (role == Qt::DecorationRole && index.column() == 0) {
            if (row.image == 0) {
                return textIcon_;
            }
            if (row.image == 1) {
                return binaryIcon_;
            }
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const kHeadings[] = {"Name", "Type", "Data"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < 3) {
            return QString::fromLatin1(kHeadings[section]);
        }
        return {};
    }

private:
    std::vector<ValueRow> rows_;
    QIcon textIcon_;
    QIcon binaryIcon_;
};

CRegValuesList::CRegValuesList(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("CRegValuesList"));
    auto copyCell = [this](int column) {
        if (const int row = SelectedRow(); row >= 0) {
            CopyTextToClipboard(CellText(row, column));
        }
    };
    AddCommand(cmd::kViewData, [this] { ViewData(false); });
    AddCommand(cmd::kShowBinaryData, [this] { ViewData(true); });
    AddCommand(cmd::kCopyValueName, [copyCell] { copyCell(0); });
    AddCommand(cmd::kCopyValueData, [copyCell] { copyCell(2); });
    AddCommand(cmd::kNavigateTo, [this] { NavigateTo(); }, [this] {
        std::string filePath;
        std::string keyPath;
        return ResolveSelection(filePath, keyPath);
    });
    model_ = new ValueRowsModel(this);
    setModel(model_);
    setColumnWidth(0, 120);
    setColumnWidth(1, 120);
    setColumnWidth(2, 200);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setIconSize(QSize(16, 16));
    setTabKeyNavigation(false);
}

CRegValuesList::~CRegValuesList() = default;

void CRegValuesList::Clear() {
    model_->Reset({});
}

void CRegValuesList::Fill(const KeyItemData* record) {
    Clear();
    // Sorted by name for display, the missing default row included; the file information
    // rows keep their fixed order.
    model_->Reset(BuildValueRows(record));
}

int CRegValuesList::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int CRegValuesList::RowCount() const {
    return model_->rowCount();
}

QRect CRegValuesList::CellRect(int row, int column) const {
    return visualRect(model_->index(row, column));
}

void CRegValuesList::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    emit rowSelectionChanged();
}

bool CRegValuesList::HasSelection() const {
    return SelectedRow() >= 0;
}

const ValueItem* CRegValuesList::RowValue(int row) const {
    const std::vector<ValueRow>& rows = model_->Rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        return nullptr;
    }
    const std::optional<ValueItem>& value = rows[static_cast<size_t>(row)].item;
    return value ? &*value : nullptr;
}

std::string CRegValuesList::CellText(int row, int column) const {
    const std::vector<ValueRow>& rows = model_->Rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        return {};
    }
    const ValueRow& source = rows[static_cast<size_t>(row)];
    return column == 0 ? source.name : column == 1 ? source.type : source.data;
}

std::string CRegValuesList::GetSelectedValueName() const {
    const int row = SelectedRow();
    return row >= 0 ? CellText(row, 0) : std::string();
}

void CRegValuesList::SelectValueByName(const std::string& name) {
    clearSelection();
    for (int row = 0; row < RowCount(); ++row) {
        if (ValueNameMatches(CellText(row, 0), name)) {
            selectRow(row);
            scrollTo(model_->index(row, 0));
        }
    }
}

void CRegValuesList::ViewData(bool binaryOnly) {
    const ValueItem* value = RowValue(SelectedRow());
    if (value == nullptr) {
        return;
    }
    const QString keyName = ToQString(containingKeyName_ ? containingKeyName_() : std::string());
    if (!binaryOnly && ValueTypeOf(value->type).opensDataWindow) {
        emit showValueData(*value, keyName);
    } else {
        emit showBinaryData(*value, keyName);
    }
}

bool CRegValuesList::ResolveSelection(std::string& filePath, std::string& keyPath) const {
    const int row = SelectedRow();
    if (row < 0) {
        return false;
    }
    NavigationTarget target = ResolveNavigationTarget(CellText(row, 2));
    (target.kind == NavigationTarget::Kind::File ? filePath : keyPath) = std::move(target.target);
    return target.kind != NavigationTarget::Kind::None;
}

void CRegValuesList::NavigateTo() {
    std::string filePath;
    std::string keyPath;
    if (!ResolveSelection(filePath, keyPath)) {
        return;
    }
    if (!filePath.empty()) {
        OpenInExplorer(filePath);
    } else if (selectKey_) {
        selectKey_(kLocalMachine, keyPath);
    }
}

std::unique_ptr<QMenu> CRegValuesList::ContextMenu() {
    if (!HasSelection()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    auto add = [&](const char* text, int id) {
        return AddCommandItem(*menu, text, id, CommandEnabled(id),
                              [this](int command) { RouteCommand(command); });
    };
    QAction* view = add("&View Data", cmd::kViewData);
    SetDefaultItem(*menu, view);
    add("View &Binary Data", cmd::kShowBinaryData);
    menu->addSeparator();
    add("&Navigate To", cmd::kNavigateTo);
    menu->addSeparator();
    add("Copy Value &Name", cmd::kCopyValueName);
    add("&Copy Value Data", cmd::kCopyValueData);
    return menu;
}

void CRegValuesList::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::RightButton) {
        return;
    }
    if (std::unique_ptr<QMenu> menu = ContextMenu()) {
        menu->exec(viewport()->mapToGlobal(event->position().toPoint()));
    }
}

void CRegValuesList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        RouteCommand(cmd::kNavigateTo);
    } else {
        RouteCommand(cmd::kViewData);
    }
}

}  // namespace hivora

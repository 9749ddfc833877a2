#include "values/ui/CRegValuesList.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "hive/NavigateTo.h"
#include "support/ui/CommandIds.h"
#include "support/ui/UiServices.h"

namespace hivora {

CRegValuesList::CRegValuesList(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("CRegValuesList"));
    setColumnCount(3);
    setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Data")});
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

    textIcon_ = QIcon(QStringLiteral(":/icons/value-text.png"));
    binaryIcon_ = QIcon(QStringLiteral(":/icons/value-binary.png"));
}

CRegValuesList::~CRegValuesList() = default;

void CRegValuesList::Clear() {
    setRowCount(0);
    rows_.clear();
}

void CRegValuesList::Fill(const KeyItemData* record) {
    Clear();
    // Sorted by name for display, the missing default row included; the file information
    // rows keep their fixed order.
    ShowRows(BuildValueRows(record));
}

void CRegValuesList::ShowRows(std::vector<ValueRow> rows) {
    rows_ = std::move(rows);
    setUpdatesEnabled(false);
    setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const ValueRow& source = rows_[static_cast<size_t>(row)];
        auto* name = new QTableWidgetItem(ToQString(source.name));
        if (source.image == 0) {
            name->setIcon(textIcon_);
        } else if (source.image == 1) {
            name->setIcon(binaryIcon_);
        }
        setItem(row, 0, name);
        setItem(row, 1, new QTableWidgetItem(ToQString(source.type)));
        setItem(row, 2, new QTableWidgetItem(ToQString(source.data)));
    }
    setUpdatesEnabled(true);
}

int CRegValuesList::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

bool CRegValuesList::HasSelection() const {
    return SelectedRow() >= 0;
}

const ValueItem* CRegValuesList::RowValue(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    const std::optional<ValueItem>& value = rows_[static_cast<size_t>(row)].item;
    return value ? &*value : nullptr;
}

std::string CRegValuesList::CellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? ToStdString(cell->text()) : std::string();
}

std::string CRegValuesList::GetSelectedValueName() const {
    const int row = SelectedRow();
    return row >= 0 ? CellText(row, 0) : std::string();
}

void CRegValuesList::SelectValueByName(const std::string& name) {
    clearSelection();
    for (int row = 0; row < rowCount(); ++row) {
        if (ValueNameMatches(CellText(row, 0), name)) {
            selectRow(row);
            scrollToItem(item(row, 0));
        }
    }
}

bool CRegValuesList::HandlesCommand(int id) const {
    switch (id) {
        case cmd::kViewData:
        case cmd::kShowBinaryData:
        case cmd::kCopyValueName:
        case cmd::kCopyValueData:
        case cmd::kNavigateTo:
            return true;
        default:
            return false;
    }
}

bool CRegValuesList::IsCommandEnabled(int id) const {
    if (id == cmd::kNavigateTo) {
        std::string filePath;
        std::string keyPath;
        return ResolveSelection(filePath, keyPath);
    }
    return true;
}

void CRegValuesList::OnCommand(int id) {
    switch (id) {
        case cmd::kViewData:
            ViewData(false);
            break;
        case cmd::kShowBinaryData:
            ViewData(true);
            break;
        case cmd::kCopyValueName:
        case cmd::kCopyValueData: {
            const int row = SelectedRow();
            if (row >= 0) {
                CopyTextToClipboard(CellText(row, id == cmd::kCopyValueName ? 0 : 2));
            }
            break;
        }
        case cmd::kNavigateTo:
            NavigateTo();
            break;
        default:
            break;
    }
}

void CRegValuesList::ViewData(bool binaryOnly) {
    const ValueItem* value = RowValue(SelectedRow());
    if (value == nullptr) {
        return;
    }
    const QString keyName = ToQString(containingKeyName_ ? containingKeyName_() : std::string());
    const bool textual = value->type == REG_SZ || value->type == REG_EXPAND_SZ ||
                         value->type == REG_DWORD || value->type == REG_MULTI_SZ;
    if (!binaryOnly && textual) {
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
    const std::string data = CellText(row, 2);
    return ResolveFilePath(data, filePath) || ResolveClassKey(data, keyPath);
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
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setData(id);
        action->setEnabled(CommandEnabled(id));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        return action;
    };
    QAction* view = add("&View Data", cmd::kViewData);
    QFont bold = view->font();
    bold.setBold(true);
    view->setFont(bold);
    menu->setDefaultAction(view);
    add("View &Binary Data", cmd::kShowBinaryData);
    menu->addSeparator();
    add("&Navigate To", cmd::kNavigateTo);
    menu->addSeparator();
    add("Copy Value &Name", cmd::kCopyValueName);
    add("&Copy Value Data", cmd::kCopyValueData);
    return menu;
}

void CRegValuesList::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (event->button() != Qt::RightButton) {
        return;
    }
    if (std::unique_ptr<QMenu> menu = ContextMenu()) {
        menu->exec(viewport()->mapToGlobal(event->position().toPoint()));
    }
}

void CRegValuesList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
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

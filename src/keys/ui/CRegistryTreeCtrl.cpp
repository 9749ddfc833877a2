#include "keys/ui/CRegistryTreeCtrl.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "support/ui/CommandIds.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

// Key items own their record; the top item and placeholders are plain items without one.
class KeyTreeItem : public QTreeWidgetItem {
public:
    KeyTreeItem(const QString& text, ui::KeyItemData record)
        : QTreeWidgetItem(QStringList{text}, kType), record(std::move(record)) {}
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    ui::KeyItemData record;
};

constexpr int kPlaceholderType = QTreeWidgetItem::UserType + 2;

ui::KeyItemData* MutableRecord(QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != KeyTreeItem::kType) {
        return nullptr;
    }
    return &static_cast<KeyTreeItem*>(item)->record;
}

void AddPlaceholder(QTreeWidgetItem* item) {
    item->addChild(new QTreeWidgetItem(QStringList{QString()}, kPlaceholderType));
}

// First path component and the rest after the first "\".
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view path) {
    const size_t slash = path.find('\\');
    if (slash == std::string_view::npos) {
        return {path, {}};
    }
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

CRegistryTreeCtrl::CRegistryTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setObjectName(QStringLiteral("CRegistryTreeCtrl"));

    folderIcon_.addFile(QStringLiteral(":/icons/folder-closed.png"), QSize(), QIcon::Normal);
    folderIcon_.addFile(QStringLiteral(":/icons/folder-open.png"), QSize(), QIcon::Selected);
    computerIcon_.addFile(QStringLiteral(":/icons/computer.png"));

    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { EnsureFilled(item); });
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                emit keySelected(KeyItemOf(current));
            });
}

CRegistryTreeCtrl::~CRegistryTreeCtrl() = default;

void CRegistryTreeCtrl::AddRoot(RootKey root) {
    roots_.push_back(root);
}

void CRegistryTreeCtrl::InsertRoots() {
    topItem_ = new QTreeWidgetItem(QStringList{ToQString(ui::GetRootLabel())});
    topItem_->setIcon(0, computerIcon_);
    addTopLevelItem(topItem_);
    for (RootKey root : roots_) {
        ui::KeyItemData record;
        record.root = root;
        QTreeWidgetItem* item = NewKeyItem(std::string(ui::GetRootKeyName(root)), record);
        topItem_->addChild(item);
        AddPlaceholder(item);
    }
    topItem_->setExpanded(true);
    setCurrentItem(topItem_);
}

QTreeWidgetItem* CRegistryTreeCtrl::NewKeyItem(const std::string& name, ui::KeyItemData record) {
    auto* item = new KeyTreeItem(ToQString(name), std::move(record));
    item->setIcon(0, folderIcon_);
    return item;
}

const ui::KeyItemData* CRegistryTreeCtrl::KeyItemOf(const QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != KeyTreeItem::kType) {
        return nullptr;
    }
    return &static_cast<const KeyTreeItem*>(item)->record;
}

const ui::KeyItemData* CRegistryTreeCtrl::GetSelectedKeyItem() const {
    return KeyItemOf(currentItem());
}

bool CRegistryTreeCtrl::IsPlaceholder(const QTreeWidgetItem* item) {
    return item != nullptr && item->type() == kPlaceholderType;
}

void CRegistryTreeCtrl::EnsureFilled(QTreeWidgetItem* item) {
    ui::KeyItemData* record = MutableRecord(item);
    if (record == nullptr || record->populated) {
        return;
    }
    WaitCursor wait;
    setUpdatesEnabled(false);
    Fill(item);
    setUpdatesEnabled(true);
    // Set whatever the filling found: an item is filled at most once in the tree's life.
    record->populated = true;
}

void CRegistryTreeCtrl::Fill(QTreeWidgetItem* item) {
    const ui::KeyItemData parent = *MutableRecord(item);
    qDeleteAll(item->takeChildren());
    std::vector<ui::ChildKey> children = ui::EnumChildKeys(parent);

    // Sorted once, case-insensitively by text, one level only.
    std::vector<std::pair<QString, size_t>> order;
    order.reserve(children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        order.emplace_back(ToQString(children[i].name), i);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(order.size()));
    for (const auto& [text, index] : order) {
        ui::ChildKey& child = children[index];
        auto* childItem = new KeyTreeItem(text, std::move(child.record));
        childItem->setIcon(0, folderIcon_);
        if (child.hasSubkeys) {
            AddPlaceholder(childItem);
        }
        items.push_back(childItem);
    }
    item->addChildren(items);
}

std::string CRegistryTreeCtrl::GetKeyPath(bool withDate, bool withRootLabel) const {
    return ui::KeyPathText(GetSelectedKeyItem(), withDate, withRootLabel);
}

void CRegistryTreeCtrl::SelectKey(RootKey root, std::string_view subPath) {
    std::string path(ui::GetRootKeyName(root));
    path += '\\';
    path += subPath;
    FindAndSelect(topItem_, path);
}

bool CRegistryTreeCtrl::SelectPath(std::string_view path) {
    return FindAndSelect(topItem_, path);
}

bool CRegistryTreeCtrl::FindAndSelect(QTreeWidgetItem* item, std::string_view path) {
    while (item != nullptr) {
        if (path.empty()) {
            setCurrentItem(item);
            return true;
        }
        const auto [first, rest] = SplitFirst(path);
        EnsureFilled(item);
        item->setExpanded(true);
        const QString wanted = ToQString(first);
        QTreeWidgetItem* match = nullptr;
        for (int i = 0; i < item->childCount(); ++i) {
            QTreeWidgetItem* child = item->child(i);
            if (!IsPlaceholder(child) &&
                QString::compare(child->text(0), wanted, Qt::CaseInsensitive) == 0) {
                match = child;
                break;
            }
        }
        if (match == nullptr) {
            return false;
        }
        if (rest.empty()) {
            setCurrentItem(match);
            scrollToItem(match);
            return true;
        }
        item = match;
        path = rest;
    }
    return false;
}

void CRegistryTreeCtrl::ToggleExpand() {
    QTreeWidgetItem* item = currentItem();
    if (item == nullptr) {
        return;
    }
    item->setExpanded(!item->isExpanded());
}

void CRegistryTreeCtrl::CopyKeyName() {
    const std::string text = GetKeyPath(false, true);
    if (!text.empty()) {
        CopyTextToClipboard(text);
    }
}

void CRegistryTreeCtrl::NavigateTo() {
    std::string path = GetKeyPath(false, false);
    if (path.empty()) {
        return;
    }
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
        path.erase(0, slash + 1);
    }
    // Resolving a class-key name to its key is the navigate-to service's; until it is wired
    // in, nothing resolves and nothing is selected.
    (void)path;
}

bool CRegistryTreeCtrl::HandlesCommand(int id) const {
    switch (id) {
        case cmd::kExpandCollapse:
        case cmd::kCopyKeyName:
        case cmd::kNavigateTo:
        case cmd::kExportKeyReg:
        case cmd::kExportKeyText:
            return true;
        default:
            return false;
    }
}

bool CRegistryTreeCtrl::IsCommandEnabled(int id) const {
    switch (id) {
        case cmd::kExpandCollapse: {
            const QTreeWidgetItem* item = currentItem();
            return item != nullptr && item->childCount() > 0;
        }
        case cmd::kExportKeyReg:
            return NextTarget() != nullptr && NextTarget()->CommandEnabled(cmd::kExportRegBranch);
        case cmd::kExportKeyText:
            return NextTarget() != nullptr && NextTarget()->CommandEnabled(cmd::kExportTextBranch);
        default:
            return true;
    }
}

void CRegistryTreeCtrl::OnCommand(int id) {
    switch (id) {
        case cmd::kExpandCollapse:
            ToggleExpand();
            break;
        case cmd::kCopyKeyName:
            CopyKeyName();
            break;
        case cmd::kNavigateTo:
            NavigateTo();
            break;
        // The tree's own export items run the registry window's branch exports.
        case cmd::kExportKeyReg:
            NextTarget()->RouteCommand(cmd::kExportRegBranch);
            break;
        case cmd::kExportKeyText:
            NextTarget()->RouteCommand(cmd::kExportTextBranch);
            break;
        default:
            break;
    }
}

std::unique_ptr<QMenu> CRegistryTreeCtrl::ContextMenuAt(const QPoint& pos) {
    QTreeWidgetItem* item = itemAt(pos);
    if (item == nullptr) {
        return nullptr;
    }
    setCurrentItem(item);
    auto menu = std::make_unique<QMenu>(this);
    auto add = [&](const char* text, int id) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setData(id);
        action->setEnabled(CommandEnabled(id));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        return action;
    };
    QAction* expand = add("&Expand/Collapse", cmd::kExpandCollapse);
    QFont bold = expand->font();
    bold.setBold(true);
    expand->setFont(bold);
    menu->setDefaultAction(expand);
    add("&Find...", cmd::kFind);
    menu->addSeparator();
    add("&Navigate To", cmd::kNavigateTo);
    menu->addSeparator();
    add("Export Key to &REG File....", cmd::kExportKeyReg);
    add("Export Key to &Text File....", cmd::kExportKeyText);
    menu->addSeparator();
    add("&Add to Favorites....", cmd::kAddToFavorites);
    menu->addSeparator();
    add("&Copy Key Name", cmd::kCopyKeyName);
    return menu;
}

void CRegistryTreeCtrl::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::RightButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (std::unique_ptr<QMenu> menu = ContextMenuAt(pos)) {
        menu->exec(viewport()->mapToGlobal(pos));
    }
}

}  // namespace hivora

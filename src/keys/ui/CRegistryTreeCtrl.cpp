#include "keys/ui/CRegistryTreeCtrl.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "keys/DeletedKeyIndex.h"
#include "keys/DeletedKeyTree.h"
#include "keys/FindAndSelect.h"
#include "keys/KeyPath.h"
#include "keys/KeyTree.h"
#include "keys/RegistryWalker.h"
#include "navigate/NavigateTo.h"
#include "support/TextConvert.h"
#include "support/CaseFold.h"
#include "support/FileTimeFormat.h"
#include "support/ui/CommandIds.h"
#include "support/ui/DeletedRecordLook.h"
#include "support/TextBuffer.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

// Key items own their record; the top item and placeholders are plain items without one.
class KeyTreeItem : public QTreeWidgetItem {
public:
    KeyTreeItem(const QString& text, KeyItemData record)
        : QTreeWidgetItem(QStringList{text}, kType), record(std::move(record)) {}
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    // The tooltip gives the key's last-write time in full, made only when asked for.
    QVariant data(int column, int role) const override {
        if (role == Qt::ToolTipRole && record.lastWrite != 0) {
            return QStringLiteral("Last written %1").arg(
                ToQString(FormatUtcDateTime(record.lastWrite)));
        }
        return QTreeWidgetItem::data(column, role);
    }
    KeyItemData record;
};

constexpr int kPlaceholderType = QTreeWidgetItem::UserType + 2;

KeyItemData* MutableRecord(QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != KeyTreeItem::kType) {
        return nullptr;
    }
    return &static_cast<KeyTreeItem*>(item)->record;
}

void AddPlaceholder(QTreeWidgetItem* item) {
    item->addChild(new QTreeWidgetItem(QStringList{QString()}, kPlaceholderType));
}

}  // namespace

CRegistryTreeCtrl::CRegistryTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The one column is as wide as the longest name shown so far (or the view), so long
    // names scroll instead of being cut; the width is worked out from the items a fill
    // inserts, which is far cheaper than sizing the column to all of its contents.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Fixed);
    setObjectName(QStringLiteral("CRegistryTreeCtrl"));
    AddCommand(cmd::kExpandCollapse, [this] { ToggleExpand(); }, [this] {
        const QTreeWidgetItem* item = currentItem();
        return item != nullptr && item->childCount() > 0;
    });
    AddCommand(cmd::kCopyKeyName, [this] { CopyKeyName(); });
    AddCommand(cmd::kNavigateTo, [this] { NavigateTo(); });
    // The tree's own export items run the registry window's branch exports.
    for (auto [own, branch] : {std::pair{cmd::kExportKeyReg, cmd::kExportRegBranch},
                               std::pair{cmd::kExportKeyText, cmd::kExportTextBranch}}) {
        AddCommand(own, [this, branch] { NextTarget()->RouteCommand(branch); },
                   [this, branch] { return NextTarget() && NextTarget()->CommandEnabled(branch); });
    }

    folderIcon_.addFile(QStringLiteral(":/icons/folder-closed.png"), QSize(), QIcon::Normal);
    folderIcon_.addFile(QStringLiteral(":/icons/folder-open.png"), QSize(), QIcon::Selected);
    computerIcon_.addFile(QStringLiteral(":/icons/computer.png"));
    deletedIcon_ = DeletedVariant(QIcon(QStringLiteral(":/icons/folder-closed.png")));

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
    topItem_ = new QTreeWidgetItem(QStringList{ToQString(GetRootLabel())});
    topItem_->setIcon(0, computerIcon_);
    addTopLevelItem(topItem_);
    for (RootKey root : roots_) {
        KeyItemData record;
        record.root = root;
        QTreeWidgetItem* item = NewKeyItem(std::string(GetRootKeyName(root)), record);
        topItem_->addChild(item);
        AddPlaceholder(item);
    }
    topItem_->setExpanded(true);
    WidenFor(topItem_);
    setCurrentItem(topItem_);
}

void CRegistryTreeCtrl::Refill() {
    const std::string selected = GetKeyPath(false, false);
    {
        const QSignalBlocker quiet(this);
        clear();
        topItem_ = nullptr;
        contentWidth_ = 0;
        InsertRoots();
    }
    if (selected.empty() || !SelectPath(selected)) {
        setCurrentItem(topItem_);
        emit keySelected(nullptr);
    }
}

QTreeWidgetItem* CRegistryTreeCtrl::NewKeyItem(const std::string& name, KeyItemData record) {
    auto* item = new KeyTreeItem(ToQString(name), std::move(record));
    item->setIcon(0, folderIcon_);
    return item;
}

const KeyItemData* CRegistryTreeCtrl::KeyItemOf(const QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != KeyTreeItem::kType) {
        return nullptr;
    }
    return &static_cast<const KeyTreeItem*>(item)->record;
}

const KeyItemData* CRegistryTreeCtrl::GetSelectedKeyItem() const {
    return KeyItemOf(currentItem());
}

bool CRegistryTreeCtrl::IsPlaceholder(const QTreeWidgetItem* item) {
    return item != nullptr && item->type() == kPlaceholderType;
}

void CRegistryTreeCtrl::EnsureFilled(QTreeWidgetItem* item) {
    KeyItemData* record = MutableRecord(item);
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
    const KeyItemData parent = *MutableRecord(item);
    qDeleteAll(item->takeChildren());
    // Enumerated, probed and sorted once, case-insensitively by name, one level only.
    std::vector<ChildKey> children =
        parent.IsDeleted() ? std::vector<ChildKey>() : FillChildKeys(parent);
    AddDeletedChildKeys(parent, children);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(children.size()));
    for (ChildKey& child : children) {
        const bool deleted = child.data.IsDeleted();
        auto* childItem = new KeyTreeItem(ToQString(child.name), std::move(child.data));
        if (deleted) {
            childItem->setIcon(0, deletedIcon_);
            childItem->setFont(0, DeletedFont(font()));
            childItem->setForeground(0, DeletedTextBrush());
        } else {
            childItem->setIcon(0, folderIcon_);
        }
        if (child.hasSubkeys) {
            AddPlaceholder(childItem);
        }
        items.push_back(childItem);
    }
    item->addChildren(items);
    WidenFor(item);
}

void CRegistryTreeCtrl::WidenFor(QTreeWidgetItem* parent) {
    int depth = 1;
    for (QTreeWidgetItem* up = parent; up != nullptr; up = up->parent()) {
        ++depth;
    }
    // Measuring every name of a large key costs more than inserting it; the widest name is
    // among the longest ones, so only those are measured.
    constexpr int kMeasured = 32;
    std::vector<QString> texts;
    texts.reserve(static_cast<size_t>(parent->childCount()));
    for (int i = 0; i < parent->childCount(); ++i) {
        texts.push_back(parent->child(i)->text(0));
    }
    const auto longest = texts.begin() + std::min<std::ptrdiff_t>(kMeasured, texts.size());
    std::partial_sort(texts.begin(), longest, texts.end(),
                      [](const QString& a, const QString& b) { return a.size() > b.size(); });
    const QFontMetrics metrics(font());
    int widest = 0;
    for (auto it = texts.begin(); it != longest; ++it) {
        widest = std::max(widest, metrics.horizontalAdvance(*it));
    }
    contentWidth_ =
        std::max(contentWidth_, depth * indentation() + iconSize().width() + 12 + widest);
    FitColumn();
}

void CRegistryTreeCtrl::FitColumn() {
    setColumnWidth(0, std::max(contentWidth_, viewport()->width()));
}

void CRegistryTreeCtrl::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    FitColumn();
}

std::string CRegistryTreeCtrl::GetKeyPath(bool withDate, bool withRootLabel) const {
    return FormatKeyPath(GetSelectedKeyItem(), withDate, withRootLabel);
}

void CRegistryTreeCtrl::SelectKey(RootKey root, std::string_view subPath) {
    FindAndSelect(topItem_, RootAndSubPath(root, subPath));
}

bool CRegistryTreeCtrl::SelectPath(std::string_view path) {
    return FindAndSelect(topItem_, path);
}

// The tree as the path walk sees it: item texts, filling expansion, children and selection.
struct TreeWalk {
    CRegistryTreeCtrl& tree;
    std::string Text(QTreeWidgetItem* item) const { return ToStdString(item->text(0)); }
    void Expand(QTreeWidgetItem* item) const {
        tree.EnsureFilled(item);
        item->setExpanded(true);
    }
    std::vector<QTreeWidgetItem*> Children(QTreeWidgetItem* item) const {
        std::vector<QTreeWidgetItem*> children;
        for (int i = 0; i < item->childCount(); ++i) {
            if (!CRegistryTreeCtrl::IsPlaceholder(item->child(i))) {
                children.push_back(item->child(i));
            }
        }
        return children;
    }
    void Select(QTreeWidgetItem* item) const {
        tree.setCurrentItem(item);
        tree.scrollToItem(item);
    }
};

bool CRegistryTreeCtrl::FindAndSelect(QTreeWidgetItem* item, std::string_view path) {
    if (item == nullptr) {
        return false;
    }
    TreeWalk walk{*this};
    return hivora::FindAndSelect(walk, item, path);
}

bool CRegistryTreeCtrl::SelectDeletedKey(std::string_view hivePath, uint32_t generation,
                                         uint32_t offset) {
    const DeletedHiveIndex* index = DeletedIndexOf(generation);
    if (index == nullptr) {
        return false;
    }
    // The deleted keys from `offset` up to the first whose parent is live or unknown.
    const auto& keys = index->Records().Keys();
    std::vector<uint32_t> chain;
    std::optional<size_t> at = index->KeyAt(offset);
    while (at && chain.size() <= RegistryWalker::kMaxDepth) {
        chain.push_back(keys[*at].offset);
        if (keys[*at].parent != DeletedLink::kDeletedKey) {
            break;
        }
        at = index->KeyAt(keys[*at].parentOffset);
    }
    if (!at || chain.size() > RegistryWalker::kMaxDepth) {
        return false;
    }
    std::string path(hivePath);
    if (keys[*at].parent == DeletedLink::kLiveKey) {
        const std::optional<DeletedKeyPath> live = index->Records().PathOfKey(keys[*at].parentOffset);
        for (const std::u16string& name : live ? live->components : std::vector<std::u16string>()) {
            path += "\\" + ToUtf8(name);
        }
    } else {
        path += std::string("\\") + kDeletedGroupName;
    }
    if (!SelectPath(path)) {
        return false;
    }
    QTreeWidgetItem* item = currentItem();
    for (auto next = chain.rbegin(); next != chain.rend(); ++next) {
        EnsureFilled(item);
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < item->childCount() && found == nullptr; ++i) {
            const KeyItemData* record = KeyItemOf(item->child(i));
            if (record != nullptr && record->origin == KeyItemData::Origin::kDeletedKey &&
                record->deletedOffset == *next) {
                found = item->child(i);
            }
        }
        if (found == nullptr) {
            return false;
        }
        item->setExpanded(true);
        item = found;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
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
    const std::string path = GetKeyPath(false, false);
    if (path.empty()) {
        return;
    }
    std::string keyPath;
    if (ResolveClassKey(LastComponent(path), keyPath)) {
        SelectKey(kLocalMachine, keyPath);
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
        return AddCommandItem(*menu, text, id, CommandEnabled(id),
                              [this](int command) { RouteCommand(command); });
    };
    QAction* expand = add("&Expand/Collapse", cmd::kExpandCollapse);
    SetDefaultItem(*menu, expand);
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

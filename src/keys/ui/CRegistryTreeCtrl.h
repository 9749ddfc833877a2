// The left pane of a registry window: the lazily filled tree of keys, with the path services,
// its context menu, Copy Key Name and Navigate To.
#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyItemData.h"
#include "support/ui/CommandTarget.h"

class QMenu;

namespace hivora {

class CRegistryTreeCtrl : public QTreeWidget, public CommandTarget {
    Q_OBJECT

public:
    explicit CRegistryTreeCtrl(QWidget* parent = nullptr);
    ~CRegistryTreeCtrl() override;

    // Only before InsertRoots.
    void AddRoot(RootKey root);
    // Inserts the top item and one item per root, expands the top item and selects it.
    void InsertRoots();
    // Drops every item and inserts the roots again, read afresh from the loaded hives; then
    // selects the key that was selected when it still exists (else the top item).
    void Refill();

    QTreeWidgetItem* TopItem() const { return topItem_; }
    // The record of the selected item; nullptr for the top item or no selection.
    const KeyItemData* GetSelectedKeyItem() const;
    static const KeyItemData* KeyItemOf(const QTreeWidgetItem* item);

    std::string GetKeyPath(bool withDate, bool withRootLabel) const;
    void SelectKey(RootKey root, std::string_view subPath);
    bool SelectPath(std::string_view path);
    bool FindAndSelect(QTreeWidgetItem* item, std::string_view path);
    // Selects the item of the deleted key at `offset` of the hive image `generation`, whose
    // root key is at `hivePath`: its nearest live ancestor by path (or the hive's node of
    // unknown parents), then each deleted key down by offset. False when it is not shown.
    bool SelectDeletedKey(std::string_view hivePath, uint32_t generation, uint32_t offset);

    // Fills `item` on its first expansion (also when expanded by code).
    void EnsureFilled(QTreeWidgetItem* item);
    static bool IsPlaceholder(const QTreeWidgetItem* item);

    void ToggleExpand();
    void CopyKeyName();
    void NavigateTo();

    // The context menu for a right click at `pos` (viewport coordinates): selects the item
    // there; nullptr when the point is on no item. Its actions route as commands of the tree.
    std::unique_ptr<QMenu> ContextMenuAt(const QPoint& pos);


signals:
    // The selected key changed; `record` is nullptr for the top item.
    void keySelected(const hivora::KeyItemData* record);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void WidenFor(QTreeWidgetItem* parent);
    void FitColumn();

    void Fill(QTreeWidgetItem* item);
    QTreeWidgetItem* NewKeyItem(const std::string& name, KeyItemData record);
    friend struct TreeWalk;

    std::vector<RootKey> roots_;
    QTreeWidgetItem* topItem_ = nullptr;
    QIcon folderIcon_;
    QIcon computerIcon_;
    QIcon deletedIcon_;
    int contentWidth_ = 0;
};

}  // namespace hivora

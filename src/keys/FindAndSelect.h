// The walk that turns a path text into a selected item of a tree whose children are filled
// on demand. It works on any tree that offers, for its item handle type `Item`:
//
//   Text(item)      the item's shown text (UTF-8)
//   Expand(item)    expands the item, filling its children the first time
//   Children(item)  the item's children in display order (any range of Item)
//   Select(item)    makes the item the selected one
//
// The walk is iterative, so a long path cannot exhaust the stack, and follows the first child
// whose text equals the component ignoring case: later siblings are not tried, even when the
// deeper walk fails. Items expanded on the way stay expanded.
#pragma once

#include <optional>
#include <string_view>

#include "keys/KeyPath.h"
#include "support/CaseFold.h"

namespace hivora {

template <typename Tree, typename Item>
bool FindAndSelect(Tree& tree, Item item, std::string_view path) {
    for (;;) {
        if (path.empty()) {
            tree.Select(item);
            return true;
        }
        const auto [first, rest] = SplitFirstComponent(path);
        tree.Expand(item);
        std::optional<Item> match;
        for (const auto& child : tree.Children(item)) {
            if (EqualsNoCase(tree.Text(child), first)) {
                match = child;
                break;
            }
        }
        if (!match) {
            return false;
        }
        if (rest.empty()) {
            tree.Select(*match);
            return true;
        }
        item = *match;
        path = rest;
    }
}

}  // namespace hivora

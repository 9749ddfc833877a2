#include "keys/FindAndSelect.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace hivora {
namespace {

// A tree of named nodes whose children appear only when a node is first expanded, like the
// key tree's lazy filling. Node 0 is the top item.
class LazyTree {
public:
    struct Node {
        std::string text;
        std::vector<int> hidden;  // children until the first expansion
        std::vector<int> children;
        bool expanded = false;
    };

    int Add(int parent, std::string text) {
        nodes_.push_back({std::move(text), {}, {}, false});
        const int id = static_cast<int>(nodes_.size()) - 1;
        if (parent >= 0) {
            nodes_[static_cast<size_t>(parent)].hidden.push_back(id);
        }
        return id;
    }
    // Adds a chain of nodes below `parent`, one per component; returns the last.
    int AddPath(int parent, std::string_view path) {
        while (!path.empty()) {
            const auto [first, rest] = SplitFirstComponent(path);
            parent = Add(parent, std::string(first));
            path = rest;
        }
        return parent;
    }

    const std::string& Text(int item) const { return nodes_[static_cast<size_t>(item)].text; }
    void Expand(int item) {
        Node& node = nodes_[static_cast<size_t>(item)];
        if (!node.expanded) {
            node.children = node.hidden;
            node.expanded = true;
        }
    }
    const std::vector<int>& Children(int item) const {
        return nodes_[static_cast<size_t>(item)].children;
    }
    void Select(int item) { selected = item; }

    int selected = -1;

private:
    std::vector<Node> nodes_;
};

class FindAndSelectTest : public testing::Test {
protected:
    void SetUp() override {
        top_ = tree_.Add(-1, "Hivora Registry");
        machine_ = tree_.Add(top_, "HKEY_LOCAL_MACHINE");
        tree_.Add(top_, "HKEY_USERS");
        software_ = tree_.AddPath(machine_, "SOFTWARE");
        tree_.AddPath(software_, "Classes\\CLSID\\{0001}");
    }

    bool Find(std::string_view path) { return FindAndSelect(tree_, top_, path); }

    LazyTree tree_;
    int top_ = 0;
    int machine_ = 0;
    int software_ = 0;
};

// The plain path rules (case, trailing backslash, empty components) are checked on the real
// tree by the registry window tests; these are the walk's own limits.
TEST_F(FindAndSelectTest, OnlyTheFirstMatchingSiblingIsTried) {
    // Two siblings equal ignoring case: the walk follows the first and fails below it.
    tree_.AddPath(machine_, "software\\Only");
    EXPECT_FALSE(Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Only"));
    EXPECT_TRUE(Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes"));
}

TEST_F(FindAndSelectTest, NonAsciiNamesCompareIgnoringCase) {
    const int item = tree_.AddPath(software_, "\xC3\x89tude");  // Étude
    EXPECT_TRUE(Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\\xC3\xA9TUDE"));
    EXPECT_EQ(tree_.selected, item);
}

TEST_F(FindAndSelectTest, VeryLongPathsDoNotRecurse) {
    std::string path = "HKEY_LOCAL_MACHINE";
    int item = machine_;
    for (int i = 0; i < 20000; ++i) {
        item = tree_.Add(item, "k");
        path += "\\k";
    }
    EXPECT_TRUE(Find(path));
    EXPECT_EQ(tree_.selected, item);
}

}  // namespace
}  // namespace hivora

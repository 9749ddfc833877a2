#include "keys/FindAndSelect.h"

#include <gtest/gtest.h>

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
    };

    // Adds a chain of nodes below `parent`, one per component; returns the last.
    int AddPath(int parent, std::string_view path) {
        for (; !path.empty(); path = SplitFirstComponent(path).second) {
            nodes_.push_back({std::string(SplitFirstComponent(path).first), {}, {}});
            nodes_[static_cast<size_t>(parent)].hidden.push_back(static_cast<int>(nodes_.size()) -
                                                                 1);
            parent = static_cast<int>(nodes_.size()) - 1;
        }
        return parent;
    }

    const std::string& Text(int item) const { return nodes_[static_cast<size_t>(item)].text; }
    void Expand(int item) {
        Node& node = nodes_[static_cast<size_t>(item)];
        node.children = node.hidden;
    }
    const std::vector<int>& Children(int item) const {
        return nodes_[static_cast<size_t>(item)].children;
    }
    void Select(int item) { selected = item; }
    bool Find(std::string_view path) { return FindAndSelect(*this, 0, path); }

    int selected = -1;

private:
    std::vector<Node> nodes_ = {{"Hivora Registry", {}, {}}};
};

// The plain path rules (case, trailing backslash, empty components) are checked on the real
// tree by the registry window tests; these are the walk's own limits.
TEST(FindAndSelectTest, WalkLimits) {
    LazyTree tree;
    const int software = tree.AddPath(0, "HKEY_LOCAL_MACHINE\\SOFTWARE");
    tree.AddPath(software, "Classes\\CLSID\\{0001}");
    // Two siblings equal ignoring case: the walk follows the first and fails below it.
    tree.AddPath(tree.AddPath(0, "HKEY_LOCAL_MACHINE"), "software\\Only");
    EXPECT_FALSE(tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Only"));
    EXPECT_TRUE(tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\clsid"));

    const int etude = tree.AddPath(software, "\xC3\x89tude");  // Étude
    EXPECT_TRUE(tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\\xC3\xA9TUDE"));
    EXPECT_EQ(tree.selected, etude);

    // Very long paths do not recurse.
    std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE";
    for (int i = 0; i < 20000; ++i) {
        path += "\\k";
    }
    const int deepest = tree.AddPath(software, path.substr(28));
    EXPECT_TRUE(tree.Find(path));
    EXPECT_EQ(tree.selected, deepest);
}

}  // namespace
}  // namespace hivora

#include "host/access/storage_node.h"

#include <algorithm>

namespace zanfor::host::access {

namespace {
bool equalsAsciiIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}
}  // namespace

const StorageNode* StorageNode::child(std::string_view childName) const {
    for (const auto& c : children) {
        if (equalsAsciiIgnoreCase(c.name, childName))
            return &c;
    }
    return nullptr;
}

const StorageNode* StorageNode::find(std::string_view path) const {
    const StorageNode* node = this;
    while (node && !path.empty()) {
        const auto slash = path.find('/');
        node = node->child(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return node;
}

}  // namespace zanfor::host::access

#include "host/access/project_storage.h"

#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "host/access/compound_file.h"
#include "host/error.h"
#include "host/jet/mdb_file.h"

namespace zanfor::host::access {

namespace {

[[noreturn]] void damaged(std::string_view why) {
    throw Error(err::kProjectStorageDamaged,
                "Access のプロジェクト格納域が破損しています: " + std::string(why));
}

std::uint32_t littleEndian32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Row 0 holds the compound file's length at bytes 4-7; rows 1..N, in ID order (a scan returns
// them in another), hold the file itself. The length is not to be trusted either way: some
// files' rows run past it with sectors the file still uses, others stop a few bytes short of
// it in unused space. All rows are kept, padded to the length, and the compound-file reader,
// which checks every sector it follows, judges the result.
StorageNode fromAccessObjects(const jet::JetFile& file) {
    jet::TableReader r(file, "MSysAccessObjects");
    const int id = r.columnIndex("ID");
    const int data = r.columnIndex("Data");
    if (id < 0 || data < 0)
        damaged("MSysAccessObjects の列");
    std::map<std::int64_t, std::string> rows;
    while (r.next()) {
        if (!rows.emplace(r.value(id).toInteger(), r.bytes(data).data).second) {
            damaged("MSysAccessObjects の ID が重複しています");
        }
    }
    return ReadCompoundFile(AssembleAccessObjects(rows));
}

// Rows of (Id, ParentId, Name, Type 1 storage / 2 stream, Lv); the root is its own parent.
StorageNode fromAccessStorage(const jet::JetFile& file) {
    jet::TableReader r(file, "MSysAccessStorage");
    const int cId = r.columnIndex("Id"), cParent = r.columnIndex("ParentId"),
              cName = r.columnIndex("Name"), cType = r.columnIndex("Type"),
              cData = r.columnIndex("Lv");
    struct Row {
        std::int64_t parent;
        StorageNode node;
    };
    std::unordered_map<std::int64_t, Row> rows;
    std::vector<std::int64_t> order;
    std::int64_t root = -1;
    while (r.next()) {
        const auto rowId = r.value(cId).toInteger();
        Row row{r.value(cParent).toInteger(), {}};
        row.node.name = r.value(cName).toText();
        row.node.isStream = r.value(cType).toInteger() == 2;
        if (row.node.isStream)
            row.node.data = r.bytes(cData).data;
        if (row.parent == rowId && row.node.name == "MSysAccessStorage_ROOT")
            root = rowId;
        order.push_back(rowId);
        rows.emplace(rowId, std::move(row));
    }
    if (root < 0)
        damaged("MSysAccessStorage_ROOT がありません");

    std::unordered_map<std::int64_t, std::vector<std::int64_t>> children;
    for (auto rowId : order) {
        const auto& row = rows.at(rowId);
        if (rowId != row.parent)
            children[row.parent].push_back(rowId);
    }
    // Built depth-first from the root; a row whose parent chain never reaches the root (or
    // loops) is left out rather than followed forever.
    std::unordered_set<std::int64_t> visited;
    std::function<StorageNode(std::int64_t)> build = [&](std::int64_t rowId) {
        visited.insert(rowId);
        StorageNode node = std::move(rows.at(rowId).node);
        for (auto childId : children[rowId]) {
            if (!visited.count(childId))
                node.children.push_back(build(childId));
        }
        return node;
    };
    return build(root);
}

}  // namespace

std::string AssembleAccessObjects(const std::map<std::int64_t, std::string>& rows) {
    const auto header = rows.find(0);
    if (header == rows.end() || header->second.size() < 8) {
        damaged("MSysAccessObjects の見出し行がありません");
    }
    const std::size_t length = littleEndian32(header->second, 4);
    std::string bytes;
    std::int64_t expected = 1;
    for (const auto& [rowId, chunk] : rows) {
        if (rowId == 0)
            continue;
        if (rowId != expected++)
            damaged("MSysAccessObjects の行が欠けています");
        bytes += chunk;
    }
    if (bytes.size() < length)
        bytes.resize(length, '\0');
    return bytes;
}

StorageNode ReadAccessProject(const jet::JetFile& file) {
    if (file.header().version == jet::JetVersion::Jet3) {
        throw Error(err::kOlderAccessVersion, "Access2000以前のバージョンのファイルです。");
    }
    if (file.tablePage("MSysAccessStorage"))
        return fromAccessStorage(file);
    if (file.tablePage("MSysAccessObjects"))
        return fromAccessObjects(file);
    damaged("MSysAccessStorage も MSysAccessObjects もありません");
}

}  // namespace zanfor::host::access

#include "host/jet/mdb_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "host/error.h"
#include "util/file_descriptor.h"
#include "util/vb_string.h"

namespace zanfor::host::jet {

namespace {

constexpr std::uint32_t kCatalogPage = 2;
constexpr int kLocalTable = 1;
constexpr std::int32_t kPageOfId = 0x00FFFFFF;

std::string displayName(const std::filesystem::path& path) { return path.string(); }

[[noreturn]] void damaged(const std::filesystem::path& path, std::string_view why) {
    throw Error(err::kDatabaseDamaged, "データベース '" + displayName(path) +
                                           "' を開けません。ファイルが破損しています。(" +
                                           std::string(why) + ")");
}

std::int64_t readLittleEndian(const unsigned char* p, std::size_t size) {
    std::uint64_t v = 0;
    for (std::size_t i = size; i-- > 0;)
        v = (v << 8) | p[i];
    return static_cast<std::int64_t>(v);
}

}  // namespace

MappedFile::MappedFile(const std::filesystem::path& path) {
    // Without O_NONBLOCK a FIFO named as the target would wait for a writer for ever.
    const util::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        throw FileSystemError(path, std::error_code(errno, std::generic_category()));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        throw Error(err::kUnrecognizedFormat,
                    "'" + displayName(path) + "' はデータベース ファイルではありません。");
    }
    size_ = static_cast<std::size_t>(st.st_size);
    if (size_ > 0) {
        void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd.get(), 0);
        if (p == MAP_FAILED) {
            const int e = errno;
            throw FileSystemError(path, std::error_code(e, std::generic_category()));
        }
        data_ = static_cast<char*>(p);
    }
}

MappedFile::~MappedFile() {
    if (data_)
        ::munmap(data_, size_);
}

JetFile::JetFile(const std::filesystem::path& path)
    : path_(path), map_(std::make_unique<MappedFile>(path)) {
    const auto bytes = map_->bytes();
    header_ = ParseJetHeader(bytes.substr(0, 4096), bytes.size(), displayName(path));
    if (header_.hasPassword || header_.encrypted) {
        throw Error(
            err::kPasswordProtected,
            "パスワードが正しくありません。(データベース '" + displayName(path) + "' は" +
                (header_.encrypted ? "暗号化されています)" : "パスワードで保護されています)"));
    }
    // MSysObjects' definition always sits on page 2; it names every other table's page.
    const auto catalog = ReadTableDefinition(bytes, kCatalogPage, header_, "MSysObjects");
    const ColumnDefinition* id = nullptr;
    const ColumnDefinition* name = nullptr;
    const ColumnDefinition* type = nullptr;
    for (const auto& c : catalog.columns) {
        if (c.name == "Id")
            id = &c;
        if (c.name == "Name")
            name = &c;
        if (c.name == "Type")
            type = &c;
    }
    if (!id || !name || !type)
        damaged(path, "MSysObjects");
    RowReader rows(bytes, header_, catalog, kCatalogPage, "MSysObjects");
    tables_.emplace("MSYSOBJECTS", kCatalogPage);
    while (rows.next()) {
        if (rows.value(*type).toInteger() != kLocalTable)
            continue;
        tables_.emplace(util::UCase(rows.value(*name).toText()),
                        static_cast<std::uint32_t>(rows.value(*id).toInteger() & kPageOfId));
    }
}

std::optional<std::uint32_t> JetFile::tablePage(std::string_view name) const {
    const auto it = tables_.find(util::UCase(name));
    if (it == tables_.end())
        return std::nullopt;
    return it->second;
}

TableReader::TableReader(const JetFile& file, std::string_view tableName) {
    const auto page = file.tablePage(tableName);
    if (!page) {
        throw Error(err::kNoSuchTable, "入力テーブルまたはクエリ '" + std::string(tableName) +
                                           "' が見つかりませんでした。");
    }
    definition_ = ReadTableDefinition(file.bytes(), *page, file.header(), std::string(tableName));
    for (const auto& c : definition_.columns)
        names_.push_back(c.name);
    rows_ = std::make_unique<RowReader>(file.bytes(), file.header(), definition_, *page,
                                        std::string(tableName));
}

int TableReader::columnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (util::EqualsIgnoreCase(names_[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

int TableReader::columnType(int column) const {
    return definition_.columns.at(static_cast<std::size_t>(column)).type;
}

bool TableReader::next() { return rows_->next(); }

std::size_t TableReader::missingPages() const { return rows_->missingPages(); }

Value TableReader::value(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= names_.size())
        return {};
    return rows_->value(definition_.columns[static_cast<std::size_t>(column)]);
}

Value TableReader::value(std::string_view column) const { return value(columnIndex(column)); }

Bytes TableReader::bytes(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= names_.size())
        return {};
    return {rows_->bytes(definition_.columns[static_cast<std::size_t>(column)])};
}

std::string ReadLongValue(std::string_view file, const JetHeader& header, std::string_view stored) {
    constexpr std::size_t kHeader = 12;
    if (stored.size() < kHeader)
        return {};
    auto u32 = [](std::string_view b, std::size_t at) {
        return static_cast<std::uint32_t>(
            readLittleEndian(reinterpret_cast<const unsigned char*>(b.data()) + at, 4));
    };
    const std::uint32_t lengthAndFlags = u32(stored, 0);
    const std::size_t length = lengthAndFlags & 0x00FFFFFF;
    if (lengthAndFlags & 0x80000000u)
        return std::string(stored.substr(kHeader, length));

    const std::size_t pageSize = header.pageSize;
    const std::size_t rowCountAt = header.version == JetVersion::Jet4 ? 0x0c : 0x08;
    // The row's bytes in its long-value page, empty when the pointer leads nowhere valid.
    auto row = [&](std::uint32_t pointer) -> std::string_view {
        const std::size_t page = pointer >> 8;
        const std::size_t index = pointer & 0xFF;
        if (page == 0 || page >= file.size() / pageSize)
            return {};
        const std::string_view p = file.substr(page * pageSize, pageSize);
        auto u16 = [&](std::size_t at) -> std::size_t {
            return static_cast<unsigned char>(p[at]) | (static_cast<unsigned char>(p[at + 1]) << 8);
        };
        if (p[0] != 0x01 || rowCountAt + 2 + (index + 1) * 2 > pageSize)
            return {};
        if (index >= u16(rowCountAt))
            return {};
        const std::size_t start = u16(rowCountAt + 2 + index * 2) & 0x1FFF;
        const std::size_t end = index == 0 ? pageSize : (u16(rowCountAt + index * 2) & 0x1FFF);
        if (start >= end || end > pageSize)
            return {};
        return p.substr(start, end - start);
    };

    if (lengthAndFlags & 0x40000000u) {
        const auto data = row(u32(stored, 4));
        return std::string(data.substr(0, std::min(length, data.size())));
    }
    // A chain of rows, each beginning with the pointer to the next; the stored length bounds
    // the walk, so a damaged chain that loops ends too.
    std::string out;
    std::uint32_t pointer = u32(stored, 4);
    while (pointer != 0 && out.size() < length) {
        const auto data = row(pointer);
        if (data.size() < 4)
            break;
        out.append(data.substr(4, std::min(data.size() - 4, length - out.size())));
        pointer = u32(data, 0);
    }
    return out;
}

}  // namespace zanfor::host::jet

#include "host/access/compound_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "host/error.h"
#include "util/byte_order.h"
#include "util/encoding.h"

namespace zanfor::host::access {

namespace {

constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::uint64_t kToEndOfChain = std::numeric_limits<std::uint64_t>::max();
// Access nests its project a handful of levels deep; the limit keeps a crafted tree from
// exhausting the stack, here or in the recursive destruction of the nodes.
constexpr int kMaxStorageDepth = 64;

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

enum EntryType : unsigned char { kStorage = 1, kStream = 2, kRoot = 5 };

[[noreturn]] void damaged(const std::string& what) {
    throw Error(err::kProjectStorageDamaged,
                "Access のプロジェクトの複合ファイルが破損しています: " + what);
}

std::string number(std::uint64_t n) { return std::to_string(n); }

std::uint64_t le64(std::string_view b, std::size_t at) {
    return util::ReadLe32(b, at) | std::uint64_t{util::ReadLe32(b, at + 4)} << 32;
}

std::uint64_t ceilDiv(std::uint64_t a, std::uint64_t b) { return a / b + (a % b != 0); }

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    StorageNode read() {
        readHeader();
        readFat();
        readDirectory();
        const std::string_view root = entry(0);
        if (static_cast<unsigned char>(root[66]) != kRoot) {
            damaged("ディレクトリの先頭がルート項目ではありません");
        }
        seenEntry_[0] = true;
        readMiniStorage(root);
        return buildStorage(0, 0);
    }

private:
    void readHeader() {
        if (bytes_.size() < kHeaderSize) {
            damaged("ファイルが " + number(bytes_.size()) + " バイトしかなく、見出しがありません");
        }
        if (!std::equal(
                std::begin(kSignature), std::end(kSignature), bytes_.begin(),
                [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); })) {
            damaged("複合ファイルの識別子がありません");
        }
        version_ = util::ReadLe16(bytes_, 26);
        const unsigned sectorShift = util::ReadLe16(bytes_, 30);
        if (version_ == 3 && sectorShift == 9) {
            sectorSize_ = 512;
        } else if (version_ == 4 && sectorShift == 12) {
            sectorSize_ = 4096;
        } else {
            damaged("版 " + number(version_) + " とセクターの大きさ 2^" + number(sectorShift) +
                    " の組み合わせは複合ファイルにありません");
        }
        if (util::ReadLe16(bytes_, 28) != 0xFFFE)
            damaged("バイト順の印が 0xFFFE ではありません");
        if (util::ReadLe16(bytes_, 32) != 6)
            damaged("ミニセクターの大きさが 64 バイトではありません");
        if (util::ReadLe32(bytes_, 56) != kMiniStreamCutoff) {
            damaged("ミニストリームの境目が 4096 バイトではありません");
        }
        // The header fills the whole first sector; a partly present last sector still counts,
        // each read below checks that the bytes it needs are there.
        fileSectors_ =
            bytes_.size() > sectorSize_ ? ceilDiv(bytes_.size() - sectorSize_, sectorSize_) : 0;
        owner_.assign(fileSectors_, 0);
    }

    std::string_view sector(std::uint32_t s, std::size_t length, std::string_view what) const {
        const std::uint64_t at = (static_cast<std::uint64_t>(s) + 1) * sectorSize_;
        if (at > bytes_.size() || bytes_.size() - at < length) {
            damaged(std::string(what) + " のセクター " + number(s) +
                    " がファイルの終わりを越えています (ファイルが途中で切れています)");
        }
        return bytes_.substr(at, length);
    }

    // Claims a sector for the chain `chain`; a sector claimed twice means a cycle within one
    // chain or two chains sharing sectors, either of which would repeat data without end.
    void claim(std::uint32_t s, std::uint32_t chain, std::string_view what) {
        if (s > kMaxRegularSector || s >= fileSectors_) {
            damaged(std::string(what) + " のセクター番号 " + number(s) + " がファイルの範囲外です");
        }
        if (owner_[s] == chain)
            damaged(std::string(what) + " のセクターのチェーンが循環しています");
        if (owner_[s] != 0) {
            damaged(std::string(what) + " のセクター " + number(s) +
                    " が他のチェーンと重なっています");
        }
        owner_[s] = chain;
    }

    void readFat() {
        const std::uint32_t fatCount = util::ReadLe32(bytes_, 44);
        if (fatCount > fileSectors_) {
            damaged("FAT のセクター数 " + number(fatCount) + " がファイルの大きさを超えています");
        }
        const std::uint32_t fatChain = ++chains_;
        std::vector<std::uint32_t> fatSectors;
        fatSectors.reserve(fatCount);
        for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < fatCount; ++i) {
            fatSectors.push_back(util::ReadLe32(bytes_, 76 + 4 * i));
        }
        const std::uint32_t difatChain = ++chains_;
        const std::uint32_t difatCount = util::ReadLe32(bytes_, 72);
        std::uint32_t next = util::ReadLe32(bytes_, 68);
        const std::size_t perDifatSector = sectorSize_ / 4 - 1;
        for (std::uint32_t difatRead = 0; fatSectors.size() < fatCount; ++difatRead) {
            if (difatRead >= difatCount || next == kEndOfChain) {
                damaged("DIFAT が FAT のセクター数 " + number(fatCount) + " に足りません");
            }
            claim(next, difatChain, "DIFAT");
            const std::string_view difat = sector(next, sectorSize_, "DIFAT");
            for (std::size_t i = 0; i < perDifatSector && fatSectors.size() < fatCount; ++i) {
                fatSectors.push_back(util::ReadLe32(difat, 4 * i));
            }
            next = util::ReadLe32(difat, 4 * perDifatSector);
        }
        fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
        for (std::uint32_t s : fatSectors) {
            claim(s, fatChain, "FAT");
            const std::string_view part = sector(s, sectorSize_, "FAT");
            for (std::size_t i = 0; i < sectorSize_; i += 4)
                fat_.push_back(util::ReadLe32(part, i));
        }
    }

    // Stops after `needed` sectors: a chain may run on past its stream's end, never stop short.
    std::vector<std::uint32_t> chain(std::uint32_t start, std::uint64_t needed,
                                     std::string_view what) {
        const std::uint32_t id = ++chains_;
        std::vector<std::uint32_t> sectors;
        std::uint32_t s = start;
        while (sectors.size() < needed) {
            if (s == kEndOfChain) {
                if (needed == kToEndOfChain)
                    break;
                damaged(std::string(what) + " の大きさがセクターのチェーンより大きくなっています");
            }
            if (s >= fat_.size()) {
                damaged(std::string(what) + " のセクター番号 " + number(s) +
                        " が FAT の範囲外です");
            }
            claim(s, id, what);
            sectors.push_back(s);
            s = fat_[s];
        }
        return sectors;
    }

    std::string readRegular(std::uint32_t start, std::uint64_t size, std::string_view what) {
        const auto sectors = chain(start, ceilDiv(size, sectorSize_), what);
        std::string data;
        data.reserve(size);
        for (std::uint32_t s : sectors) {
            const std::size_t take = std::min<std::uint64_t>(sectorSize_, size - data.size());
            data.append(sector(s, take, what));
        }
        return data;
    }

    std::string readMini(std::uint32_t start, std::uint64_t size, const std::string& name) {
        const std::uint32_t id = ++chains_;
        std::string data;
        data.reserve(size);
        std::uint32_t s = start;
        while (data.size() < size) {
            if (s == kEndOfChain) {
                damaged("ストリーム「" + name +
                        "」の大きさがミニセクターのチェーンより大きくなっています");
            }
            if (s >= miniFat_.size()) {
                damaged("ストリーム「" + name + "」のミニセクター番号 " + number(s) +
                        " がミニ FAT の範囲外です");
            }
            const std::size_t take = std::min<std::uint64_t>(kMiniSectorSize, size - data.size());
            const std::uint64_t at = static_cast<std::uint64_t>(s) * kMiniSectorSize;
            if (at > miniStream_.size() || miniStream_.size() - at < take) {
                damaged("ストリーム「" + name + "」のミニセクター " + number(s) +
                        " がミニストリームの外にあります");
            }
            if (miniOwner_[s] == id) {
                damaged("ストリーム「" + name + "」のミニセクターのチェーンが循環しています");
            }
            if (miniOwner_[s] != 0) {
                damaged("ストリーム「" + name + "」のミニセクター " + number(s) +
                        " が他のストリームと重なっています");
            }
            miniOwner_[s] = id;
            data.append(miniStream_, at, take);
            s = miniFat_[s];
        }
        return data;
    }

    void readDirectory() {
        const auto sectors = chain(util::ReadLe32(bytes_, 48), kToEndOfChain, "ディレクトリ");
        if (sectors.empty())
            damaged("ディレクトリがありません");
        directory_.reserve(sectors.size() * sectorSize_);
        for (std::uint32_t s : sectors)
            directory_.append(sector(s, sectorSize_, "ディレクトリ"));
        seenEntry_.assign(directory_.size() / kEntrySize, false);
    }

    std::string_view entry(std::uint32_t id) const {
        return std::string_view(directory_).substr(id * kEntrySize, kEntrySize);
    }

    std::uint64_t entrySize(std::string_view e) const {
        // Version 3 writers may leave garbage in the high half, which readers ignore.
        return version_ == 3 ? util::ReadLe32(e, 120) : le64(e, 120);
    }

    void readMiniStorage(std::string_view root) {
        const std::uint32_t miniFatStart = util::ReadLe32(bytes_, 60);
        if (miniFatStart != kEndOfChain) {
            const auto sectors = chain(miniFatStart, kToEndOfChain, "ミニ FAT");
            miniFat_.reserve(sectors.size() * (sectorSize_ / 4));
            for (std::uint32_t s : sectors) {
                const std::string_view part = sector(s, sectorSize_, "ミニ FAT");
                for (std::size_t i = 0; i < sectorSize_; i += 4)
                    miniFat_.push_back(util::ReadLe32(part, i));
            }
        }
        const std::uint64_t size = entrySize(root);
        if (size > 0)
            miniStream_ = readRegular(util::ReadLe32(root, 116), size, "ミニストリーム");
        miniOwner_.assign(std::min<std::uint64_t>(miniFat_.size(), ceilDiv(size, kMiniSectorSize)),
                          0);
        miniFat_.resize(miniOwner_.size());
    }

    std::string entryName(std::uint32_t id) const {
        const std::string_view e = entry(id);
        const std::uint16_t length = util::ReadLe16(e, 64);
        if (length < 2 || length > 64 || length % 2 != 0) {
            damaged("ディレクトリ項目 " + number(id) + " の名前の長さ " + number(length) +
                    " が不正です");
        }
        std::string_view name = e.substr(0, length - 2);
        for (std::size_t i = 0; i < name.size(); i += 2) {
            if (name[i] == 0 && name[i + 1] == 0) {
                name = name.substr(0, i);
                break;
            }
        }
        return util::Utf16LeToUtf8(name);
    }

    void checkId(std::uint32_t id) const {
        if (id >= seenEntry_.size()) {
            damaged("ディレクトリ項目の番号 " + number(id) + " が範囲外です (項目数 " +
                    number(seenEntry_.size()) + ")");
        }
        if (seenEntry_[id])
            damaged("ディレクトリの木が循環しています (項目 " + number(id) + ")");
    }

    // In-order walk of the red-black tree of siblings: left subtree, the entry, right subtree.
    // Iterative, because a damaged tree may be a single long branch.
    std::vector<std::uint32_t> siblings(std::uint32_t top) {
        std::vector<std::uint32_t> ordered, stack;
        std::uint32_t current = top;
        while (current != kNoStream || !stack.empty()) {
            while (current != kNoStream) {
                checkId(current);
                seenEntry_[current] = true;
                stack.push_back(current);
                current = util::ReadLe32(entry(current), 68);
            }
            current = stack.back();
            stack.pop_back();
            ordered.push_back(current);
            current = util::ReadLe32(entry(current), 72);
        }
        return ordered;
    }

    StorageNode buildStorage(std::uint32_t id, int depth) {
        StorageNode node;
        node.name = entryName(id);
        for (std::uint32_t childId : siblings(util::ReadLe32(entry(id), 76))) {
            const std::string_view e = entry(childId);
            const auto type = static_cast<unsigned char>(e[66]);
            if (type == kStorage) {
                if (depth + 1 > kMaxStorageDepth) {
                    damaged("ストレージの入れ子が " + number(kMaxStorageDepth) +
                            " 段を超えています");
                }
                node.children.push_back(buildStorage(childId, depth + 1));
            } else if (type == kStream) {
                StorageNode stream;
                stream.name = entryName(childId);
                stream.isStream = true;
                const std::uint64_t size = entrySize(e);
                if (size >= kMiniStreamCutoff) {
                    stream.data = readRegular(util::ReadLe32(e, 116), size,
                                              "ストリーム「" + stream.name + "」");
                } else if (size > 0) {
                    stream.data = readMini(util::ReadLe32(e, 116), size, stream.name);
                }
                node.children.push_back(std::move(stream));
            } else {
                damaged("ディレクトリ項目 " + number(childId) + " の種類 " + number(type) +
                        " が不正です");
            }
        }
        return node;
    }

    std::string_view bytes_;
    unsigned version_ = 0;
    std::size_t sectorSize_ = 0;
    std::uint64_t fileSectors_ = 0;
    std::uint32_t chains_ = 0;
    std::vector<std::uint32_t> owner_;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<std::uint32_t> miniOwner_;
    std::string miniStream_;
    std::string directory_;
    std::vector<bool> seenEntry_;
};

}  // namespace

StorageNode ReadCompoundFile(std::string_view bytes) { return Reader(bytes).read(); }

}  // namespace zanfor::host::access

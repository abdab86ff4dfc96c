#include "host/access/ovba.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/error.h"
#include "util/byte_order.h"
#include "util/encoding.h"

namespace zanfor::host::access {

namespace {

constexpr std::size_t kChunkSize = 4096;
// A module holds at most 65,535 lines; more text than this is a crafted stream, not code.
constexpr std::size_t kMaxDecompressed = 128u << 20;

// Raised inside the readers and turned into a host error by the public functions, which know
// whether the damage lies in a compressed container, the "dir" stream or a module.
struct Damage {
    std::string what;
};

[[noreturn]] void damaged(std::string what) { throw Damage{std::move(what)}; }

[[noreturn]] void fail(const std::string& where, const Damage& damage) {
    throw Error(err::kVbaProjectDamaged, where + "が破損しています: " + damage.what);
}

std::string hex(unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x0000";
    for (int i = 5; i >= 2; --i, value >>= 4)
        text[i] = kDigits[value & 0xF];
    return text;
}

// The token sequences of one compressed chunk ([MS-OVBA] 2.4.1), appended to `out`. Offsets
// count from the chunk's own start, never reaching into an earlier chunk.
void decompressTokens(std::string_view chunk, std::string& out) {
    const std::size_t chunkStart = out.size();
    std::size_t i = 0;
    while (i < chunk.size()) {
        const auto flags = static_cast<unsigned char>(chunk[i++]);
        for (int bit = 0; bit < 8 && i < chunk.size(); ++bit) {
            const std::size_t decompressed = out.size() - chunkStart;
            if ((flags >> bit & 1) == 0) {
                if (decompressed >= kChunkSize)
                    damaged("展開したチャンクが 4096 バイトを超えます");
                out.push_back(chunk[i++]);
                continue;
            }
            if (chunk.size() - i < 2)
                damaged("コピートークンが途中で切れています");
            const std::uint16_t token = util::ReadLe16(chunk, i);
            i += 2;
            // The split between offset and length bits widens as the chunk fills, so that
            // the offset can reach back to the chunk's first byte.
            unsigned bitCount = 4;
            while ((std::size_t{1} << bitCount) < decompressed)
                ++bitCount;
            const std::size_t length = (token & (0xFFFFu >> bitCount)) + 3;
            const std::size_t offset = (token >> (16 - bitCount)) + 1;
            if (offset > decompressed)
                damaged("コピートークンがチャンクの先頭より前を指しています");
            if (decompressed + length > kChunkSize) {
                damaged("展開したチャンクが 4096 バイトを超えます");
            }
            // Byte by byte: the source may overlap what is being written, repeating a run.
            const std::size_t source = out.size() - offset;
            for (std::size_t k = 0; k < length; ++k)
                out.push_back(out[source + k]);
        }
    }
}

class RecordReader {
public:
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint16_t peekId() const {
        need(2);
        return util::ReadLe16(bytes_, pos_);
    }
    std::uint16_t u16() {
        need(2);
        pos_ += 2;
        return util::ReadLe16(bytes_, pos_ - 2);
    }
    std::uint32_t u32() {
        need(4);
        pos_ += 4;
        return util::ReadLe32(bytes_, pos_ - 4);
    }
    std::string_view take(std::size_t n) {
        need(n);
        pos_ += n;
        return bytes_.substr(pos_ - n, n);
    }
    // A length-prefixed byte array, the shape of most fields.
    std::string_view sized() { return take(u32()); }
    void expectId(std::uint16_t id, const char* record) {
        if (u16() != id)
            damaged(std::string(record) + " レコードがありません");
    }

private:
    void need(std::size_t n) const {
        if (bytes_.size() - pos_ < n)
            damaged("途中で切れています");
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// REFERENCENAME ([MS-OVBA] 2.3.4.2.2.2), its Id already read.
void skipReferenceName(RecordReader& r) {
    r.sized();
    r.expectId(0x003E, "REFERENCENAME の Unicode 名");
    r.sized();
}

// REFERENCECONTROL ([MS-OVBA] 2.3.4.2.2.3), its Id already read. The Size fields are not
// trusted: the record is walked field by field.
void skipReferenceControl(RecordReader& r) {
    r.u32();
    r.sized();
    r.take(6);
    if (r.peekId() == 0x0016) {
        r.u16();
        skipReferenceName(r);
    }
    r.expectId(0x0030, "REFERENCECONTROL の拡張部");
    r.u32();
    r.sized();
    r.take(6 + 16 + 4);
}

void skipReferences(RecordReader& r) {
    while (r.peekId() != 0x000F) {
        std::uint16_t id = r.u16();
        if (id == 0x0016) {
            skipReferenceName(r);
            id = r.u16();
        }
        switch (id) {
            case 0x002F:
                skipReferenceControl(r);
                break;
            case 0x0033:
                r.sized();
                r.expectId(0x002F, "REFERENCEORIGINAL に続く REFERENCECONTROL");
                skipReferenceControl(r);
                break;
            case 0x000D:
                r.u32();
                r.sized();
                r.take(6);
                break;
            case 0x000E:
                r.u32();
                r.sized();
                r.sized();
                r.take(6);
                break;
            default:
                damaged("参照レコードの種類 " + hex(id) + " が不明です");
        }
    }
}

bool isReferenceStart(std::uint16_t id) {
    return id == 0x0016 || id == 0x002F || id == 0x0033 || id == 0x000D || id == 0x000E ||
           id == 0x000F;
}

// PROJECTINFORMATION ([MS-OVBA] 2.3.4.2.1): only the code page is kept.
int readInformation(RecordReader& r) {
    int codePage = 1252;
    while (!isReferenceStart(r.peekId())) {
        const std::uint16_t id = r.u16();
        if (id == 0x0009) {
            // PROJECTVERSION: its Reserved field reads like a size of 4, but 6 bytes follow.
            r.take(4 + 4 + 2);
            continue;
        }
        const std::string_view data = r.sized();
        if (id == 0x0003) {
            if (data.size() != 2)
                damaged("PROJECTCODEPAGE の大きさが 2 バイトではありません");
            codePage = util::ReadLe16(data, 0);
        }
    }
    return codePage;
}

VbaModuleInfo readModule(RecordReader& r, int codePage) {
    VbaModuleInfo module;
    r.expectId(0x0019, "MODULENAME");
    const std::string nameMbcs = util::DecodeCodePage(r.sized(), codePage);
    std::string nameUnicode, streamMbcs, streamUnicode;
    bool hasStream = false, hasOffset = false, hasType = false;
    for (std::uint16_t id = r.u16(); id != 0x002B; id = r.u16()) {
        const std::string_view data = r.sized();
        switch (id) {
            case 0x0047:
                nameUnicode = util::Utf16LeToUtf8(data);
                break;
            case 0x001A:
                streamMbcs = util::DecodeCodePage(data, codePage);
                hasStream = true;
                break;
            case 0x0032:
                streamUnicode = util::Utf16LeToUtf8(data);
                break;
            case 0x0031:
                if (data.size() != 4)
                    damaged("MODULEOFFSET の大きさが 4 バイトではありません");
                module.textOffset = util::ReadLe32(data, 0);
                hasOffset = true;
                break;
            case 0x0021:
            case 0x0022:
                module.procedural = id == 0x0021;
                hasType = true;
                break;
            case 0x0019:
                damaged("モジュール「" + nameMbcs + "」の終端レコードがありません");
            default:
                // MODULEDOCSTRING, MODULEHELPCONTEXT, MODULECOOKIE, MODULEREADONLY,
                // MODULEPRIVATE and their Unicode halves carry nothing this program shows.
                break;
        }
    }
    r.u32();
    module.name = nameUnicode.empty() ? nameMbcs : nameUnicode;
    module.streamName = streamUnicode.empty() ? streamMbcs : streamUnicode;
    if (!hasStream)
        damaged("モジュール「" + module.name + "」に MODULESTREAMNAME がありません");
    if (!hasOffset)
        damaged("モジュール「" + module.name + "」に MODULEOFFSET がありません");
    if (!hasType)
        damaged("モジュール「" + module.name + "」に MODULETYPE がありません");
    return module;
}

std::string visibleSource(std::string_view text, int codePage) {
    std::string source;
    bool first = true;
    for (const auto& line : util::SplitLines(util::DecodeCodePage(text, codePage))) {
        if (line.starts_with("Attribute VB_"))
            continue;
        if (!first)
            source += "\r\n";
        source += line;
        first = false;
    }
    return source;
}

std::string decompress(std::string_view compressed) {
    if (compressed.empty() || compressed[0] != 0x01) {
        damaged("圧縮データの先頭が識別バイト 0x01 ではありません");
    }
    std::string out;
    std::size_t pos = 1;
    while (pos < compressed.size()) {
        if (compressed.size() - pos < 2)
            damaged("圧縮チャンクの見出しが途中で切れています");
        const std::uint16_t header = util::ReadLe16(compressed, pos);
        const std::size_t size = (header & 0x0FFF) + 3;
        if ((header >> 12 & 0x7) != 0x3)
            damaged("圧縮チャンクの見出しの識別ビットが 0b011 ではありません");
        if (size > compressed.size() - pos)
            damaged("圧縮チャンクがデータの終わりを越えています");
        const std::string_view chunk = compressed.substr(pos + 2, size - 2);
        pos += size;
        if (out.size() > kMaxDecompressed)
            damaged("展開したデータが大きすぎます");
        if ((header & 0x8000) != 0) {
            decompressTokens(chunk, out);
        } else if (chunk.size() == kChunkSize) {
            out.append(chunk);
        } else {
            damaged("非圧縮チャンクの大きさが 4096 バイトではありません");
        }
    }
    return out;
}

}  // namespace

std::string DecompressVba(std::string_view compressed) {
    try {
        return decompress(compressed);
    } catch (const Damage& damage) {
        fail("VBA の圧縮データ", damage);
    }
}

VbaProjectInfo ReadVbaProject(const StorageNode& vba) {
    const StorageNode* dirStream = vba.child("dir");
    if (!dirStream || !dirStream->isStream) {
        throw Error(err::kVbaProjectDamaged, "VBA プロジェクトに dir ストリームがありません");
    }
    VbaProjectInfo project;
    try {
        const std::string dir = decompress(dirStream->data);
        RecordReader r(dir);
        project.codePage = readInformation(r);
        skipReferences(r);
        r.expectId(0x000F, "PROJECTMODULES");
        if (r.u32() != 2)
            damaged("PROJECTMODULES の大きさが 2 バイトではありません");
        const std::uint16_t count = r.u16();
        r.expectId(0x0013, "PROJECTCOOKIE");
        r.sized();
        for (std::uint16_t i = 0; i < count; ++i) {
            project.modules.push_back(readModule(r, project.codePage));
        }
        r.expectId(0x0010, "PROJECTMODULES の終端");
        r.u32();
    } catch (const Damage& damage) {
        fail("VBA プロジェクトの dir ストリーム", damage);
    }

    for (auto& module : project.modules) {
        try {
            const StorageNode* stream = vba.child(module.streamName);
            if (!stream || !stream->isStream) {
                damaged("ストリーム「" + module.streamName + "」がありません");
            }
            if (module.textOffset > stream->data.size()) {
                damaged("ソースの位置 " + std::to_string(module.textOffset) +
                        " がストリームの外にあります");
            }
            module.source =
                visibleSource(decompress(std::string_view(stream->data).substr(module.textOffset)),
                              project.codePage);
        } catch (const Damage& damage) {
            fail("VBA のモジュール「" + module.name + "」", damage);
        }
    }
    return project;
}

}  // namespace zanfor::host::access

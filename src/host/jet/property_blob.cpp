#include "host/jet/property_blob.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "util/currency.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::jet {

namespace {

constexpr std::string_view kJet4Signature{"MR2\0", 4};
constexpr std::string_view kJet3Signature{"KKD\0", 4};

constexpr std::size_t kChunkHeaderSize = 6;  // length (4), type (2)
constexpr std::size_t kEntryHeaderSize = 8;  // length (2), DDL flag, type, name index, value length
// Every chunk but the name pool holds values: 0x00 the object's own, 0x01 a column's.
constexpr std::uint16_t kNamePoolChunk = 0x80;
// Real objects carry a few dozen properties. Each addition searches the collection, so a forged
// blob naming tens of thousands would take minutes; past this many, new names are dropped.
constexpr std::size_t kMaxPropertiesPerOwner = 1024;

enum JetType : std::uint8_t {
    kBoolean = 1,
    kByte = 2,
    kInteger = 3,
    kLong = 4,
    kCurrency = 5,
    kSingle = 6,
    kDouble = 7,
    kDateTime = 8,
    kBinary = 9,
    kText = 10,
    kOle = 11,
    kMemo = 12,
    kGuid = 15,
};

std::uint16_t ReadU16(std::string_view b, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[pos]) |
                                      static_cast<unsigned char>(b[pos + 1]) << 8);
}

std::uint32_t ReadU32(std::string_view b, std::size_t pos) {
    return static_cast<std::uint32_t>(ReadU16(b, pos)) |
           static_cast<std::uint32_t>(ReadU16(b, pos + 2)) << 16;
}

std::uint64_t ReadU64(std::string_view b, std::size_t pos) {
    return static_cast<std::uint64_t>(ReadU32(b, pos)) |
           static_cast<std::uint64_t>(ReadU32(b, pos + 4)) << 32;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A lone surrogate cannot be written as UTF-8, so it becomes U+FFFD; a final odd byte is half a
// character and is dropped.
void AppendUcs2(std::string& out, std::string_view bytes) {
    constexpr char32_t kReplacement = 0xFFFD;
    const std::size_t count = bytes.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = ReadU16(bytes, 2 * i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const char32_t low = ReadU16(bytes, 2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
}

// Jet 4's compressed text: after FF FE, runs of one byte per character (the high byte zero)
// alternate with runs of UCS-2, each 00 byte at a character boundary switching between them.
std::string DecodeCompressedUcs2(std::string_view bytes) {
    std::string out;
    bool oneByte = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        if (bytes[i] == '\0') {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            AppendUtf8(out, static_cast<unsigned char>(bytes[i]));
            ++i;
        } else if (bytes.size() - i < 2) {
            break;
        } else {
            std::size_t end = i;
            while (end + 1 < bytes.size() && bytes[end] != '\0')
                end += 2;
            AppendUcs2(out, bytes.substr(i, end - i));
            i = end;
        }
    }
    return out;
}

class TextDecoder {
public:
    TextDecoder(bool ucs2, int codePage) : ucs2_(ucs2), codePage_(codePage) {}

    // Names of properties and columns are never compressed.
    std::string name(std::string_view bytes) const {
        if (!ucs2_)
            return util::DecodeCodePage(bytes, codePage_);
        std::string out;
        AppendUcs2(out, bytes);
        return out;
    }

    std::string value(std::string_view bytes) const {
        if (ucs2_ && bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
            return DecodeCompressedUcs2(bytes);
        return name(bytes);
    }

private:
    bool ucs2_;
    int codePage_;
};

std::optional<std::int64_t> ReadInteger(std::string_view v, bool unsignedByte) {
    switch (v.size()) {
        case 1: {
            const auto byte = static_cast<unsigned char>(v[0]);
            return unsignedByte ? std::int64_t{byte} : std::int64_t{static_cast<std::int8_t>(byte)};
        }
        case 2:
            return static_cast<std::int16_t>(ReadU16(v, 0));
        case 4:
            return static_cast<std::int32_t>(ReadU32(v, 0));
        case 8:
            return static_cast<std::int64_t>(ReadU64(v, 0));
        default:
            return std::nullopt;
    }
}

// Access showed a Single with seven significant digits; widening the float itself would turn
// 0.1 into 0.100000001490116 wherever the value is printed.
double SingleAsShown(float f) {
    if (!std::isfinite(f))
        return static_cast<double>(f);
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, f, std::chars_format::general, 7);
    double d = static_cast<double>(f);
    std::from_chars(text, written.ptr, d);
    return d;
}

std::string FormatGuid(std::string_view v) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-", static_cast<unsigned>(ReadU32(v, 0)),
                  static_cast<unsigned>(ReadU16(v, 4)), static_cast<unsigned>(ReadU16(v, 6)));
    std::string out = text;
    for (std::size_t i = 8; i < 16; ++i) {
        if (i == 10)
            out += '-';
        std::snprintf(text, sizeof text, "%02X", static_cast<unsigned char>(v[i]));
        out += text;
    }
    out += '}';
    return out;
}

// A value whose length does not fit its type is damaged and reads as Null rather than as a
// number made of neighbouring bytes.
Value DecodeValue(std::uint8_t type, std::string_view v, const TextDecoder& text) {
    switch (type) {
        case kBoolean:
            return v.empty() ? Value() : Value(v[0] != '\0');
        case kByte:
        case kInteger:
        case kLong:
            if (const auto n = ReadInteger(v, type == kByte))
                return Value(*n);
            return Value();
        case kCurrency:
            if (v.size() != 8)
                return Value();
            return Value(
                util::Currency::FromTicks(static_cast<std::int64_t>(ReadU64(v, 0))).ToDouble());
        case kSingle:
            if (v.size() != 4)
                return Value();
            return Value(SingleAsShown(std::bit_cast<float>(ReadU32(v, 0))));
        case kDouble:
            if (v.size() != 8)
                return Value();
            return Value(std::bit_cast<double>(ReadU64(v, 0)));
        case kDateTime:
            if (v.size() != 8)
                return Value();
            return Value(Date{std::bit_cast<double>(ReadU64(v, 0))});
        case kText:
        case kMemo:
            return Value(text.value(v));
        case kGuid:
            if (v.size() != 16)
                return Value();
            return Value(FormatGuid(v));
        // Binary and OLE values (a table's GUID and NameMap, a document's DOL) are internal to
        // Access and have no text a reader could use.
        case kBinary:
        case kOle:
        default:
            return Value();
    }
}

std::vector<std::string> ReadNamePool(std::string_view chunk, const TextDecoder& text) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (chunk.size() - pos >= 2) {
        const std::size_t length = ReadU16(chunk, pos);
        if (length > chunk.size() - pos - 2)
            break;
        names.push_back(text.name(chunk.substr(pos + 2, length)));
        pos += 2 + length;
    }
    return names;
}

class BlobBuilder {
public:
    explicit BlobBuilder(PropertyBlob& blob) : blob_(blob) {}

    // Jet matches column names without regard to case, so two blocks for one column merge.
    Properties& target(const std::string& owner) {
        if (owner.empty())
            return blob_.object;
        const auto [it, added] = columnIndex_.try_emplace(util::UCase(owner), blob_.columns.size());
        if (added)
            blob_.columns.emplace_back(owner, Properties());
        return blob_.columns[it->second].second;
    }

private:
    PropertyBlob& blob_;
    std::unordered_map<std::string, std::size_t> columnIndex_;
};

// Stops at the first entry whose framing is broken: past that point no boundary can be trusted.
// An entry that names no pooled property is skipped alone, as its framing is still sound.
void ReadValueChunk(std::string_view chunk, const std::vector<std::string>& names,
                    const TextDecoder& text, BlobBuilder& builder) {
    if (chunk.size() < 4)
        return;
    const std::size_t headerLength = ReadU32(chunk, 0);
    if (headerLength < 4 || headerLength > chunk.size())
        return;
    std::string owner;
    if (headerLength >= 6) {
        const std::size_t ownerLength = ReadU16(chunk, 4);
        if (ownerLength > headerLength - 6)
            return;
        owner = text.name(chunk.substr(6, ownerLength));
    }
    Properties& target = builder.target(owner);

    std::size_t pos = headerLength;
    while (chunk.size() - pos >= kEntryHeaderSize) {
        const std::size_t entryLength = ReadU16(chunk, pos);
        if (entryLength < kEntryHeaderSize || entryLength > chunk.size() - pos)
            return;
        const auto type = static_cast<std::uint8_t>(chunk[pos + 3]);
        const std::size_t nameIndex = ReadU16(chunk, pos + 4);
        const std::size_t valueLength = ReadU16(chunk, pos + 6);
        if (valueLength > entryLength - kEntryHeaderSize)
            return;
        if (nameIndex < names.size() &&
            (target.count() < kMaxPropertiesPerOwner || target.contains(names[nameIndex])))
            target.put(names[nameIndex],
                       DecodeValue(type, chunk.substr(pos + kEntryHeaderSize, valueLength), text));
        pos += entryLength;
    }
}

}  // namespace

// The blob's own signature decides its text encoding rather than the file's version: it names
// the engine that wrote the blob.
PropertyBlob ParsePropertyBlob(std::string_view bytes, [[maybe_unused]] JetVersion version,
                               int codePage) {
    PropertyBlob blob;
    const std::string_view signature = bytes.substr(0, 4);
    if (signature != kJet4Signature && signature != kJet3Signature)
        return blob;
    const TextDecoder text(signature == kJet4Signature, codePage);
    BlobBuilder builder(blob);
    std::vector<std::string> names;

    std::size_t pos = signature.size();
    while (bytes.size() - pos >= kChunkHeaderSize) {
        const std::size_t length = ReadU32(bytes, pos);
        const std::uint16_t type = ReadU16(bytes, pos + 4);
        if (length < kChunkHeaderSize)
            break;
        // A chunk cut short by the end of the blob still gives the entries that fit.
        const bool cut = length > bytes.size() - pos;
        const std::size_t available = cut ? bytes.size() - pos : length;
        const std::string_view chunk =
            bytes.substr(pos + kChunkHeaderSize, available - kChunkHeaderSize);
        if (type == kNamePoolChunk)
            names = ReadNamePool(chunk, text);
        else
            ReadValueChunk(chunk, names, text, builder);
        if (cut)
            break;
        pos += length;
    }
    return blob;
}

}  // namespace zanfor::host::jet

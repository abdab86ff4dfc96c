#include "host/access/ovba.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "access_fixture.h"
#include "host/error.h"
#include "host/export/expect_error.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using access::DecompressVba;
using access::ReadVbaProject;
using access::StorageNode;
using access::VbaProjectInfo;
using zanfor::test::ErrorOf;
using zanfor::test::ExpectError;
using zanfor::test::Le;
using zanfor::util::Utf8ToCp932;

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += Le(c, 2);
    return bytes;
}

// A compressed chunk of explicit tokens: each string gives literals, each number a copy token.
using Token = std::variant<std::string, int>;

std::string Chunk(const std::vector<Token>& tokens) {
    std::string data, group;  // group: a flag byte, then the eight tokens it flags
    int count = 0;
    const auto add = [&](bool copy, const std::string& token) {
        if (count++ % 8 == 0)
            data += std::exchange(group, std::string(1, '\0'));
        group[0] = static_cast<char>(group[0] | copy << (count - 1) % 8);
        group += token;
    };
    for (const auto& t : tokens) {
        if (const auto* copy = std::get_if<int>(&t))
            add(true, Le(*copy, 2));
        for (char c : std::holds_alternative<std::string>(t) ? std::get<std::string>(t) : "")
            add(false, std::string(1, c));
    }
    data += group;
    return Le(0xB000 | (data.size() - 1), 2) + data;
}

// Literal tokens only: a valid container built without any compressor.
std::string Literal(std::string_view data) {
    std::string out = "\x01";
    for (std::size_t at = 0; at < data.size(); at += 3000)
        out += Chunk({std::string(data.substr(at, 3000))});
    return out;
}

std::string RawChunk(std::string_view data) { return Le(0x3FFF, 2) + std::string(data); }

std::string Pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>('A' + i * 7 % 26);
    return s;
}

const std::string kNormalExample = std::string(
    "\x01\x2F\xB0\x00\x23\x61\x61\x61\x62\x63\x64\x65\x82\x66\x00\x70\x61\x67\x68\x69\x6A\x01\x38"
    "\x08\x61\x6B\x6C\x00\x20\x6D\x6E\x6F\x70\x06\x71\x02\x70\x04\x00\x72\x73\x74\x75\x76\x10\x77"
    "\x78\x79\x7A\x00\x2C",
    51);

TEST(OvbaDecompress, WorkedExamplesAndTheVariableTokenSplit) {
    const std::string raw = Pattern(4096);
    std::string full;  // 16 bytes repeated to 4093, then a 3-byte copy from the chunk's start
    for (std::size_t i = 0; i < 4093; ++i)
        full += Pattern(16)[i % 16];
    // The format's worked examples first: literals only, a mixed run, one long copy.
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\x01\x19\xB0\x00\x61\x62\x63\x64\x65\x66\x67\x68\x00\x69\x6A\x6B\x6C\x6D\x6E"
                     "\x6F\x70\x00\x71\x72\x73\x74\x75\x76\x2E",
                     29),
         "abcdefghijklmnopqrstuv."},
        {kNormalExample, "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa"},
        {std::string("\x01\x03\xB0\x02\x61\x45\x00", 7), std::string(73, 'a')},
        {"\x01", ""},
        {"\x01" + RawChunk(raw), raw},
        // Offsets count from the chunk's own start: one byte back here, not 4097.
        {"\x01" + RawChunk(raw) + std::string("\x03\xB0\x02\x61\x45\x00", 6),
         raw + std::string(73, 'a')},
        // Offset bits: 4 up to 16 bytes decompressed, 5 from 17, 9 at 300, 12 near the end.
        {"\x01" + Chunk({Pattern(16), 0xF000}), Pattern(16) + Pattern(3)},
        {"\x01" + Chunk({Pattern(17), 0x8001}), Pattern(17) + Pattern(4)},
        {"\x01" + Chunk({Pattern(300), 0x8007}), Pattern(300) + Pattern(300).substr(43, 10)},
        {"\x01" + Chunk({Pattern(16), 0xFFEA, 0xFFC0}), full + Pattern(3)},
    };
    for (const auto& [compressed, expected] : cases)
        EXPECT_EQ(DecompressVba(compressed), expected);
}

TEST(OvbaDecompress, MalformedContainersAreVbaDamage) {
    std::vector<std::pair<std::string, const char*>> cases = {
        {"", "識別バイト"},
        {"\x02" + kNormalExample.substr(1), "識別バイト"},
        {"\x01\x19", "見出し"},
        {std::string("\x01\x19\x80\x00\x61", 5), "識別ビット"},
        {"\x01" + Le(0x3007, 2) + "12345678", "非圧縮"},
        {std::string("\x01\x02\xB0\x02\x61\x45", 6), "コピートークン"},
        {"\x01" + Chunk({0x0000}), "先頭より前"},
        {"\x01" + RawChunk(Pattern(4096)) + Chunk({"a", 0x1000}), "先頭より前"},
        {"\x01" + Chunk({"a", 0x0FFF}), "4096"},
    };
    for (std::size_t size = 3; size < kNormalExample.size(); ++size)
        cases.emplace_back(kNormalExample.substr(0, size), "データの終わり");
    for (const auto& [compressed, expected] : cases)
        ExpectError([&] { DecompressVba(compressed); }, err::kVbaProjectDamaged, expected);
}

std::string Record(std::uint16_t id, std::string_view data) {
    return Le(id, 2) + Le(static_cast<std::uint32_t>(data.size()), 4) + std::string(data);
}

std::string Information(std::uint16_t codePage) {
    return Record(1, Le(1, 4)) + Record(0x4A, Le(0xB, 4)) + Record(2, Le(0x411, 4)) +
           Record(0x14, Le(0x411, 4)) + Record(3, Le(codePage, 2)) + Record(4, "Project") +
           Record(5, "doc") + Record(0x40, Utf16(u"doc")) + Record(6, "h") + Record(0x3D, "h") +
           Record(7, Le(0, 4)) + Record(8, Le(0, 4)) +
           // PROJECTVERSION: read as a plain record it would stop two bytes short, at 0x0016.
           Le(9, 2) + Le(4, 4) + Le(0x5D43E5C0, 4) + Le(0x16, 2) + Record(0xC, "A=1") +
           Record(0x3C, Utf16(u"A=1"));
}

// One reference of each kind, Size fields deliberately wrong: readers must walk the fields.
std::string References() {
    const std::string libid = "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE";
    const std::string sized = Le(static_cast<std::uint32_t>(libid.size()), 4) + libid;
    auto name = [](std::u16string_view n) {
        return Record(0x16, std::string(n.begin(), n.end())) + Record(0x3E, Utf16(n));
    };
    return name(u"stdole") + Le(0x0D, 2) + Le(999, 4) + sized + Le(0, 6) + name(u"Other") +
           Le(0x0E, 2) + Le(3, 4) + Le(7, 4) + "*\\CC:\\x" + Le(6, 4) + "*\\Cx\\y" + Le(5, 6) +
           name(u"MSForms") + Le(0x33, 2) + sized + Le(0x2F, 2) + Le(0, 4) + sized + Le(0, 6) +
           name(u"ext") + Le(0x30, 2) + Le(1, 4) + sized + Le(0, 6) + std::string(16, '\x11') +
           Le(0x1234, 4) + Le(0x2F, 2) + Le(12345, 4) + Le(3, 4) + "*\\G" + Le(0, 6) + Le(0x30, 2) +
           Le(0, 4) + Le(3, 4) + "*\\G" + Le(0, 6) + std::string(16, '\0') + Le(0, 4);
}

struct TestModule {
    std::string nameMbcs;  // in the project's code page
    std::u16string nameUnicode;
    std::string stream;
    bool procedural;
    std::uint32_t offset;
    std::string source;  // stored text, in the code page
    bool withOffset = true;
};

std::string Modules(const std::vector<TestModule>& modules, std::size_t count) {
    std::string r = Le(0x0F, 2) + Le(2, 4) + Le(static_cast<std::uint32_t>(count), 2) +
                    Record(0x13, Le(0xFFFF, 2));
    for (const auto& m : modules) {
        r += Record(0x19, m.nameMbcs) +
             (m.nameUnicode.empty() ? "" : Record(0x47, Utf16(m.nameUnicode))) +
             Record(0x1A, m.stream) +
             Record(0x32, Utf16(std::u16string(m.stream.begin(), m.stream.end()))) +
             Record(0x1C, "") + Record(0x48, "") +
             (m.withOffset ? Record(0x31, Le(m.offset, 4)) : "") + Record(0x1E, Le(0, 4)) +
             Record(0x2C, Le(0xFFFF, 2)) + Record(m.procedural ? 0x21 : 0x22, "") +
             Record(0x25, "") + Record(0x28, "") + Record(0x2B, "");
    }
    return r + Record(0x10, "");
}

// `dir` replaces the records built from the modules when not empty.
StorageNode VbaStorage(const std::vector<TestModule>& modules, std::uint16_t codePage = 932,
                       std::string dir = "") {
    if (dir.empty())
        dir = Information(codePage) + References() + Modules(modules, modules.size());
    StorageNode vba{"VBA",
                    false,
                    {},
                    {{"dir", true, Literal(dir), {}}, {"_VBA_PROJECT", true, "\xCC\x61", {}}}};
    for (const auto& m : modules) {
        vba.children.push_back(
            {m.stream, true, std::string(m.offset, 'Z') + Literal(m.source), {}});
    }
    return vba;
}

std::vector<TestModule> JapaneseModules() {
    return {{Utf8ToCp932("標準?"), u"標準モジュール", "MOD1", true, 5,
             Utf8ToCp932("Attribute VB_Name = \"標準モジュール\"\r\nOption Compare Database\r\n\r\n"
                         "' 受注を数えます。\r\n    Count = 1  \r\nEnd Function\r\n")},
            {Utf8ToCp932("Form_受注"), u"", "FORM2", false, 0,
             Utf8ToCp932("Attribute VB_Name = \"Form_受注\"\r\nAttribute VB_Creatable = True\r\n"
                         "Option Compare Database\r\n")}};
}

TEST(VbaProject, ReadsModulesInDirOrderPreferringUnicodeNames) {
    const VbaProjectInfo info = ReadVbaProject(VbaStorage(JapaneseModules()));
    EXPECT_EQ(info.codePage, 932);
    std::vector<std::tuple<std::string, std::string, bool, std::uint32_t, std::string>> got;
    for (const auto& m : info.modules)
        got.emplace_back(m.name, m.streamName, m.procedural, m.textOffset, m.source);
    EXPECT_EQ(got, (decltype(got){{"標準モジュール", "MOD1", true, 5,
                                   "Option Compare Database\r\n\r\n' 受注を数えます。\r\n"
                                   "    Count = 1  \r\nEnd Function"},
                                  {"Form_受注", "FORM2", false, 0, "Option Compare Database"}}));
}

TEST(VbaProject, SourceLinesKeepTheirShape) {
    const std::pair<std::string, std::string> cases[] = {
        {"Attribute VB_Name = \"M\"\r\n", ""},
        {"Option Explicit", "Option Explicit"},
        {"Option Explicit\r\n\r\n\r\n", "Option Explicit\r\n\r\n"},
        {"\tx = 1   \r\n  ' c\r\n", "\tx = 1   \r\n  ' c"},
        {"Sub A()\r\nAttribute VB_Description = \"d\"\r\nEnd Sub\r\n", "Sub A()\r\nEnd Sub"},
        {"Const Attribute_VB = 1\r\n", "Const Attribute_VB = 1"},
        {"caf\xE9\r\n", "café"},
    };
    for (const auto& [stored, expected] : cases) {
        const auto vba = VbaStorage({{"M", u"", "M", true, 0, stored}}, 1252);
        EXPECT_EQ(ReadVbaProject(vba).modules.at(0).source, expected) << stored;
    }
}

TEST(VbaProject, DamagedProjectsNameWhatIsWrong) {
    const auto modules = JapaneseModules();
    auto withDir = [&](std::string dir) { return VbaStorage(modules, 932, std::move(dir)); };
    auto changed = [&](const std::function<void(StorageNode&)>& change) {
        StorageNode vba = VbaStorage(modules);
        change(vba);
        return vba;
    };
    auto noOffset = modules;
    noOffset[1].withOffset = false;
    const std::string info = Information(932) + References();
    const std::pair<StorageNode, const char*> cases[] = {
        {changed([](StorageNode& v) { v.children.erase(v.children.begin()); }),
         "dir ストリームがありません"},
        {withDir(Information(932) + Record(0x16, "x") + Record(0x3E, "x") + Le(0x99, 2) +
                 Modules(modules, 2)),
         "0x0099"},
        {withDir(Record(3, "abc") + Modules(modules, 2)), "PROJECTCODEPAGE"},
        {withDir(info + Modules(noOffset, 2)), "MODULEOFFSET"},
        {withDir(info + Modules(modules, 3)), "MODULENAME"},
        {changed([](StorageNode& v) { v.children.pop_back(); }), "モジュール「Form_受注」"},
        {changed([](StorageNode& v) { v.children[2].data.resize(3); }), "ストリームの外"},
        {changed([](StorageNode& v) { v.children[3].data += "\x01"; }), "モジュール「Form_受注」"},
    };
    for (const auto& [vba, expected] : cases)
        ExpectError([&] { ReadVbaProject(vba); }, err::kVbaProjectDamaged, expected);
    const std::string dir = info + Modules(modules, 2);
    for (std::size_t size = 1; size < dir.size(); ++size) {
        const StorageNode vba = withDir(dir.substr(0, size));
        EXPECT_EQ(ErrorOf([&] { ReadVbaProject(vba); }), err::kVbaProjectDamaged) << size;
    }
}

}  // namespace

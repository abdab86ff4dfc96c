#include "host/access/ovba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "host/access/project_storage.h"
#include "host/error.h"
#include "host/jet/mdb_file.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using access::DecompressVba;
using access::ReadVbaProject;
using access::StorageNode;
using access::VbaProjectInfo;
using zanfor::util::Utf8ToCp932;

std::string Hex(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
    }
    return bytes;
}

std::string Le(std::uint64_t v, int width) {
    std::string b;
    for (int i = 0; i < width; ++i)
        b += static_cast<char>(v >> 8 * i & 0xFF);
    return b;
}

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += Le(c, 2);
    return bytes;
}

// A compressed chunk of explicit tokens: each string gives literals, each number a copy token.
using Token = std::variant<std::string, int>;

std::string Chunk(const std::vector<Token>& tokens) {
    std::vector<std::pair<bool, std::string>> flat;
    for (const auto& t : tokens) {
        if (const auto* copy = std::get_if<int>(&t))
            flat.emplace_back(true, Le(*copy, 2));
        if (const auto* text = std::get_if<std::string>(&t)) {
            for (char c : *text)
                flat.emplace_back(false, std::string(1, c));
        }
    }
    std::string data;
    for (std::size_t i = 0; i < flat.size(); i += 8) {
        std::string group(1, '\0');
        for (std::size_t k = 0; k < 8 && i + k < flat.size(); ++k) {
            group[0] = static_cast<char>(group[0] | flat[i + k].first << k);
            group += flat[i + k].second;
        }
        data += group;
    }
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

const std::string kNormalExample =
    Hex("01 2F B0 00 23 61 61 61 62 63 64 65 82 66 00 70 61 67 68 69 6A 01 38 08 61 6B 6C 00 20 6D "
        "6E 6F 70 06 71 02 70 04 00 72 73 74 75 76 10 77 78 79 7A 00 2C");

int VbaError(const std::function<void()>& run, std::string* description = nullptr) {
    try {
        run();
    } catch (const Error& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

TEST(OvbaDecompress, WorkedExamplesAndTheVariableTokenSplit) {
    const std::string raw = Pattern(4096);
    std::string full;  // 16 bytes repeated to 4093, then a 3-byte copy from the chunk's start
    for (std::size_t i = 0; i < 4093; ++i)
        full += Pattern(16)[i % 16];
    const std::pair<std::string, std::string> cases[] = {
        {Hex("01 19 B0 00 61 62 63 64 65 66 67 68 00 69 6A 6B 6C 6D 6E 6F 70 00 71 72 73 74 75 76 "
             "2E"),
         "abcdefghijklmnopqrstuv."},  // [MS-OVBA] 3.2.1
        {kNormalExample, "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa"},  // 3.2.2
        {Hex("01 03 B0 02 61 45 00"), std::string(73, 'a')},                           // 3.2.3
        {"\x01", ""},
        {"\x01" + RawChunk(raw), raw},
        // Offsets count from the chunk's own start: one byte back here, not 4097.
        {"\x01" + RawChunk(raw) + Hex("03 B0 02 61 45 00"), raw + std::string(73, 'a')},
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
        {Hex("01 19 80 00 61"), "識別ビット"},
        {"\x01" + Le(0x3007, 2) + "12345678", "非圧縮"},
        {"\x01" + RawChunk(Pattern(4000)), "データの終わり"},
        {Hex("01 02 B0 02 61 45"), "コピートークン"},
        {"\x01" + Chunk({0x0000}), "先頭より前"},
        {"\x01" + Chunk({"abc", 0x3000}), "先頭より前"},
        {"\x01" + RawChunk(Pattern(4096)) + Chunk({"a", 0x1000}), "先頭より前"},
        {"\x01" + Chunk({"a", 0x0FFF}), "4096"},
        {"\x01" + Chunk({"a", 0x0FFC, "b"}), "4096"},
    };
    for (std::size_t size = 3; size < kNormalExample.size(); ++size) {
        cases.emplace_back(kNormalExample.substr(0, size), "データの終わり");
    }
    for (const auto& [compressed, expected] : cases) {
        std::string description;
        EXPECT_EQ(VbaError([&] { DecompressVba(compressed); }, &description),
                  err::kVbaProjectDamaged);
        EXPECT_NE(description.find(expected), std::string::npos) << description;
    }
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

StorageNode Stream(std::string name, std::string data) {
    return {std::move(name), true, std::move(data), {}};
}

// `dir` replaces the records built from the modules when not empty.
StorageNode VbaStorage(const std::vector<TestModule>& modules, std::uint16_t codePage = 932,
                       std::string dir = "") {
    if (dir.empty())
        dir = Information(codePage) + References() + Modules(modules, modules.size());
    StorageNode vba{
        "VBA", false, {}, {Stream("dir", Literal(dir)), Stream("_VBA_PROJECT", "\xCC\x61")}};
    for (const auto& m : modules) {
        vba.children.push_back(Stream(m.stream, std::string(m.offset, 'Z') + Literal(m.source)));
    }
    return vba;
}

std::vector<TestModule> JapaneseModules() {
    return {{Utf8ToCp932("標準?"), u"標準モジュール", "MOD1", true, 5,
             Utf8ToCp932("Attribute VB_Name = \"標準モジュール\"\r\nOption Compare Database\r\n\r\n"
                         "' 受注を数えます。\r\nFunction Count() As Long\r\n    Count = 1  \r\nEnd "
                         "Function\r\n")},
            {Utf8ToCp932("Form_受注"), u"", "FORM2", false, 0,
             Utf8ToCp932("Attribute VB_Name = \"Form_受注\"\r\nAttribute VB_Creatable = True\r\n"
                         "Option Compare Database\r\n")}};
}

TEST(VbaProject, ReadsModulesInDirOrderPreferringUnicodeNames) {
    const VbaProjectInfo info = ReadVbaProject(VbaStorage(JapaneseModules()));
    EXPECT_EQ(info.codePage, 932);
    ASSERT_EQ(info.modules.size(), 2u);
    const auto& m = info.modules;
    EXPECT_EQ(m[0].name, "標準モジュール");
    EXPECT_EQ(m[0].streamName, "MOD1");
    EXPECT_TRUE(m[0].procedural);
    EXPECT_EQ(m[0].textOffset, 5u);
    EXPECT_EQ(m[0].source,
              "Option Compare Database\r\n\r\n' 受注を数えます。\r\nFunction Count() As Long\r\n"
              "    Count = 1  \r\nEnd Function");
    EXPECT_EQ(m[1].name, "Form_受注");
    EXPECT_FALSE(m[1].procedural);
    EXPECT_EQ(m[1].source, "Option Compare Database");
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
        {changed([](StorageNode& v) { v.children[0].data[0] = 0; }), "識別バイト"},
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
    for (const auto& [vba, expected] : cases) {
        std::string description;
        EXPECT_EQ(VbaError([&] { ReadVbaProject(vba); }, &description), err::kVbaProjectDamaged);
        EXPECT_NE(description.find(expected), std::string::npos) << description;
    }
    const std::string dir = info + Modules(modules, 2);
    for (std::size_t size = 1; size < dir.size(); ++size) {
        const StorageNode vba = withDir(dir.substr(0, size));
        EXPECT_EQ(VbaError([&] { ReadVbaProject(vba); }), err::kVbaProjectDamaged) << size;
    }
}

std::optional<StorageNode> RealVbaStorage(const char* file) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        return std::nullopt;
    const StorageNode root = access::ReadAccessProject(jet::JetFile(*data / "mdb" / file));
    const StorageNode* vba = root.find("VBA/VBAProject/VBA");
    if (!vba)
        throw std::runtime_error(std::string("no VBA/VBAProject/VBA in ") + file);
    return *vba;
}

TEST(VbaProjectRealFiles, EveryModuleDecodesToReadableText) {
    struct Real {
        const char* file;
        int codePage;
        std::size_t standard, other;
        std::vector<std::string> classes;
    };
    const Real reals[] = {{"northwind-ja.mdb", 932, 2, 19, {}},
                          {"northwind-en.mdb", 1252, 2, 12, {}},
                          {"ailtonz-Matriz.mdb", 1252, 8, 8, {"cDIBSection", "clsCommonDialog"}},
                          {"ailtonz-CodBarra39Etiquetas_2003.mdb", 1252, 3, 2, {}}};
    for (const auto& real : reals) {
        const auto vba = RealVbaStorage(real.file);
        if (!vba)
            GTEST_SKIP() << "../shared/testdata is absent";
        const VbaProjectInfo info = ReadVbaProject(*vba);
        EXPECT_EQ(info.codePage, real.codePage) << real.file;
        std::size_t standard = 0;
        for (const auto& m : info.modules) {
            SCOPED_TRACE(std::string(real.file) + " " + m.name);
            standard += m.procedural;
            const bool isClass = std::ranges::find(real.classes, m.name) != real.classes.end();
            EXPECT_EQ(m.procedural,
                      !isClass && !m.name.starts_with("Form_") && !m.name.starts_with("Report_"));
            EXPECT_NE(m.source.find("Option Compare Database"), std::string::npos);
            EXPECT_EQ(zanfor::util::DecodeCodePage(m.source, 65001), m.source);
            for (std::string_view bad :
                 {std::string_view("\xEF\xBF\xBD"), std::string_view("Attribute VB_"),
                  std::string_view("\0", 1)}) {
                EXPECT_EQ(m.source.find(bad), std::string::npos);
            }
            for (std::size_t i = 0; i < m.source.size(); ++i) {
                const bool pairedCr = m.source[i] == '\r' && m.source[i + 1] == '\n';
                const bool pairedLf = m.source[i] == '\n' && i > 0 && m.source[i - 1] == '\r';
                if ((m.source[i] == '\r' && !pairedCr) || (m.source[i] == '\n' && !pairedLf)) {
                    ADD_FAILURE() << "lone line end at " << i;
                }
            }
        }
        EXPECT_EQ(standard, real.standard) << real.file;
        EXPECT_EQ(info.modules.size() - standard, real.other) << real.file;
    }
}

TEST(VbaProjectRealFiles, JapaneseTextSurvivesCodePage932) {
    const auto vba = RealVbaStorage("northwind-ja.mdb");
    if (!vba)
        GTEST_SKIP() << "../shared/testdata is absent";
    std::map<std::string, access::VbaModuleInfo> modules;
    for (auto& m : ReadVbaProject(*vba).modules)
        modules[m.name] = m;
    EXPECT_NE(modules["ユーティリティ関数"].source.find(
                  "' 指定したフォームがフォーム ビューまたはデータシート ビューで開かれている場合 "
                  "True を返します。\r\n"),
              std::string::npos);
    EXPECT_NE(modules["スタートアップ"].source.find(
                  "' このモジュールの関数は [スタートアップ]フォームで"),
              std::string::npos);
    EXPECT_TRUE(modules.contains("Form_社員") && modules.contains("Report_納品書"));
}

std::string Mutate(std::string bytes, std::mt19937& rng) {
    for (int m = 1 + static_cast<int>(rng() % 4); m > 0 && !bytes.empty(); --m) {
        const std::size_t at = rng() % bytes.size();
        const unsigned kind = rng() % 6;
        if (kind == 0)
            bytes.resize(at);
        if (kind == 1)
            bytes.insert(at, std::string(1 + rng() % 8, static_cast<char>(rng())));
        if (kind == 2)
            bytes[at] = static_cast<char>(bytes[at] ^ 1 << rng() % 8);
        if (kind > 2)
            bytes[at] = static_cast<char>(rng() % 4 == 0 ? 0xFF : rng());
    }
    return bytes;
}

TEST(VbaProjectFuzz, MutatedContainersAndProjectsNeverCrashOrOverAllocate) {
    std::vector<StorageNode> projects = {VbaStorage(JapaneseModules())};
    if (auto real = RealVbaStorage("northwind-ja.mdb"))
        projects.push_back(std::move(*real));
    std::vector<std::string> containers = {
        kNormalExample, "\x01" + RawChunk(Pattern(4096)) + Chunk({Pattern(300), 0x8007}),
        Literal(Pattern(5000)), projects.back().children[0].data};
    for (const auto& m : ReadVbaProject(projects.back()).modules) {
        const std::string& stream = projects.back().child(m.streamName)->data;
        if (containers.size() < 10)
            containers.push_back(stream.substr(m.textOffset));
    }
    std::mt19937 rng(7);
    int errors = 0, reads = 0;
    auto run = [&](const std::function<std::size_t()>& read, std::size_t limit) {
        try {
            EXPECT_LE(read(), limit);
            ++reads;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kVbaProjectDamaged);
            ++errors;
        }
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = Mutate(containers[round % containers.size()], rng);
        // Each chunk takes at least 3 bytes and gives at most 4096.
        run([&] { return DecompressVba(bytes).size(); }, bytes.size() / 3 * 4096);
    }
    for (int round = 0; round < 2000; ++round) {
        // The real project is large; it takes one round in eight.
        StorageNode vba = projects[round % 8 == 0 ? projects.size() - 1 : 0];
        StorageNode& target =
            rng() % 2 ? vba.children[0] : vba.children[rng() % vba.children.size()];
        // The dir records are mostly mutated decompressed and re-wrapped, to reach the parser.
        const bool records = target.name == "dir" && rng() % 4 != 0;
        target.data =
            records ? Literal(Mutate(DecompressVba(target.data), rng)) : Mutate(target.data, rng);
        run([&] { return ReadVbaProject(vba).modules.size(); }, 0xFFFF);
    }
    EXPECT_GT(errors, 1000);
    EXPECT_GT(reads, 500);
}

}  // namespace

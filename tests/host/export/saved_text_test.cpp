#include "host/export/saved_text.h"

#include <gtest/gtest.h>

#include <string>

#include "host/export/expect_error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
using Kind = SavedValue::Kind;

TEST(ExportSavedText, readsEachValueFormAccessWrites) {
    // The text, and the bytes of a binary value's hex lines.
    const std::tuple<std::string, Kind, std::string, std::string> cases[] = {
        {"ForeColor =-2147483607", Kind::Number, "-2147483607", ""},
        {"PopUp = NotDefault", Kind::NotDefault, "", ""},
        {R"(Caption ="a \"b\" c\\d = e")", Kind::Text, "a \"b\" c\\d = e", ""},
        {R"(SQL ="SELECT 1\015\012FROM T")", Kind::Text, "SELECT 1\r\nFROM T", ""},
        {"RecordSource =\"SELECT a, b\"\n    \" FROM T\"\n    \";\"", Kind::Text,
         "SELECT a, b FROM T;", ""},
        {"PrtMip = Begin\n    0x6801 ,\n    0x0100\nEnd", Kind::Binary, "",
         std::string("h\x01\x01\0", 4)},
        {"UnknownProp = {305 ,452 ,1 ,1 ,1 } Begin\n    0xff\nEnd", Kind::Binary, "", "\xFF"},
        {"OnClickEmMacro = Begin\n    Version =196611\n    Begin\n        Action =\"Beep\"\n"
         "    End\nEnd",
         Kind::Binary, "", ""},
        {"GUID = Begin\n    0x12 ,\n    0x3g\nEnd", Kind::Binary, "", ""},
    };
    for (const auto& [text, kind, value, bytes] : cases) {
        const auto t = ParseSavedText(text, "case.bas");
        ASSERT_EQ(t.root.properties.size(), 1u) << text;
        EXPECT_EQ(t.root.properties[0].value.kind, kind) << text;
        EXPECT_EQ(t.root.properties[0].value.text, value) << text;
        EXPECT_EQ(t.root.properties[0].value.bytes, bytes) << text;
        EXPECT_EQ(t.root.properties[0].line, 1) << text;
    }
}

TEST(ExportSavedText, keepsBlocksNestedAndCodeBehindFormVerbatim) {
    const auto t = ParseSavedText(
        "\uFEFFVersion =20\r\nBegin Form\r\n    Caption =\"F\"\r\n    Left =1\r\n    Left =2\r\n"
        "\r\n    Begin\r\n        Begin Section\r\n            Name =\"Detail\"\r\n        End\r\n"
        "    End\r\nEnd\r\nCodeBehindForm\r\nOption Explicit\r\nBegin \"not parsed\"\r\n",
        "f.bas");
    ASSERT_EQ(t.root.children.size(), 1u);
    const auto& form = t.root.children[0];
    EXPECT_EQ(form.kind + " " + std::to_string(form.line) + " " + form.text("caption"), "Form 2 F");
    // Of repeated names the last counts.
    EXPECT_EQ(form.find("LEFT")->value.text, "2");
    EXPECT_EQ(form.children.at(0).kind, "");
    EXPECT_EQ(form.children[0].children.at(0).text("Name"), "Detail");
    EXPECT_EQ(t.code.value_or("none"), "Option Explicit\r\nBegin \"not parsed\"");
}

TEST(ExportSavedText, malformedTextNamesTheFileAndLine) {
    const std::pair<std::string, int> cases[] = {
        {"Begin Form\n    Caption =\"open\nEnd", 2},
        {"Caption =\"a\"\n    \"b", 2},
        {"Caption =\"a\" junk", 1},
        {"Width =1\nEnd", 2},
        {"Version =20\nBegin Form\n    Begin Label\n    End\n", 2},
        {"Begin Form\n    PrtMip = Begin\n        0x00\n", 2},
        {"Begin Form\n    just words\nEnd", 2},
        {"Begin Form\nCodeBehindForm\nEnd", 2},
        // Nesting no design has.
        {[] {
             std::string deep;
             for (int i = 0; i < 5000; ++i)
                 deep += "Begin Label\n";
             return deep;
         }(),
         101},
    };
    for (const auto& [text, line] : cases)
        zanfor::test::ExpectError([&] { ParseSavedText(text, "/x/forms/受注.bas"); },
                                  err::kExportMalformed,
                                  "/x/forms/受注.bas' の " + std::to_string(line) + " 行目");
}

TEST(ExportSavedText, readsExportFilesInTheirEncoding) {
    zanfor::test::TempDir dir;
    const std::tuple<std::string, int, std::string> cases[] = {
        {"\uFEFFC =\"受注\"", 932, "C =\"受注\""},
        {"C =\"受注\"", 1251, "C =\"受注\""},
        {zanfor::util::Utf8ToCp932("C =\"ソ表\""), 932, "C =\"ソ表\""},
        // A Russian character set named in the file.
        {"TabularCharSet =204\nC =\"\xEF\xE5\xF0\"", 932, "TabularCharSet =204\nC =\"пер\""},
        // A Japanese set wins over others.
        {"FontCharSet =204\nFontCharSet =128\n" + zanfor::util::Utf8ToCp932("C =\"表\""), 1251,
         "FontCharSet =204\nFontCharSet =128\nC =\"表\""},
        // No hint: the folder's code page.
        {"C =\"\xEF\xE5\xF0\"", 1251, "C =\"пер\""},
        // A character beyond the BMP as two halves.
        {"\uFEFFC =\"\xED\xA0\xBD\xED\xB7\xA9\"", 932, "C =\"🗩\""},
    };
    for (const auto& [bytes, codePage, text] : cases) {
        zanfor::util::WriteFileAtomically(dir / "f.bas", bytes);
        EXPECT_EQ(ReadExportFile(dir / "f.bas", codePage), text);
    }
    zanfor::test::ExpectError([&] { ReadExportFile(dir / "missing.bas"); }, err::kFileNotFound,
                              "missing.bas");
}

}  // namespace

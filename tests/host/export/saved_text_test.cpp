#include "host/export/saved_text.h"

#include <gtest/gtest.h>

#include <string>

#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
using Kind = SavedValue::Kind;

const SavedProperty& onlyProperty(const SavedText& t) {
    EXPECT_EQ(t.root.properties.size(), 1u);
    return t.root.properties.at(0);
}

TEST(ExportSavedText, readsEachValueFormAccessWrites) {
    struct Case {
        const char* name;
        std::string text;
        Kind kind;
        std::string value;
    };
    const Case cases[] = {
        {"number", "Width =7860", Kind::Number, "7860"},
        {"negative number", "ForeColor =-2147483607", Kind::Number, "-2147483607"},
        {"decimal", "AlternateBackShade =95.0", Kind::Number, "95.0"},
        {"not default", "PopUp = NotDefault", Kind::NotDefault, ""},
        {"empty string", "Caption =\"\"", Kind::Text, ""},
        {"escaped quote and backslash", R"(Caption ="a \"b\" c\\d")", Kind::Text, "a \"b\" c\\d"},
        {"octal line ends", R"(SQL ="SELECT 1\015\012FROM T")", Kind::Text, "SELECT 1\r\nFROM T"},
        {"continued over lines", "RecordSource =\"SELECT a, b\"\n    \" FROM T\"\n    \";\"",
         Kind::Text, "SELECT a, b FROM T;"},
        {"a string may contain \" =\"", "Caption =\"x = y\"", Kind::Text, "x = y"},
        {"Japanese text", "Caption =\"受注 入力\"", Kind::Text, "受注 入力"},
        {"hex block", "PrtMip = Begin\n    0x6801 ,\n    0x0100\nEnd", Kind::Binary, ""},
        {"described block", "UnknownProp = {305 ,452 ,1 ,1 ,1 } Begin\n    0x00\nEnd", Kind::Binary,
         ""},
        {"embedded macro",
         "OnClickEmMacro = Begin\n    Version =196611\n    Begin\n"
         "        Action =\"Beep\"\n    End\nEnd",
         Kind::Binary, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto t = ParseSavedText(c.text, "case.bas");
        const auto& p = onlyProperty(t);
        EXPECT_EQ(p.value.kind, c.kind);
        EXPECT_EQ(p.value.text, c.value);
        EXPECT_EQ(p.line, 1);
    }
}

TEST(ExportSavedText, keepsBlocksNestedAndCodeBehindFormVerbatim) {
    const std::string text =
        "\xEF\xBB\xBFVersion =20\r\n"
        "Begin Form\r\n"
        "    Caption =\"F\"\r\n"
        "\r\n"
        "    Begin\r\n"
        "        Begin Section\r\n"
        "            Name =\"Detail\"\r\n"
        "        End\r\n"
        "    End\r\n"
        "End\r\n"
        "CodeBehindForm\r\n"
        "Option Explicit\r\n"
        "Begin \"not parsed\"\r\n";
    const auto t = ParseSavedText(text, "f.bas");
    ASSERT_EQ(t.root.children.size(), 1u);
    const auto& form = t.root.children[0];
    EXPECT_EQ(form.kind, "Form");
    EXPECT_EQ(form.line, 2);
    EXPECT_EQ(form.text("caption"), "F");
    ASSERT_EQ(form.children.size(), 1u);
    EXPECT_EQ(form.children[0].kind, "");
    EXPECT_EQ(form.children[0].children.at(0).text("Name"), "Detail");
    ASSERT_TRUE(t.code);
    EXPECT_EQ(*t.code, "Option Explicit\r\nBegin \"not parsed\"");
}

TEST(ExportSavedText, readsTypedQueryProperties) {
    const auto t = ParseSavedText(
        "dbMemo \"SQL\" =\"SELECT *\\015\\012\"\n    \"FROM T;\"\ndbBoolean \"ReturnsRecords\" "
        "=\"-1\"\nBegin\n    Begin\n        dbText \"Name\" =\"T.a\"\n    End\nEnd",
        "q.bas");
    ASSERT_EQ(t.root.properties.size(), 2u);
    EXPECT_EQ(t.root.properties[0].type, "dbMemo");
    EXPECT_EQ(t.root.properties[0].name, "SQL");
    EXPECT_EQ(t.root.properties[0].value.text, "SELECT *\r\nFROM T;");
    EXPECT_EQ(t.root.properties[1].type, "dbBoolean");
    EXPECT_EQ(t.root.properties[1].value.text, "-1");
    EXPECT_EQ(t.root.children.at(0).children.at(0).text("Name"), "T.a");
}

TEST(ExportSavedText, findTakesTheLastOfRepeatedNames) {
    const auto t = ParseSavedText("Left =1\nLeft =2", "x.bas");
    EXPECT_EQ(t.root.find("LEFT")->value.text, "2");
    EXPECT_EQ(t.root.find("Right"), nullptr);
    EXPECT_EQ(t.root.text("Right", "none"), "none");
}

TEST(ExportSavedText, malformedTextNamesTheFileAndLine) {
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"unclosed quote", "Begin Form\n    Caption =\"open\nEnd", 2},
        {"unclosed continuation", "Caption =\"a\"\n    \"b", 2},
        {"text after the quote", "Caption =\"a\" junk", 1},
        {"End without Begin", "Width =1\nEnd", 2},
        {"Begin never closed", "Version =20\nBegin Form\n    Begin Label\n    End\n", 2},
        {"hex block never closed", "Begin Form\n    PrtMip = Begin\n        0x00\n", 2},
        {"line that is no property", "Begin Form\n    just words\nEnd", 2},
        {"property without a name", "Begin Form\n     =5\nEnd", 2},
        {"code inside a block", "Begin Form\nCodeBehindForm\nEnd", 2},
        {"nesting no design has",
         [] {
             std::string deep;
             for (int i = 0; i < 5000; ++i)
                 deep += "Begin Label\n";
             return deep;
         }(),
         101},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ParseSavedText(c.text, "/x/forms/受注.bas");
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kExportMalformed);
            EXPECT_NE(e.description().find("/x/forms/受注.bas"), std::string::npos);
            EXPECT_NE(e.description().find(" " + std::to_string(c.line) + " 行目"),
                      std::string::npos)
                << e.description();
        }
    }
}

TEST(ExportSavedText, readsExportFilesInTheirEncoding) {
    zanfor::test::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        int folderCodePage;
        std::string text;
    };
    const Case cases[] = {
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "Caption =\"受注\"",
         932, "Caption =\"受注\""},
        {"UTF-8 without BOM", "Caption =\"受注\"", 1251, "Caption =\"受注\""},
        {"CP932", zanfor::util::Utf8ToCp932("Caption =\"ソ表\""), 932, "Caption =\"ソ表\""},
        {"a Russian character set named in the file",
         "TabularCharSet =204\nCaption =\"\xEF\xE5\xF0\xE2\xFB\xE9\"", 932,
         "TabularCharSet =204\nCaption =\"первый\""},
        {"a Japanese set wins over others",
         "FontCharSet =204\nFontCharSet =128\n" + zanfor::util::Utf8ToCp932("C =\"表\""), 1251,
         "FontCharSet =204\nFontCharSet =128\nC =\"表\""},
        {"no hint: the folder's code page", "Comment =\"\xEF\xE5\xF0\"", 1251, "Comment =\"пер\""},
        {"a character beyond the BMP as two halves",
         "\xEF\xBB\xBF"
         "Caption =\"\xED\xA0\xBD\xED\xB7\xA9\"",
         932, "Caption =\"🗩\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = dir / "f.bas";
        zanfor::util::WriteFileAtomically(file, c.bytes);
        EXPECT_EQ(ReadExportFile(file, c.folderCodePage), c.text);
    }
    try {
        ReadExportFile(dir / "missing.bas");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kFileNotFound);
        EXPECT_NE(e.description().find("missing.bas"), std::string::npos);
    }
}

}  // namespace

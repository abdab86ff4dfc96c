#include "host/export/table_text.h"

#include <gtest/gtest.h>

#include "host/export/expect_error.h"
#include "host/export/saved_text.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

// "name type size attributes[ required]; " per field.
std::string fieldsOf(const dao::TableDef& t) {
    std::string out;
    for (const auto& f : t.fields)
        out += f.name + " " + std::to_string(f.type) + " " + std::to_string(f.size) + " " +
               std::to_string(f.attributes) + (f.required ? " required" : "") + "; ";
    return out;
}

// "name(flags): field[ DESC], ...; " per index; flags P primary, U unique, F foreign,
// R required, I ignore nulls.
std::string indexesOf(const dao::TableDef& t) {
    std::string out;
    for (const auto& ix : t.indexes) {
        out += ix.name + "(" + (ix.primary ? "P" : "") + (ix.unique ? "U" : "") +
               (ix.foreign ? "F" : "") + (ix.required ? "R" : "") + (ix.ignoreNulls ? "I" : "") +
               "):";
        for (const auto& f : ix.fields)
            out += " " + f.name + (f.descending ? " DESC" : "");
        out += "; ";
    }
    return out;
}

TEST(ExportTableText, readsTheDdlOfATable) {
    const auto t = ReadTableSql(R"(CREATE TABLE [受注 明細] (
  [ID] AUTOINCREMENT CONSTRAINT [PrimaryKey] PRIMARY KEY  UNIQUE  NOT NULL ,
  [顧客ID] VARCHAR (50) CONSTRAINT [顧客受注] REFERENCES [顧客] ([顧客ID]) ON UPDATE CASCADE ,
  [メモ] LONGTEXT ,
  [数量] SHORT NOT NULL,
  [日付] DATETIME,
  [写真] LONGBINARY,
  [区分] VARCHAR,
   CONSTRAINT
)
CREATE UNIQUE INDEX [ix日付] ON [受注 明細] ([日付] DESC, [数量]) WITH IGNORE NULL;
)",
                                "t.sql");
    EXPECT_EQ(t.name, "受注 明細");
    EXPECT_EQ(fieldsOf(t),
              "ID 4 4 17 required; 顧客ID 10 50 2; メモ 12 0 2; 数量 3 2 1 required; 日付 8 8 1; "
              "写真 11 0 2; 区分 10 255 2; ");
    EXPECT_EQ(indexesOf(t),
              "PrimaryKey(PUR): ID; 顧客受注(F): 顧客ID; ix日付(UI): 日付 DESC 数量; ");
    const auto key = ReadTableSql(
        "CREATE TABLE [T] (\n  [a] LONG,\n  [b] TEXT(10),\n   CONSTRAINT [PrimaryKey] PRIMARY KEY "
        "([a], [b])\n)",
        "t.sql");
    EXPECT_EQ(indexesOf(key), "PrimaryKey(PUR): a b; ");
}

TEST(ExportTableText, ddlThatIsNotJetsIsAnErrorWithItsLine) {
    const std::pair<const char*, int> cases[] = {
        {"CREATE TABLE [T] (\n  [a] LONG,\n  [b] SPREADSHEET\n)", 3},
        {"CREATE VIEW V AS SELECT 1", 1},
        {"CREATE TABLE [T (\n  [a] LONG\n)", 1},
        {"CREATE TABLE [T] (\n  [a] LONG\n", 2},
    };
    for (const auto& [ddl, line] : cases)
        zanfor::test::ExpectError([&] { ReadTableSql(ddl, "t.sql"); }, err::kExportMalformed,
                                  "t.sql' の " + std::to_string(line) + " 行目");
}

TEST(ExportTableText, readsAccessXmlSchema) {
    const auto schema = ParseXml(R"(<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema">
<xsd:element name="dataroot"><xsd:complexType><xsd:sequence>
<xsd:element ref="顧客" minOccurs="0" maxOccurs="unbounded"/></xsd:sequence></xsd:complexType></xsd:element>
<xsd:element name="顧客"><xsd:annotation><xsd:appinfo>
<od:index index-name="PrimaryKey" index-key="ID " primary="yes" unique="yes" order="asc"/>
<od:index index-name="Name&amp;Kana" index-key="A_x0026_B 読み " primary="no" unique="no" order="asc desc"/>
<od:tableProperty name="Description" type="10" value="得意先の一覧"/>
</xsd:appinfo></xsd:annotation><xsd:complexType><xsd:sequence>
<xsd:element name="ID" minOccurs="1" od:jetType="autonumber" od:autoUnique="yes" od:nonNullable="yes" type="xsd:int"/>
<xsd:element name="A_x0026_B" minOccurs="0" od:jetType="text"><xsd:annotation><xsd:appinfo>
<od:fieldProperty name="AllowZeroLength" type="1" value="1"/>
<od:fieldProperty name="DefaultValue" type="12" value="&quot;未定&quot;"/></xsd:appinfo></xsd:annotation>
<xsd:simpleType><xsd:restriction base="xsd:string"><xsd:maxLength value="40"/></xsd:restriction></xsd:simpleType>
</xsd:element>
<xsd:element name="読み" minOccurs="0" od:jetType="memo"/>
<xsd:element name="URL" minOccurs="0" od:jetType="hyperlink"/>
<xsd:element name="添付" minOccurs="0" od:jetType="complex"/>
</xsd:sequence></xsd:complexType></xsd:element></xsd:schema>)",
                                 "t.xml");
    const auto t = ReadTableXml(schema, "t.xml");
    EXPECT_EQ(t.name, "顧客");
    EXPECT_EQ(t.properties.get("Description"), Value("得意先の一覧"));
    EXPECT_EQ(fieldsOf(t),
              "ID 4 4 17 required; A&B 10 40 2; 読み 12 0 2; URL 12 0 32770; 添付 101 0 1; ");
    EXPECT_TRUE(t.fields[1].allowZeroLength);
    EXPECT_EQ(t.fields[1].defaultValue, "\"未定\"");
    EXPECT_EQ(indexesOf(t), "PrimaryKey(PUR): ID; Name&Kana(): A&B 読み DESC; ");
}

TEST(ExportTableText, readsLinkedTables) {
    const auto json = ReadTableLinkJson(ParseJson(R"({"Items": {"Name": "tblLinked",
        "Connect": ";DATABASE=rel:Other.accdb", "SourceTableName": "tblSource",
        "Attributes": 1073741824, "PrimaryKey": "[ID], [Kind]",
        "Properties": {"Description": {"Type": 10, "Value": "リンク"}}}})",
                                                  "l.json"),
                                        "l.json");
    EXPECT_EQ(json.name + "|" + json.connect + "|" + json.sourceTableName + "|" +
                  std::to_string(json.attributes) + "|" + std::to_string(json.fields.size()),
              "tblLinked|;DATABASE=rel:Other.accdb|tblSource|1073741824|0");
    EXPECT_FALSE(json.problem.empty());
    EXPECT_EQ(json.properties.get("Description"), Value("リンク"));
    EXPECT_EQ(indexesOf(json).substr(indexesOf(json).find(':')), ": ID Kind; ");

    const auto text = ReadTableLinkText(
        "\xEF\xBB\xBFtbl顧客\r\nODBC;DSN=sales;DATABASE=s\r\ndbo.顧客\r\n顧客ID\r\n", "t.LNKD");
    EXPECT_EQ(text.name + "|" + text.sourceTableName + "|" + std::to_string(text.attributes),
              "tbl顧客|dbo.顧客|" + std::to_string(dao::dbAttachedODBC));
    EXPECT_EQ(indexesOf(text).substr(indexesOf(text).find(':')), ": 顧客ID; ");

    EXPECT_THROW(ReadTableLinkText("only a name\n", "t.LNKD"), Error);
    EXPECT_THROW(ReadTableLinkJson(ParseJson(R"({"Items": {}})", "l.json"), "l.json"), Error);
}

TEST(ExportTableText, enforcedRelationshipsMarkTheForeignSide) {
    std::vector<dao::TableDef> tables(3);
    for (std::size_t i = 0; i < 3; ++i)
        tables[i].name = std::vector<std::string>{"顧客", "受注", "明細"}[i];
    tables[2].indexes.emplace_back().name = "受注明細";

    const Relation enforced =
        ReadRelationText("256\n顧客受注\n顧客\n受注\nField = Begin\nID\n顧客ID\nEnd\n", "r.txt");
    ApplyRelation(enforced, tables);
    EXPECT_EQ(indexesOf(tables[1]), "顧客受注(F): 顧客ID; ");

    const Relation notEnforced =
        ReadRelationJson(ParseJson(R"({"Items": {"Name": "x", "Attributes": 2, "Table": "顧客",
            "ForeignTable": "明細", "Fields": [{"Name": "ID", "ForeignName": "顧客ID"}]}})",
                                   "r.json"),
                         "r.json");
    ApplyRelation(notEnforced, tables);
    EXPECT_EQ(tables[2].indexes.size(), 1u);
    // A relationship named as an existing index marks that index.
    Relation again = enforced;
    again.name = "受注明細";
    again.foreignTable = "明細";
    ApplyRelation(again, tables);
    EXPECT_EQ(indexesOf(tables[2]), "受注明細(F):; ");

    EXPECT_THROW(ReadRelationText("many\nname\nT\nU\n", "r.txt"), Error);
}

}  // namespace

#include "host/export/table_text.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/export/saved_text.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

struct FieldRow {
    const char* name;
    int type;
    std::int32_t size;
    std::int32_t attributes;
    bool required;
};

void expectFields(const dao::TableDef& t, std::initializer_list<FieldRow> rows) {
    ASSERT_EQ(t.fields.size(), rows.size());
    std::size_t i = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto& f = t.fields[i++];
        EXPECT_EQ(f.name, r.name);
        EXPECT_EQ(f.type, r.type);
        EXPECT_EQ(f.size, r.size);
        EXPECT_EQ(f.attributes, r.attributes);
        EXPECT_EQ(f.required, r.required);
    }
}

std::vector<std::string> fieldsOf(const dao::Index& ix) {
    std::vector<std::string> names;
    for (const auto& f : ix.fields)
        names.push_back(f.name + (f.descending ? " DESC" : ""));
    return names;
}

TEST(ExportTableText, readsTheDdlOfATable) {
    const auto t = ReadTableSql(R"SAT(CREATE TABLE [受注 明細] (
  [ID] AUTOINCREMENT CONSTRAINT [PrimaryKey] PRIMARY KEY  UNIQUE  NOT NULL ,
  [顧客ID] VARCHAR (50) CONSTRAINT [顧客受注] REFERENCES [顧客] ([顧客ID]) ON UPDATE CASCADE ,
  [メモ] LONGTEXT ,
  [数量] SHORT NOT NULL,
  [単価] CURRENCY,
  [済] BIT,
  [日付] DATETIME,
  [写真] LONGBINARY,
  [区分] VARCHAR,
   CONSTRAINT
)
CREATE UNIQUE INDEX [ix日付] ON [受注 明細] ([日付] DESC, [数量]) WITH IGNORE NULL;
)SAT",
                                "t.sql");
    EXPECT_EQ(t.name, "受注 明細");
    expectFields(t, {
                        {"ID", dao::dbLong, 4, 17, true},
                        {"顧客ID", dao::dbText, 50, 2, false},
                        {"メモ", dao::dbMemo, 0, 2, false},
                        {"数量", dao::dbInteger, 2, 1, true},
                        {"単価", dao::dbCurrency, 8, 1, false},
                        {"済", dao::dbBoolean, 1, 1, false},
                        {"日付", dao::dbDate, 8, 1, false},
                        {"写真", dao::dbLongBinary, 0, 2, false},
                        {"区分", dao::dbText, 255, 2, false},
                    });
    ASSERT_EQ(t.indexes.size(), 3u);
    EXPECT_EQ(t.indexes[0].name, "PrimaryKey");
    EXPECT_TRUE(t.indexes[0].primary);
    EXPECT_TRUE(t.indexes[0].required);
    EXPECT_EQ(t.indexes[1].name, "顧客受注");
    EXPECT_TRUE(t.indexes[1].foreign);
    EXPECT_FALSE(t.indexes[1].unique);
    EXPECT_EQ(t.indexes[2].name, "ix日付");
    EXPECT_TRUE(t.indexes[2].unique);
    EXPECT_TRUE(t.indexes[2].ignoreNulls);
    EXPECT_EQ(fieldsOf(t.indexes[2]), (std::vector<std::string>{"日付 DESC", "数量"}));
}

TEST(ExportTableText, readsATableConstraintKey) {
    const auto t = ReadTableSql(
        "CREATE TABLE [T] (\n  [a] LONG,\n  [b] TEXT(10),\n   CONSTRAINT [PrimaryKey] PRIMARY KEY "
        "([a], [b])\n)",
        "t.sql");
    ASSERT_EQ(t.indexes.size(), 1u);
    EXPECT_EQ(fieldsOf(t.indexes[0]), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(t.fields[1].size, 10);
}

TEST(ExportTableText, ddlThatIsNotJetsIsAnErrorWithItsLine) {
    struct Case {
        const char* ddl;
        int line;
    };
    const Case cases[] = {
        {"CREATE TABLE [T] (\n  [a] LONG,\n  [b] SPREADSHEET\n)", 3},
        {"CREATE VIEW V AS SELECT 1", 1},
        {"CREATE TABLE [T (\n  [a] LONG\n)", 1},
        {"CREATE TABLE [T] (\n  [a] LONG\n", 2},
        {"CREATE TABLE [T] (\n  [a] LONG,\n  ] SHORT\n)", 3},
    };
    for (const auto& c : cases) {
        try {
            ReadTableSql(c.ddl, "t.sql");
            ADD_FAILURE() << "no error for " << c.ddl;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kExportMalformed);
            EXPECT_NE(e.description().find(" " + std::to_string(c.line) + " 行目"),
                      std::string::npos)
                << e.description();
        }
    }
}

TEST(ExportTableText, readsAccessXmlSchema) {
    const auto schema = ParseXml(R"SAT(<?xml version="1.0"?>
<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:od="urn:schemas-microsoft-com:officedata">
<xsd:element name="dataroot"><xsd:complexType><xsd:sequence>
<xsd:element ref="顧客" minOccurs="0" maxOccurs="unbounded"/></xsd:sequence></xsd:complexType></xsd:element>
<xsd:element name="顧客">
<xsd:annotation><xsd:appinfo>
<od:index index-name="PrimaryKey" index-key="ID " primary="yes" unique="yes" clustered="no" order="asc"></od:index>
<od:index index-name="Name&amp;Kana" index-key="A_x0026_B 読み " primary="no" unique="no" clustered="no" order="asc desc"></od:index>
<od:tableProperty name="Description" type="10" value="得意先の一覧"></od:tableProperty>
</xsd:appinfo></xsd:annotation>
<xsd:complexType><xsd:sequence>
<xsd:element name="ID" minOccurs="1" od:jetType="autonumber" od:sqlSType="int" od:autoUnique="yes" od:nonNullable="yes" type="xsd:int"/>
<xsd:element name="A_x0026_B" minOccurs="0" od:jetType="text" od:sqlSType="nvarchar">
<xsd:annotation><xsd:appinfo>
<od:fieldProperty name="AllowZeroLength" type="1" value="1"/>
<od:fieldProperty name="Description" type="10" value="社名"/>
<od:fieldProperty name="DefaultValue" type="12" value="&quot;未定&quot;"/>
</xsd:appinfo></xsd:annotation>
<xsd:simpleType><xsd:restriction base="xsd:string"><xsd:maxLength value="40"/></xsd:restriction></xsd:simpleType>
</xsd:element>
<xsd:element name="読み" minOccurs="0" od:jetType="memo" od:sqlSType="ntext"/>
<xsd:element name="URL" minOccurs="0" od:jetType="hyperlink" od:sqlSType="ntext"/>
<xsd:element name="添付" minOccurs="0" od:jetType="complex" od:jetComplexType="MSysComplexType_Attachment"/>
</xsd:sequence></xsd:complexType>
</xsd:element>
</xsd:schema>)SAT",
                                 "t.xml");
    const auto t = ReadTableXml(schema, "t.xml");
    EXPECT_EQ(t.name, "顧客");
    EXPECT_EQ(t.properties.get("Description"), Value("得意先の一覧"));
    expectFields(t, {
                        {"ID", dao::dbLong, 4, 17, true},
                        {"A&B", dao::dbText, 40, 2, false},
                        {"読み", dao::dbMemo, 0, 2, false},
                        {"URL", dao::dbMemo, 0, 32770, false},
                        {"添付", 101, 0, 1, false},
                    });
    EXPECT_TRUE(t.fields[1].allowZeroLength);
    EXPECT_EQ(t.fields[1].defaultValue, "\"未定\"");
    EXPECT_EQ(t.fields[1].properties.get("Description"), Value("社名"));
    ASSERT_EQ(t.indexes.size(), 2u);
    EXPECT_TRUE(t.indexes[0].primary);
    EXPECT_EQ(t.indexes[1].name, "Name&Kana");
    EXPECT_EQ(fieldsOf(t.indexes[1]), (std::vector<std::string>{"A&B", "読み DESC"}));
}

TEST(ExportTableText, readsLinkedTables) {
    const auto json = ReadTableLinkJson(
        ParseJson(R"SAT({"Info": {"Class": "clsDbTableDef"}, "Items": {"Name": "tblLinked",
        "Connect": ";DATABASE=rel:Other.accdb", "SourceTableName": "tblSource",
        "Attributes": 1073741824, "PrimaryKey": "[ID], [Kind]",
        "Properties": {"Description": {"Type": 10, "Value": "リンク"}}}})SAT",
                  "l.json"),
        "l.json");
    EXPECT_EQ(json.name, "tblLinked");
    EXPECT_EQ(json.connect, ";DATABASE=rel:Other.accdb");
    EXPECT_EQ(json.sourceTableName, "tblSource");
    EXPECT_EQ(json.attributes, dao::dbAttachedTable);
    EXPECT_TRUE(json.fields.empty());
    EXPECT_FALSE(json.problem.empty());
    EXPECT_EQ(json.properties.get("Description"), Value("リンク"));
    EXPECT_EQ(fieldsOf(json.indexes.at(0)), (std::vector<std::string>{"ID", "Kind"}));

    const auto text = ReadTableLinkText(
        "\xEF\xBB\xBFtbl顧客\r\nODBC;DSN=sales;DATABASE=s\r\ndbo.顧客\r\n顧客ID\r\n", "t.LNKD");
    EXPECT_EQ(text.name, "tbl顧客");
    EXPECT_EQ(text.attributes, dao::dbAttachedODBC);
    EXPECT_EQ(text.sourceTableName, "dbo.顧客");
    EXPECT_EQ(fieldsOf(text.indexes.at(0)), std::vector<std::string>{"顧客ID"});

    EXPECT_THROW(ReadTableLinkText("only a name\n", "t.LNKD"), Error);
    EXPECT_THROW(ReadTableLinkJson(ParseJson(R"SAT({"Items": {}})SAT", "l.json"), "l.json"), Error);
}

TEST(ExportTableText, enforcedRelationshipsMarkTheForeignSide) {
    std::vector<dao::TableDef> tables(3);
    tables[0].name = "顧客";
    tables[1].name = "受注";
    tables[2].name = "明細";
    dao::Index existing;
    existing.name = "受注明細";
    tables[2].indexes.push_back(existing);

    const Relation enforced =
        ReadRelationText("256\n顧客受注\n顧客\n受注\nField = Begin\nID\n顧客ID\nEnd\n", "r.txt");
    EXPECT_EQ(enforced.fields,
              (std::vector<std::pair<std::string, std::string>>{{"ID", "顧客ID"}}));
    ApplyRelation(enforced, tables);
    ASSERT_EQ(tables[1].indexes.size(), 1u);
    EXPECT_EQ(tables[1].indexes[0].name, "顧客受注");
    EXPECT_TRUE(tables[1].indexes[0].foreign);
    EXPECT_EQ(fieldsOf(tables[1].indexes[0]), std::vector<std::string>{"顧客ID"});

    const Relation notEnforced =
        ReadRelationJson(ParseJson(R"SAT({"Items": {"Name": "x", "Attributes": 2, "Table": "顧客",
            "ForeignTable": "明細", "Fields": [{"Name": "ID", "ForeignName": "顧客ID"}]}})SAT",
                                   "r.json"),
                         "r.json");
    ApplyRelation(notEnforced, tables);
    EXPECT_EQ(tables[2].indexes.size(), 1u);

    Relation again = enforced;
    again.name = "受注明細";
    again.foreignTable = "明細";
    ApplyRelation(again, tables);
    ASSERT_EQ(tables[2].indexes.size(), 1u);
    EXPECT_TRUE(tables[2].indexes[0].foreign);

    EXPECT_THROW(ReadRelationText("many\nname\nT\nU\n", "r.txt"), Error);
}

}  // namespace

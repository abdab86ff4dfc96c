#pragma once

// Jet's column types, each in one row: how many bytes a value takes in a row's fixed part and
// how DAO describes the column. Read by the row reader and by the DAO view of a table.

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "host/dao.h"

namespace zanfor::host::jet {

// Jet's column type codes.
enum JetType : int {
    kJetBool = 0x01,
    kJetByte = 0x02,
    kJetInt = 0x03,
    kJetLong = 0x04,
    kJetMoney = 0x05,
    kJetFloat = 0x06,
    kJetDouble = 0x07,
    kJetDateTime = 0x08,
    kJetBinary = 0x09,
    kJetText = 0x0a,
    kJetOle = 0x0b,
    kJetMemo = 0x0c,
    kJetGuid = 0x0f,
    kJetNumeric = 0x10,
    // Access 2007 and later (ACE) only.
    kJetComplex = 0x12,           // attachment or multi-value: the row holds the value's id
    kJetBigInt = 0x13,            // large number
    kJetExtendedDateTime = 0x14,  // date/time extended, stored as fixed-width text
};

// DAO's codes for the ACE types (DataTypeEnum), beside the Jet ones dao::FieldType names. A
// complex column's code is that of its type table (see ComplexDaoType).
inline constexpr int kDaoDateTimeExtended = 26;
inline constexpr int kDaoAttachment = 101;
inline constexpr int kDaoComplexByte = 102;
inline constexpr int kDaoComplexInteger = 103;
inline constexpr int kDaoComplexLong = 104;
inline constexpr int kDaoComplexSingle = 105;
inline constexpr int kDaoComplexDouble = 106;
inline constexpr int kDaoComplexGuid = 107;
inline constexpr int kDaoComplexDecimal = 108;
inline constexpr int kDaoComplexText = 109;

// Sizes the type leaves to the column: its length in bytes, or in characters (Jet 4 stores
// text as UCS-2, two bytes a character; Jet 3 one).
inline constexpr int kColumnBytes = -1;
inline constexpr int kColumnCharacters = -2;

struct JetColumnType {
    JetType type;
    dao::FieldType daoType;
    int rowBytes;  // 0 for a yes/no, which lives in the null mask
    int daoSize;   // DAO's Field.Size
};

inline constexpr auto kJetColumnTypes = std::to_array<JetColumnType>({
    {kJetBool, dao::dbBoolean, 0, 1},
    {kJetByte, dao::dbByte, 1, 1},
    {kJetInt, dao::dbInteger, 2, 2},
    {kJetLong, dao::dbLong, 4, 4},
    {kJetMoney, dao::dbCurrency, 8, 8},
    {kJetFloat, dao::dbSingle, 4, 4},
    {kJetDouble, dao::dbDouble, 8, 8},
    {kJetDateTime, dao::dbDate, 8, 8},
    {kJetBinary, dao::dbBinary, kColumnBytes, kColumnBytes},
    {kJetText, dao::dbText, kColumnBytes, kColumnCharacters},
    {kJetOle, dao::dbLongBinary, kColumnBytes, 0},
    {kJetMemo, dao::dbMemo, kColumnBytes, 0},
    {kJetGuid, dao::dbGUID, 16, 16},
    {kJetNumeric, dao::dbDecimal, 17, 16},
    {kJetComplex, static_cast<dao::FieldType>(kDaoAttachment), 4, 4},
    {kJetBigInt, dao::dbBigInt, 8, 8},
    {kJetExtendedDateTime, static_cast<dao::FieldType>(kDaoDateTimeExtended), 42, 42},
});

// The DAO code of a complex column from the name of its type table (MSysComplexType_<base>):
// attachment, or multi-value of the base type; 0 for any other (the version history of an
// append-only memo has a table of its own, MSysComplexTypeVH_<id>).
constexpr int ComplexDaoType(std::string_view typeTable) {
    constexpr std::pair<std::string_view, int> kTypes[] = {
        {"Attachment", kDaoAttachment},    {"UnsignedByte", kDaoComplexByte},
        {"Short", kDaoComplexInteger},     {"Long", kDaoComplexLong},
        {"IEEESingle", kDaoComplexSingle}, {"IEEEDouble", kDaoComplexDouble},
        {"GUID", kDaoComplexGuid},         {"Decimal", kDaoComplexDecimal},
        {"Text", kDaoComplexText},
    };
    constexpr std::string_view kPrefix = "MSysComplexType_";
    if (!typeTable.starts_with(kPrefix))
        return 0;
    for (const auto& [base, code] : kTypes) {
        if (typeTable.substr(kPrefix.size()) == base)
            return code;
    }
    return 0;
}

// nullptr for a code no row has.
constexpr const JetColumnType* FindJetColumnType(int type) {
    const auto* it = std::ranges::find(kJetColumnTypes, type, &JetColumnType::type);
    return it == kJetColumnTypes.end() ? nullptr : it;
}

}  // namespace zanfor::host::jet

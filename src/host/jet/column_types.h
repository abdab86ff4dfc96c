#pragma once

// Jet's column types, each in one row: how many bytes a value takes in a row's fixed part and
// how DAO describes the column. Read by the row reader and by the DAO view of a table.

#include <algorithm>
#include <array>

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
};

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
});

// nullptr for a code no row has.
constexpr const JetColumnType* FindJetColumnType(int type) {
    const auto* it = std::ranges::find(kJetColumnTypes, type, &JetColumnType::type);
    return it == kJetColumnTypes.end() ? nullptr : it;
}

}  // namespace zanfor::host::jet

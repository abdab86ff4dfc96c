#include "host/access/macro_sheet.h"

#include <array>
#include <cstdint>

#include "host/access/design_stream.h"
#include "util/encoding.h"

namespace zanfor::host::access {

namespace {

constexpr std::size_t kVersionAt = 0x20;
constexpr std::size_t kSlots = 14;
constexpr std::size_t kCommentSlot = 1;
constexpr std::size_t kConditionSlot = 2;
constexpr std::size_t kMacroNameSlot = 3;
constexpr std::size_t kFirstArgumentSlot = 4;
constexpr std::uint16_t kNoString = 0xFFFF;

struct ActionRow {
    int code;
    std::string_view name;
};

// Codes 3, 5, 6, 9, 13, 21, 22, 23, 26, 28, 33, 34, 40, 43, 45 and 46 were seen in the samples
// with their SaveAsText names; the others are as another reader of later versions reported.
constexpr auto kActions = std::to_array<ActionRow>({
    {1, "AddMenu"},
    {3, "ApplyFilter"},
    {4, "Beep"},
    {5, "CancelEvent"},
    {6, "Close"},
    {7, "CopyObject"},
    {8, "DoMenuItem"},
    {9, "Echo"},
    {11, "FindNext"},
    {12, "FindRecord"},
    {13, "GoToControl"},
    {14, "GoToPage"},
    {15, "GoToRecord"},
    {17, "Hourglass"},
    {19, "Maximize"},
    {20, "Minimize"},
    {21, "MoveSize"},
    {22, "MsgBox"},
    {23, "OpenForm"},
    {24, "OpenQuery"},
    {25, "OpenTable"},
    {26, "PrintOut"},
    {27, "Quit"},
    {28, "Requery"},
    {29, "RepaintObject"},
    {30, "Rename"},
    {31, "Restore"},
    {32, "RunApp"},
    {33, "RunCode"},
    {34, "RunMacro"},
    {35, "RunSQL"},
    {37, "SelectObject"},
    {38, "SendKeys"},
    {40, "SetValue"},
    {41, "SetWarnings"},
    {43, "ShowAllRecords"},
    {44, "StopAllMacros"},
    {45, "StopMacro"},
    {46, "OpenReport"},
    {47, "TransferDatabase"},
    {48, "TransferSpreadsheet"},
    {49, "TransferText"},
    {51, "OutputTo"},
    {52, "DeleteObject"},
    {53, "OpenModule"},
    {54, "SendObject"},
    {55, "ShowToolbar"},
    {56, "Save"},
    {57, "SetMenuItem"},
    {58, "RunCommand"},
    {59, "OpenDataAccessPage"},
    {60, "OpenView"},
    {61, "OpenDiagram"},
    {62, "OpenStoredProcedure"},
});

class SheetReader {
public:
    SheetReader(std::string_view bytes, int codePage, std::string_view what)
        : bytes_(bytes), codePage_(codePage), what_(what) {}

    MacroDefinition read(std::string name) {
        MacroDefinition macro;
        macro.name = std::move(name);
        if (bytes_.size() < kVersionAt)
            fail(0, "見出しの " + std::to_string(kVersionAt) + " バイトに足りません");
        pos_ = kVersionAt;
        const std::size_t versionLength = u16("版の長さ");
        const std::size_t versionAt = pos_;
        const std::string version = util::Utf16LeToUtf8(take(versionLength, "版"));
        // Sheets saved by Access 2000 and later ("33", SaveAsText's Version =196611; "23" from
        // Access 2010 on, whose rows may carry the macro's XML in a comment beginning "_AXL:")
        // hold UTF-16 text; those carried over from Access 97 ("22", or no version)
        // single-byte text in the database's code page.
        if (version == "33" || version == "23")
            wide_ = true;
        else if (version != "22" && !version.empty())
            fail(versionAt, "未知のマクロ シートの版 '" + version + "'");
        zeros();
        while (pos_ < bytes_.size())
            macro.rows.push_back(row());
        return macro;
    }

private:
    [[noreturn]] void fail(std::size_t at, const std::string& reason) const {
        ThrowDesignError(what_, at, reason);
    }

    std::uint16_t u16(const char* what) {
        const std::string_view b = take(2, what);
        return static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) |
                                          (static_cast<unsigned char>(b[1]) << 8));
    }

    std::string_view take(std::size_t length, const char* what) {
        if (bytes_.size() - pos_ < length)
            fail(pos_, std::string(what) + "の途中でストリームが終わっています");
        const std::string_view b = bytes_.substr(pos_, length);
        pos_ += length;
        return b;
    }

    void zeros() {
        const std::size_t at = pos_;
        if (u16("区切り") != 0)
            fail(at, "区切りの 0 がありません");
    }

    MacroRow row() {
        const std::size_t rowAt = pos_;
        const int code = u16("アクション");
        u16("行番号");
        std::array<std::uint16_t, kSlots> offsets{};
        for (auto& o : offsets)
            o = u16("文字列の位置");
        const std::size_t length = u16("文字列の長さ");
        const std::size_t blockAt = pos_;
        const std::string_view block = take(length, "文字列");
        zeros();

        MacroRow row;
        if (code != 0) {
            row.action = std::string(MacroActionName(code));
            if (row.action.empty())
                fail(rowAt, "未知のアクション コード " + std::to_string(code));
        }
        auto text = [&](std::size_t slot) {
            return offsets[slot] == kNoString ? std::string()
                                              : string(block, offsets[slot], blockAt);
        };
        row.comment = text(kCommentSlot);
        row.condition = text(kConditionSlot);
        row.macroName = text(kMacroNameSlot);
        std::size_t last = kFirstArgumentSlot;
        for (std::size_t slot = kFirstArgumentSlot; slot < kSlots; ++slot) {
            if (offsets[slot] != kNoString)
                last = slot + 1;
        }
        for (std::size_t slot = kFirstArgumentSlot; slot < last; ++slot)
            row.arguments.push_back(text(slot));
        return row;
    }

    std::string string(std::string_view block, std::size_t at, std::size_t blockAt) const {
        const std::size_t unit = wide_ ? 2 : 1;
        if (at >= block.size())
            fail(blockAt, "文字列の位置 " + std::to_string(at) + " が行の外にあります");
        for (std::size_t end = at; end + unit <= block.size(); end += unit) {
            if (block[end] == '\0' && (unit == 1 || block[end + 1] == '\0')) {
                const std::string_view s = block.substr(at, end - at);
                return wide_ ? util::Utf16LeToUtf8(s) : util::DecodeCodePage(s, codePage_);
            }
        }
        fail(blockAt + at, "文字列の終わりがありません");
    }

    std::string_view bytes_;
    int codePage_;
    std::string_view what_;
    std::size_t pos_ = 0;
    bool wide_ = false;
};

}  // namespace

std::string_view MacroActionName(int code) {
    for (const auto& a : kActions) {
        if (a.code == code)
            return a.name;
    }
    return {};
}

MacroDefinition DecodeMacroSheet(std::string_view bytes, std::string name, int codePage,
                                 std::string_view what) {
    return SheetReader(bytes, codePage, what).read(std::move(name));
}

}  // namespace zanfor::host::access

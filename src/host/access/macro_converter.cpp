// The layout follows modules converted by Access (Option Compare Database; per macro a dashed
// header, "Function name()", "On Error GoTo name_Err", the actions indented by four, two blank
// lines, the name_Exit/name_Err tail, two blank lines between functions), and each action the
// DoCmd method of the same name with the arguments of the macro sheet in the method's order:
// text as a quoted literal even when empty, choices as the constant Access wrote for them,
// empty choices and numbers as nothing, trailing nothings dropped.

#include "host/access/macro_converter.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {
namespace {

struct Constant {
    std::string_view value;  // the argument as the macro sheet stores it
    std::string_view name;   // "" where Access left the argument out
};

using Constants = std::span<const Constant>;

constexpr auto kObjectTypes = std::to_array<Constant>({
    {"0", "acTable"},
    {"1", "acQuery"},
    {"2", "acForm"},
    {"3", "acReport"},
    {"4", "acMacro"},
    {"5", "acModule"},
    {"6", "acDataAccessPage"},
    {"7", "acServerView"},
    {"8", "acDiagram"},
    {"9", "acStoredProcedure"},
});
constexpr auto kFormViews = std::to_array<Constant>({
    {"0", "acNormal"},
    {"1", "acDesign"},
    {"2", "acPreview"},
    {"3", "acFormDS"},
});
constexpr auto kViews = std::to_array<Constant>({
    {"0", "acViewNormal"},
    {"1", "acViewDesign"},
    {"2", "acViewPreview"},
});
constexpr auto kFormDataModes = std::to_array<Constant>({
    {"-1", ""},
    {"0", "acAdd"},
    {"1", "acEdit"},
    {"2", "acReadOnly"},
});
constexpr auto kDataModes = std::to_array<Constant>({
    {"0", "acAdd"},
    {"1", "acEdit"},
    {"2", "acReadOnly"},
});
constexpr auto kWindowModes = std::to_array<Constant>({
    {"0", "acNormal"},
    {"1", "acHidden"},
    {"2", "acIcon"},
    {"3", "acDialog"},
});
constexpr auto kSaves = std::to_array<Constant>({
    {"0", "acSavePrompt"},
    {"1", "acSaveYes"},
    {"2", "acSaveNo"},
});
constexpr auto kRecords = std::to_array<Constant>({
    {"0", "acPrevious"},
    {"1", "acNext"},
    {"2", "acFirst"},
    {"3", "acLast"},
    {"4", "acGoTo"},
    {"5", "acNewRec"},
});
constexpr auto kMatches = std::to_array<Constant>({
    {"0", "acAnywhere"},
    {"1", "acEntire"},
    {"2", "acStart"},
});
constexpr auto kSearches = std::to_array<Constant>({
    {"0", "acUp"},
    {"1", "acDown"},
    {"2", "acSearchAll"},
});
constexpr auto kFindFields = std::to_array<Constant>({
    {"-1", "acCurrent"},
    {"0", "acAll"},
});
constexpr auto kPrintRanges = std::to_array<Constant>({
    {"0", "acPrintAll"},
    {"1", "acSelection"},
    {"2", "acPages"},
});
constexpr auto kPrintQualities = std::to_array<Constant>({
    {"0", "acHigh"},
    {"1", "acMedium"},
    {"2", "acLow"},
    {"3", "acDraft"},
});
// The names the vocabulary knows (ACSAVE is "すべて保存"), those of Access 97's Quit.
constexpr auto kQuitOptions = std::to_array<Constant>({
    {"0", "acPrompt"},
    {"1", "acSave"},
    {"2", "acExit"},
});
constexpr auto kOutputTypes = std::to_array<Constant>({
    {"0", "acOutputTable"},
    {"1", "acOutputQuery"},
    {"2", "acOutputForm"},
    {"3", "acOutputReport"},
    {"5", "acOutputModule"},
    {"6", "acOutputDataAccessPage"},
    {"7", "acOutputServerView"},
    {"9", "acOutputStoredProcedure"},
});
constexpr auto kSendTypes = std::to_array<Constant>({
    {"-1", "acSendNoObject"},
    {"0", "acSendTable"},
    {"1", "acSendQuery"},
    {"2", "acSendForm"},
    {"3", "acSendReport"},
    {"5", "acSendModule"},
    {"6", "acSendDataAccessPage"},
});
constexpr auto kTransfers = std::to_array<Constant>({
    {"0", "acImport"},
    {"1", "acExport"},
    {"2", "acLink"},
});
constexpr auto kTextTransfers = std::to_array<Constant>({
    {"0", "acImportDelim"},
    {"1", "acImportFixed"},
    {"2", "acExportDelim"},
    {"3", "acExportFixed"},
    {"4", "acExportMerge"},
    {"5", "acLinkDelim"},
    {"6", "acLinkFixed"},
    {"7", "acImportHTML"},
    {"8", "acExportHTML"},
    {"9", "acLinkHTML"},
});
// 5 and 8 each stand for two Excel versions; the later name of each is taken.
constexpr auto kSpreadsheetTypes = std::to_array<Constant>({
    {"0", "acSpreadsheetTypeExcel3"},
    {"2", "acSpreadsheetTypeLotusWK1"},
    {"3", "acSpreadsheetTypeLotusWK3"},
    {"4", "acSpreadsheetTypeLotusWJ2"},
    {"5", "acSpreadsheetTypeExcel7"},
    {"6", "acSpreadsheetTypeExcel4"},
    {"7", "acSpreadsheetTypeLotusWK4"},
    {"8", "acSpreadsheetTypeExcel9"},
});
constexpr auto kToolbars = std::to_array<Constant>({
    {"0", "acToolbarYes"},
    {"1", "acToolbarWhereApprop"},
    {"2", "acToolbarNo"},
});
constexpr auto kMenuFlags = std::to_array<Constant>({
    {"0", "acMenuUngray"},
    {"1", "acMenuGray"},
    {"2", "acMenuCheck"},
    {"3", "acMenuUncheck"},
});
constexpr auto kPageViews = std::to_array<Constant>({
    {"0", "acDataAccessPageBrowse"},
    {"1", "acDataAccessPageDesign"},
});
constexpr auto kMenuBars = std::to_array<Constant>({
    {"0", "acFormBar"},
});
constexpr auto kMessageTypes = std::to_array<Constant>({
    {"0", "vbOKOnly"},
    {"1", "vbCritical"},
    {"2", "vbQuestion"},
    {"3", "vbExclamation"},
    {"4", "vbInformation"},
});
// The commands the vocabulary labels and a few common ones; others are written as numbers.
constexpr auto kCommands = std::to_array<Constant>({
    {"3", "acCmdExit"},
    {"4", "acCmdCompactDatabase"},
    {"9", "acCmdAppRestore"},
    {"10", "acCmdAppMaximize"},
    {"11", "acCmdAppMinimize"},
    {"12", "acCmdAppMove"},
    {"13", "acCmdAppSize"},
    {"14", "acCmdDocRestore"},
    {"15", "acCmdDocMaximize"},
    {"16", "acCmdDocMove"},
    {"18", "acCmdRefresh"},
    {"19", "acCmdFont"},
    {"20", "acCmdSave"},
    {"28", "acCmdRecordsGoToNew"},
    {"29", "acCmdReplace"},
    {"30", "acCmdFind"},
    {"32", "acCmdPageSetup"},
    {"41", "acCmdTabOrder"},
    {"48", "acCmdSizeToGrid"},
    {"49", "acCmdOptions"},
    {"50", "acCmdSelectRecord"},
    {"54", "acCmdPrintPreview"},
    {"58", "acCmdClose"},
    {"59", "acCmdSizeToFit"},
    {"60", "acCmdDocMinimize"},
    {"65", "acCmdRecordsGoToNext"},
    {"66", "acCmdRecordsGoToPrevious"},
    {"67", "acCmdRecordsGoToFirst"},
    {"68", "acCmdRecordsGoToLast"},
    {"69", "acCmdSizeToFitForm"},
    {"85", "acCmdViewToolbox"},
    {"93", "acCmdApplyFilterSort"},
    {"97", "acCmdSaveRecord"},
    {"99", "acCmdAdvancedFilterSort"},
    {"109", "acCmdSelectAllRecords"},
    {"144", "acCmdRemoveFilterSort"},
    {"153", "acCmdAlignToShortest"},
    {"154", "acCmdAlignToTallest"},
    {"155", "acCmdSizeToNarrowest"},
    {"156", "acCmdSizeToWidest"},
    {"171", "acCmdConvertDatabase"},
    {"173", "acCmdSend"},
    {"175", "acCmdOutputToExcel"},
    {"179", "acCmdZoomBox"},
    {"186", "acCmdCloseWindow"},
    {"189", "acCmdCut"},
    {"190", "acCmdCopy"},
    {"191", "acCmdPaste"},
    {"192", "acCmdAutoDial"},
    {"195", "acCmdWordMailMerge"},
    {"198", "acCmdEnd"},
    {"207", "acCmdFilterByForm"},
    {"219", "acCmdCreateShortcut"},
    {"220", "acCmdToggleFilter"},
    {"223", "acCmdDeleteRecord"},
    {"224", "acCmdStartupProperties"},
    {"238", "acCmdZoom200"},
    {"239", "acCmdZoom150"},
    {"240", "acCmdZoom100"},
    {"241", "acCmdZoom75"},
    {"242", "acCmdZoom50"},
    {"243", "acCmdZoom25"},
    {"244", "acCmdZoom10"},
    {"246", "acCmdPreviewOnePage"},
    {"247", "acCmdPreviewTwoPages"},
    {"248", "acCmdPreviewFourPages"},
    {"249", "acCmdPreviewEightPages"},
    {"250", "acCmdPreviewTwelvePages"},
    {"251", "acCmdOpenURL"},
    {"252", "acCmdOpenStartPage"},
    {"257", "acCmdImport"},
    {"261", "acCmdAutoCorrect"},
    {"270", "acCmdAutoFormat"},
    {"292", "acCmdUndo"},
    {"294", "acCmdGoBack"},
    {"315", "acCmdObjBrwShowHiddenMembers"},
    {"340", "acCmdPrint"},
});

enum class Kind : std::uint8_t { Text, Number, YesNo, Choice };

struct Argument {
    Kind kind = Kind::Text;
    Constants choices = {};
};

constexpr Argument kText{Kind::Text};
constexpr Argument kNumber{Kind::Number};
constexpr Argument kYesNo{Kind::YesNo};
constexpr Argument Choice(Constants choices) { return {Kind::Choice, choices}; }

struct Method {
    std::string_view action;  // as SaveAsText names it
    std::string_view method;  // the DoCmd method
    std::vector<Argument> arguments;
};

// The actions that become "DoCmd.<method> arguments", in the macro sheet's argument order.
const std::vector<Method>& Methods() {
    static const std::vector<Method> methods = {
        {"ApplyFilter", "ApplyFilter", {kText, kText}},
        {"CancelEvent", "CancelEvent", {}},
        {"Close", "Close", {Choice(kObjectTypes), kText, Choice(kSaves)}},
        {"CopyObject", "CopyObject", {kText, kText, Choice(kObjectTypes), kText}},
        {"DeleteObject", "DeleteObject", {Choice(kObjectTypes), kText}},
        {"DoMenuItem", "DoMenuItem", {Choice(kMenuBars), kNumber, kNumber, kNumber}},
        {"Echo", "Echo", {kYesNo, kText}},
        {"FindNext", "FindNext", {}},
        {"FindRecord",
         "FindRecord",
         {kText, Choice(kMatches), kYesNo, Choice(kSearches), kYesNo, Choice(kFindFields), kYesNo}},
        {"GoToControl", "GoToControl", {kText}},
        {"GoToPage", "GoToPage", {kNumber, kNumber, kNumber}},
        {"GoToRecord", "GoToRecord", {Choice(kObjectTypes), kText, Choice(kRecords), kNumber}},
        {"Hourglass", "Hourglass", {kYesNo}},
        {"Maximize", "Maximize", {}},
        {"Minimize", "Minimize", {}},
        {"MoveSize", "MoveSize", {kNumber, kNumber, kNumber, kNumber}},
        {"OpenDataAccessPage", "OpenDataAccessPage", {kText, Choice(kPageViews)}},
        {"OpenDiagram", "OpenDiagram", {kText}},
        {"OpenForm",
         "OpenForm",
         {kText, Choice(kFormViews), kText, kText, Choice(kFormDataModes), Choice(kWindowModes)}},
        {"OpenModule", "OpenModule", {kText, kText}},
        {"OpenQuery", "OpenQuery", {kText, Choice(kViews), Choice(kDataModes)}},
        {"OpenReport", "OpenReport", {kText, Choice(kViews), kText, kText}},
        {"OpenStoredProcedure", "OpenStoredProcedure", {kText, Choice(kViews), Choice(kDataModes)}},
        {"OpenTable", "OpenTable", {kText, Choice(kViews), Choice(kDataModes)}},
        {"OpenView", "OpenView", {kText, Choice(kViews), Choice(kDataModes)}},
        {"OutputTo", "OutputTo", {Choice(kOutputTypes), kText, kText, kText, kYesNo, kText}},
        {"PrintOut",
         "PrintOut",
         {Choice(kPrintRanges), kNumber, kNumber, Choice(kPrintQualities), kNumber, kYesNo}},
        {"Quit", "Quit", {Choice(kQuitOptions)}},
        {"Rename", "Rename", {kText, Choice(kObjectTypes), kText}},
        {"RepaintObject", "RepaintObject", {Choice(kObjectTypes), kText}},
        {"Requery", "Requery", {kText}},
        {"Restore", "Restore", {}},
        {"RunCommand", "RunCommand", {Choice(kCommands)}},
        {"RunMacro", "RunMacro", {kText, kNumber, kText}},
        {"RunSQL", "RunSQL", {kText, kYesNo}},
        {"Save", "Save", {Choice(kObjectTypes), kText}},
        {"SelectObject", "SelectObject", {Choice(kObjectTypes), kText, kYesNo}},
        {"SendObject",
         "SendObject",
         {Choice(kSendTypes), kText, kText, kText, kText, kText, kText, kText, kYesNo, kText}},
        {"SetMenuItem", "SetMenuItem", {kNumber, kNumber, kNumber, Choice(kMenuFlags)}},
        {"SetWarnings", "SetWarnings", {kYesNo}},
        {"ShowAllRecords", "ShowAllRecords", {}},
        {"ShowToolbar", "ShowToolbar", {kText, Choice(kToolbars)}},
        {"TransferDatabase",
         "TransferDatabase",
         {Choice(kTransfers), kText, kText, Choice(kObjectTypes), kText, kText, kYesNo, kYesNo}},
        {"TransferSpreadsheet",
         "TransferSpreadsheet",
         {Choice(kTransfers), Choice(kSpreadsheetTypes), kText, kText, kYesNo, kText}},
        {"TransferText",
         "TransferText",
         {Choice(kTextTransfers), kText, kText, kText, kYesNo, kText, kNumber}},
    };
    return methods;
}

const Method* FindMethod(std::string_view action) {
    for (const auto& m : Methods()) {
        if (util::EqualsIgnoreCase(m.action, action)) {
            return &m;
        }
    }
    return nullptr;
}

std::string_view ArgumentAt(const MacroRow& row, std::size_t index) {
    return index < row.arguments.size() ? std::string_view(row.arguments[index])
                                        : std::string_view();
}

// An argument starting with "=" is an expression that Access wrote as code.
std::optional<std::string> Expression(std::string_view argument) {
    if (!argument.empty() && argument.front() == '=') {
        return util::Trim(argument.substr(1));
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\r' || c == '\n') {
            // A literal cannot span lines; the break is joined in as vbCrLf.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += "\" & vbCrLf & \"";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string TextArgument(std::string_view argument) {
    if (auto expression = Expression(argument)) {
        return *expression;
    }
    return Quoted(argument);
}

std::string YesNoArgument(std::string_view argument) {
    if (auto expression = Expression(argument)) {
        return *expression;
    }
    const std::string text = util::Trim(argument);
    if (text.empty()) {
        return "";
    }
    if (text == "0" || util::EqualsIgnoreCase(text, "No") ||
        util::EqualsIgnoreCase(text, "False")) {
        return "False";
    }
    return "True";
}

std::string ChoiceArgument(std::string_view argument, Constants choices) {
    if (auto expression = Expression(argument)) {
        return *expression;
    }
    std::string text = util::Trim(argument);
    for (const auto& choice : choices) {
        if (choice.value == text) {
            return std::string(choice.name);
        }
    }
    return text;
}

std::string FormatArgument(const Argument& spec, std::string_view argument) {
    switch (spec.kind) {
        case Kind::Text:
            return TextArgument(argument);
        case Kind::YesNo:
            return YesNoArgument(argument);
        case Kind::Choice:
            return ChoiceArgument(argument, spec.choices);
        case Kind::Number:
            break;
    }
    if (auto expression = Expression(argument)) {
        return *expression;
    }
    return util::Trim(argument);
}

// Empty pieces between others stay as consecutive commas (", , "); those at the end are dropped.
std::string JoinArguments(std::vector<std::string> pieces) {
    while (!pieces.empty() && pieces.back().empty()) {
        pieces.pop_back();
    }
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out += (i > 0 ? ", " : "") + pieces[i];
    }
    return out;
}

std::string DoCmdStatement(const Method& method, const MacroRow& row) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < method.arguments.size(); ++i) {
        pieces.push_back(FormatArgument(method.arguments[i], ArgumentAt(row, i)));
    }
    if (method.action == "Quit" && pieces.front().empty()) {
        pieces.front() = "acSave";  // the action's own default, "Save All"
    }
    const std::string arguments = JoinArguments(std::move(pieces));
    std::string statement = "DoCmd." + std::string(method.method);
    if (!arguments.empty()) {
        statement += " " + arguments;
    }
    return statement;
}

// RunCode's function name as Visual Basic's editor keeps a call: no "=", no blank before "(".
std::string CallStatement(std::string_view functionName) {
    std::string call = util::Trim(functionName);
    if (!call.empty() && call.front() == '=') {
        call = util::Trim(std::string_view(call).substr(1));
    }
    if (const auto paren = call.find('('); paren != std::string::npos) {
        std::size_t name_end = paren;
        while (name_end > 0 && call[name_end - 1] == ' ') {
            --name_end;
        }
        call.erase(name_end, paren - name_end);
    }
    return call.empty() ? std::string() : "Call " + call;
}

std::vector<std::string> MessageBoxStatements(const MacroRow& row) {
    std::vector<std::string> lines;
    if (YesNoArgument(ArgumentAt(row, 1)) != "False") {
        lines.emplace_back("Beep");
    }
    std::string type = ChoiceArgument(ArgumentAt(row, 2), kMessageTypes);
    if (type.empty()) {
        type = "vbOKOnly";
    }
    lines.push_back("MsgBox " + TextArgument(ArgumentAt(row, 0)) + ", " + type + ", " +
                    TextArgument(ArgumentAt(row, 3)));
    return lines;
}

std::vector<std::string> Statements(const MacroRow& row) {
    const std::string_view action = row.action;
    if (action.empty()) {
        return {};
    }
    if (util::EqualsIgnoreCase(action, "Beep")) {
        return {"Beep"};
    }
    if (util::EqualsIgnoreCase(action, "MsgBox")) {
        return MessageBoxStatements(row);
    }
    if (util::EqualsIgnoreCase(action, "SendKeys")) {
        return {JoinArguments(
            {"SendKeys " + TextArgument(ArgumentAt(row, 0)), YesNoArgument(ArgumentAt(row, 1))})};
    }
    if (util::EqualsIgnoreCase(action, "RunApp")) {
        return {"Call Shell(" + TextArgument(ArgumentAt(row, 0)) + ", 1)"};
    }
    if (util::EqualsIgnoreCase(action, "RunCode")) {
        std::string call = CallStatement(ArgumentAt(row, 0));
        return call.empty() ? std::vector<std::string>{} : std::vector<std::string>{call};
    }
    if (util::EqualsIgnoreCase(action, "SetValue")) {
        const std::string item = util::Trim(ArgumentAt(row, 0));
        std::string expression = util::Trim(ArgumentAt(row, 1));
        if (!expression.empty() && expression.front() == '=') {
            expression = util::Trim(std::string_view(expression).substr(1));
        }
        return {item + " = " + (expression.empty() ? "Null" : expression)};
    }
    if (util::EqualsIgnoreCase(action, "StopMacro")) {
        return {"Exit Function"};
    }
    if (util::EqualsIgnoreCase(action, "StopAllMacros")) {
        return {"End"};
    }
    if (const Method* method = FindMethod(action)) {
        return {DoCmdStatement(*method, row)};
    }
    // AddMenu and actions of later versions have no statement; the row keeps its comment.
    return {};
}

std::string OneLine(std::string_view text) {
    std::string out;
    for (const auto& line : util::SplitLines(text)) {
        if (!out.empty()) {
            out += ' ';
        }
        out += line;
    }
    return util::Trim(out);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsAsciiIdentChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

// Characters a Visual Basic name cannot hold become "_", one for one, so the collector can cut
// the macro group's name off the procedure's name by its length.
std::string ProcedureName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const bool ascii = static_cast<unsigned char>(c) < 0x80;
        out += (!ascii || IsAsciiIdentChar(c)) ? c : '_';
    }
    return out;
}

std::string HeadingName(const std::string& name) {
    const bool letterFirst = !name.empty() && (IsAsciiLetter(name.front()) ||
                                               static_cast<unsigned char>(name.front()) >= 0x80);
    return letterFirst ? name : "[" + name + "]";
}

struct Procedure {
    std::string name;
    std::vector<const MacroRow*> rows;
};

// A sheet without macro names is one procedure; a macro group gives one per named macro, and
// rows above its first name one more under the group's own name.
std::vector<Procedure> Procedures(const MacroDefinition& macro) {
    const std::string groupName = ProcedureName(macro.name.empty() ? "Macro" : macro.name);
    std::vector<Procedure> procedures;
    for (const auto& row : macro.rows) {
        const std::string subName = util::Trim(row.macroName);
        if (!subName.empty()) {
            procedures.push_back({groupName + "_" + ProcedureName(subName), {}});
        } else if (procedures.empty()) {
            procedures.push_back({groupName, {}});
        }
        procedures.back().rows.push_back(&row);
    }
    if (procedures.empty()) {
        procedures.push_back({groupName, {}});
    }
    // A name Visual Basic sees twice would merge two macros into one procedure.
    std::map<std::string, int> seen;
    for (auto& procedure : procedures) {
        const std::string key = util::UCase(procedure.name);
        if (const int count = seen[key]++; count > 0) {
            procedure.name += std::to_string(count);
            ++seen[util::UCase(procedure.name)];
        }
    }
    return procedures;
}

void AppendProcedure(const Procedure& procedure, std::vector<std::string>& lines) {
    const std::string& name = procedure.name;
    const std::string rule = "'" + std::string(60, '-');
    lines.insert(lines.end(), {rule, "' " + name, "'", rule});
    lines.push_back("Function " + HeadingName(name) + "()");
    lines.push_back("On Error GoTo " + name + "_Err");
    lines.emplace_back();

    bool inBlock = false;
    for (const MacroRow* row : procedure.rows) {
        const std::string condition = OneLine(row->condition);
        if (condition != "...") {
            if (inBlock) {
                lines.emplace_back("    End If");
                inBlock = false;
            }
            if (!condition.empty()) {
                lines.push_back("    If (" + condition + ") Then");
                inBlock = true;
            }
        }
        const std::string indent(inBlock ? 8 : 4, ' ');
        if (!util::Trim(row->comment).empty()) {
            for (const auto& commentLine : util::SplitLines(row->comment)) {
                lines.push_back(indent + "' " + util::RTrim(commentLine));
            }
        }
        for (const auto& statement : Statements(*row)) {
            lines.push_back(indent + statement);
        }
    }
    if (inBlock) {
        lines.emplace_back("    End If");
    }

    lines.insert(lines.end(), {"", "", name + "_Exit:", "    Exit Function", "",
                               name + "_Err:", "    MsgBox Error$", "    Resume " + name + "_Exit",
                               "", "End Function"});
}

}  // namespace

std::string ConvertMacro(const MacroDefinition& macro) {
    std::vector<std::string> lines = {"Option Compare Database", ""};
    const auto procedures = Procedures(macro);
    for (std::size_t i = 0; i < procedures.size(); ++i) {
        if (i > 0) {
            lines.insert(lines.end(), {"", ""});
        }
        AppendProcedure(procedures[i], lines);
    }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines[i];
    }
    return text;
}

}  // namespace zanfor::host::access

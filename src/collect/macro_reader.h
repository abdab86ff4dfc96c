#pragma once

// The reading of the module Access's "convert macros to Visual Basic" writes for a macro: one
// procedure per macro of a group, and in each the statements the conversion writes for the
// actions, with the comment and the condition each one carries. The conversion writes every
// action in a fixed form ("DoCmd.OpenForm ...", "Beep", "MsgBox ...", "item = value", "End If"),
// so keywords are recognised as words of the code: a keyword inside a literal, a bracketed
// name, a comment or a longer name ("SendKeys", "[EndDate]", "Call fxnOpenDbChecks()") neither
// makes nor changes a statement.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/access/module_model.h"

namespace zanfor::collect {

// One recognised statement: a T_AcMacro row, with the T_AcMacro2 rows of its arguments.
struct MacroStatement {
    long procedureNo = 0;
    std::string procName;  // the macro's name within its group; "" for a macro of its own
    std::int16_t actionNo = 0;
    long lineNo = 0;
    std::string procedure;               // the line as the module holds it
    std::string comment;                 // the comment in force, else ""
    std::string condition;               // the condition in force, else ""
    std::vector<std::string> arguments;  // HikiNo 1, 2, ...; only when arguments are read
};

// `procedureNo` is the running number shared with the code readers: each procedure of the
// module takes the next one. Host errors of the module model (9, 35) for a module the
// conversion cannot have written.
std::vector<MacroStatement> ReadConvertedMacro(const host::ModuleModel& module,
                                               std::string_view macroName, bool withArguments,
                                               long& procedureNo);

// The action numbers the reader gives beyond the DoCmd methods.
inline constexpr std::int16_t kActionRunApp = 2;      // Call Shell(...)
inline constexpr std::int16_t kActionSendKeys = 11;   // SendKeys
inline constexpr std::int16_t kActionRunCode = 22;    // Call Function(...)
inline constexpr std::int16_t kActionStopMacro = 25;  // Exit Function
inline constexpr std::int16_t kActionMsgBox = 27;     // MsgBox, with the Beep above it
inline constexpr std::int16_t kActionBeep = 36;       // Beep alone
inline constexpr std::int16_t kActionEnd = 45;        // End, and the End If closing a condition
inline constexpr std::int16_t kActionSetValue = 47;   // item = value

}  // namespace zanfor::collect

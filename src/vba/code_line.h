#pragma once

// What the code readers take from single lines of VBA as the editor shows them: the class of a
// line (comment, blank, code), the lines every reader skips, and the fields of a procedure
// heading, a Declare statement and a declaration or call statement. Positions and lengths count
// characters, as VB's string functions did.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/access/module_model.h"

namespace zanfor::vba {

enum class LineClass { Code, Comment, Blank };

// A comment line begins, after its indentation, with "'" or with "Rem" and a blank; a blank
// line is empty once trimmed; every other line is code, a trailing comment included.
LineClass ClassifyLine(std::string_view line);

// Blank lines and option statements ("Option Explicit"), which no reader lists.
bool IsSkippedLine(std::string_view line);

// Whether the line goes on in the next one: it ends, trailing blanks and tabs aside, in a blank
// or tab and "_" (in code, and in a comment too).
bool EndsWithContinuation(std::string_view line);

// A procedure heading as its row records it.
struct HeadingFields {
    std::optional<bool> isPrivate;  // unset when the heading names neither Private nor Public
    std::string kind;               // "Function", "Sub", "Property Get/Let/Set"; "" otherwise
    std::optional<std::string> parameters;  // Null when the list is empty or absent
    std::optional<std::string> resultType;  // Null when there is no "As" after the list
};

// `heading` is the whole logical line without its comment (JoinHeading).
HeadingFields ParseHeading(std::string_view heading);

// The heading that starts at `bodyLine` with all its continuation lines, each line's comment
// dropped and every " _" line break turned into one blank; `lastLine` receives its last line.
std::string JoinHeading(const host::ModuleModel& model, long bodyLine, long& lastLine);

struct DeclareFields {
    std::string name;
    std::string kind;  // "Function" or "Sub"
    bool isPrivate = false;
};

// A Declare statement (an external function) on a trimmed line; nothing for any other line,
// also for one that merely mentions the word.
std::optional<DeclareFields> ParseDeclare(std::string_view trimmedLine);

// A declaration or call statement as a T_AcDimCall row records it.
struct DimCallFields {
    std::int16_t code = 0;  // DimCall
    std::string_view bunrui;
    std::string_view type;
    std::optional<std::string> comment;  // the text after the comment mark, at most 255
    std::string text;                    // between the keyword and the comment mark
};

// Nothing for a line without such a statement. Keywords count as whole words of the code: a
// keyword inside a literal, a comment or a longer name makes no statement.
std::optional<DimCallFields> ParseDimCall(std::string_view line);

}  // namespace zanfor::vba

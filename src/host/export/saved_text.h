#pragma once

// The text form Access writes for an object (Application.SaveAsText): "Name =value" lines,
// "Begin Kind" ... "End" blocks, quoted strings continued on the following lines, numbers,
// "NotDefault" for a yes/no property that differs from its default, binary values as hex lines
// between "= Begin" and "End", typed lines ("dbMemo "SQL" =...") in query exports, and the code
// of a form or report after "CodeBehindForm".

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::host::exports {

struct SavedValue {
    enum class Kind { Text, Number, NotDefault, Binary };
    Kind kind = Kind::Number;
    // Text: the string with its escapes resolved and its continuation lines joined; Number: the
    // value as written ("-1", "95.0"); NotDefault and Binary: empty.
    std::string text;
    // Binary: the bytes of its hex lines; empty for a block of anything else (the embedded
    // macro of later versions).
    std::string bytes;
};

struct SavedProperty {
    std::string name;
    std::string type;  // "dbMemo", "dbBoolean" ... on the typed lines of query exports
    SavedValue value;
    int line = 0;
};

struct SavedBlock {
    std::string kind;  // "Form", "TextBox", "BreakLevel"; empty for a bare "Begin"
    int line = 0;
    std::vector<SavedProperty> properties;  // in the order written
    std::vector<SavedBlock> children;

    // The last property of that name (names compared without regard to case), or nullptr.
    const SavedProperty* find(std::string_view name) const;
    // The value's text, or `fallback` when the property is absent.
    std::string text(std::string_view name, std::string_view fallback = {}) const;
};

struct SavedText {
    SavedBlock root;                  // the top-level lines and blocks
    std::optional<std::string> code;  // what follows "CodeBehindForm", lines joined with CR LF
};

// `source` names the file in error messages. Throws host::Error (err::kExportMalformed) naming
// the file and the line for text that Access could not have written: an unclosed quote or
// block, an "End" without "Begin", a line that is neither a property nor a block.
SavedText ParseSavedText(std::string_view text, const std::string& source);

// The code page an export file's bytes were written in, as far as its font character sets
// (FontCharSet =, TabularCharSet =) tell: a Japanese set anywhere means 932; otherwise the one
// non-Western set used throughout. 0 when they tell nothing: Western sets prove nothing, since
// Japanese forms often use Western fonts.
int CodePageHint(std::string_view bytes);

// An export file's text as UTF-8. UTF-8 (with or without BOM) is taken as it is; other bytes are
// in the ANSI code page of the exporting system: the file's own hint, else `defaultCodePage`
// (the folder's, see ExportFolder::codePage). Throws host::Error (err::kFileNotFound) when the
// file cannot be read.
std::string ReadExportFile(const std::filesystem::path& file, int defaultCodePage = 932);
// The same, the default code page asked of `defaultCodePage` only for a file that needs it.
std::string ReadExportFile(const std::filesystem::path& file,
                           const std::function<int()>& defaultCodePage);

// The host::Error for a malformed export file: its path and line in the description.
[[noreturn]] void ThrowMalformed(const std::string& source, int line, std::string_view reason);

}  // namespace zanfor::host::exports

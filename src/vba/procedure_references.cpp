#include "vba/procedure_references.h"

#include <algorithm>

#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The bytes of the blank at `i`: the ideographic blank is as blank as " " to VB.
std::size_t blankLength(std::string_view line, std::size_t i) {
    if (line[i] == ' ' || line[i] == '\t')
        return 1;
    return line.substr(i).starts_with(util::kIdeographicSpace) ? util::kIdeographicSpace.size() : 0;
}

// Names may hold any character beyond ASCII (Japanese names are common); a byte that is not
// UTF-8 counts as one too, so that damaged text still splits into names somehow.
bool isNameByte(std::string_view line, std::size_t i) {
    const char c = line[i];
    if (static_cast<unsigned char>(c) >= 0x80)
        return blankLength(line, i) == 0;
    return isAsciiLetter(c) || isDigit(c) || c == '_';
}

std::size_t skipBlanks(std::string_view line, std::size_t i) {
    while (i < line.size()) {
        const std::size_t blank = blankLength(line, i);
        if (blank == 0)
            break;
        i += blank;
    }
    return i;
}

bool isAsAt(std::string_view line, std::size_t i) {
    return util::EqualsIgnoreCase(line.substr(i, 2), "AS") &&
           (i + 2 >= line.size() || !isNameByte(line, i + 2));
}

// Hands each name of one line's code to `use`: not the text of literals and comments, not the
// digits and letters of numbers (1E5, &HFF), and not the names that cannot be a procedure's:
// a type after As or New, a name declared with As (a variable, parameter or member), a named
// argument. Returns whether the comment continues.
template <class Use>
bool scanLine(std::string_view line, Use&& use) {
    bool statementStart = true;
    bool typeFollows = false;
    const auto name = [&](std::string_view word, std::size_t end) {
        const std::size_t next = skipBlanks(line, end);
        if (typeFollows) {
            typeFollows =
                util::EqualsIgnoreCase(word, "NEW") || (next < line.size() && line[next] == '.');
        } else if (util::EqualsIgnoreCase(word, "AS") || util::EqualsIgnoreCase(word, "NEW")) {
            typeFollows = true;
        } else if (!word.empty() && !isAsAt(line, next) && !line.substr(next).starts_with(":=")) {
            use(word);
        }
        statementStart = false;
    };
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (const std::size_t blank = blankLength(line, i)) {
            i += blank;
            continue;
        }
        if (c == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close + 1;
            statementStart = typeFollows = false;
            continue;
        }
        if (c == '\'')
            return EndsWithContinuation(line);
        if (c == '[') {
            if (const std::size_t close = line.find(']', i + 1); close != std::string_view::npos) {
                name(line.substr(i + 1, close - i - 1), close + 1);
                i = close + 1;
                continue;
            }
        }
        const bool radix = c == '&' && i + 2 < line.size() &&
                           (util::EqualsIgnoreCase(line.substr(i + 1, 1), "H") ||
                            util::EqualsIgnoreCase(line.substr(i + 1, 1), "O")) &&
                           isHexDigit(line[i + 2]);
        if (isDigit(c) || radix) {
            i += radix ? 2 : 1;
            while (i < line.size() && isNameByte(line, i))
                ++i;
            statementStart = typeFollows = false;
            continue;
        }
        if (isNameByte(line, i)) {
            const std::size_t start = i;
            while (i < line.size() && isNameByte(line, i))
                ++i;
            const std::string_view word = line.substr(start, i - start);
            if (statementStart && util::EqualsIgnoreCase(word, "REM"))
                return EndsWithContinuation(line);
            name(word, i);
            continue;
        }
        // A statement starts the line or follows a ":" (not the ":=" of a named argument).
        statementStart = c == ':' && !(i + 1 < line.size() && line[i + 1] == '=');
        typeFollows = typeFollows && c == '.';
        ++i;
    }
    return false;
}

}  // namespace

ProcedureNames::ProcedureNames(std::span<const app::ProcedureEntry> table) : table_(table) {
    byName_.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        byName_[table[i].procedure].push_back(i);
}

void ProcedureNames::match(std::string_view line, std::string_view caller, bool& inComment,
                           std::vector<std::size_t>& found) const {
    found.clear();
    if (inComment) {
        inComment = EndsWithContinuation(line);
        return;
    }
    inComment = scanLine(line, [&](std::string_view word) {
        if (word == caller)
            return;
        if (const auto it = byName_.find(word); it != byName_.end())
            found.insert(found.end(), it->second.begin(), it->second.end());
    });
    if (found.size() > 1) {
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
    }
}

void ScanProcedureReferences(const host::ModuleModel& model, const ProcedureNames& names,
                             const ScanTarget& target, ScanState& state, workdb::RowWriter& rows) {
    if (model.CountOfLines() == model.CountOfDeclarationLines())
        return;
    bool inComment = false;
    std::vector<std::size_t> found;
    for (const Section& section : SectionsOf(model)) {
        if (section.name() != state.procedure) {
            ++state.procedureNo;
            state.procedure = section.name();
        }
        if (names.empty())
            continue;
        for (long n = section.firstLine; n <= section.lastLine; ++n) {
            const std::string_view line = model.Line(n);
            names.match(line, state.procedure, inComment, found);
            if (found.empty() || IsSkippedLine(line))
                continue;
            for (const std::size_t index : found) {
                const app::ProcedureEntry& used = names.entry(index);
                rows.addNew();
                rows.set("objectNo", target.objectNo)
                    .set("ProcedureNo", state.procedureNo)
                    .set("Bunrui", std::string(target.label))
                    .set("ObjectName", std::string(target.objectName))
                    .set("Procedure", state.procedure)
                    .set("LinkProcedure", used.procedure)
                    .set("MotoName", used.module);
                rows.update();
            }
        }
    }
}

collect::RunResult RunProcedureReferences(collect::RunContext& ctx) {
    const collect::CollectorRun run{.place = "場所:プロシージャ引用先情報",
                                    .report = "R_AcLinkProc",
                                    .window = app::WindowKind::DeveloperSupport,
                                    .attachAccess = true,
                                    .finished = [](collect::RunContext&) {}};
    return collect::RunCollection(ctx, run, [](collect::RunContext& c) {
        c.ui.showMessage("引用先 情報　取得中");
        workdb::RowWriter rows = collect::OpenEmptied(c, "T_AcLinkModule");
        const ProcedureNames names(c.state.support.procedures);
        ScanState state;
        WalkModules(c, kAllKinds,
                    [&](const CodeObject& object) {
                        ScanProcedureReferences(
                            object.model(), names,
                            {object.objectNo, LabelOf(kKindNames, object.kind), object.objectName},
                            state, rows);
                    },
                    {.message = KindMessage, .numberObjectsWithoutCode = true});
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba

#pragma once

// What Access's Module object answered about a module's text: line counts, line text, and
// which procedure owns a line. Every code reader relies on these answers for procedure
// boundaries, so they follow the Visual Basic editor's rules (see module_model.cpp, top).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::host {

// The values of the VBA editor's vbext_ProcKind.
enum class ProcKind { Proc = 0, Let = 1, Set = 2, Get = 3 };

struct Procedure {
    std::string name;
    ProcKind kind = ProcKind::Proc;
    long startLine = 0;   // first line of the section: comments and blanks above the heading
    long bodyLine = 0;    // the heading's first line
    long countLines = 0;  // lines of the section
};

class ModuleModel {
public:
    ModuleModel() = default;
    // The module's source as the editor shows it (no hidden "Attribute VB_" lines); lines may
    // end in CR LF, LF or CR.
    explicit ModuleModel(std::string_view text);

    long CountOfLines() const {
        return starts_.empty() ? 0 : static_cast<long>(starts_.size()) - 1;
    }
    long CountOfDeclarationLines() const { return declarationLines_; }

    // `count` lines from `startLine` joined with CR LF. Host error 9 outside the module.
    std::string Lines(long startLine, long count) const;
    // The line's text without its line end, valid as long as the model; host error 9 outside
    // the module.
    std::string_view Line(long lineNumber) const;

    // The owning procedure's name and kind; "" (kind Proc) for a declarations line.
    // Host error 9 outside the module.
    std::string ProcOfLine(long lineNumber, ProcKind& kind) const;
    // Host error 35 for a name and kind the module does not define.
    long ProcStartLine(std::string_view name, ProcKind kind) const;
    long ProcBodyLine(std::string_view name, ProcKind kind) const;
    long ProcCountLines(std::string_view name, ProcKind kind) const;

    // In line order.
    const std::vector<Procedure>& procedures() const { return procedures_; }

private:
    const Procedure& find(std::string_view name, ProcKind kind) const;

    // A project of a hundred thousand lines holds every line at once: the lines back to back
    // in one text, and where each starts (with the end of the last one after them).
    std::string text_;
    std::vector<std::size_t> starts_{0};
    long declarationLines_ = 0;
    std::vector<Procedure> procedures_;
    std::vector<int> owner_;  // per line: index into procedures_, -1 for the declarations
};

}  // namespace zanfor::host

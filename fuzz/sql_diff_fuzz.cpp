// Any two texts, split at the first NUL, compared as query SQL and as lines of code: nothing
// crashes or hangs, and the token runs of the SQL comparison give back both normalised texts
// (the kept and lost runs the older, the kept and gained runs the newer), blanks aside: the
// normalised text sets punctuation against its neighbours, the runs part them by a blank.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diff/analysis_diff.h"

namespace {

std::vector<zanfor::diff::NumberedLine> Lines(std::string_view text) {
    std::vector<zanfor::diff::NumberedLine> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back({static_cast<std::int64_t>(lines.size() + 1), "p",
                             std::string(text.substr(begin, i - begin))});
            begin = i + 1;
        }
    }
    return lines;
}

std::string Unblanked(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ')
            kept += c;
    }
    return kept;
}

// The runs of one side, without blanks.
std::string Side(const std::vector<zanfor::diff::DiffLine>& runs, char drop) {
    std::string text;
    for (const auto& run : runs) {
        if (run.mark != drop)
            text += Unblanked(run.text);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zanfor::diff;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto cut = input.find('\0');
    const std::string_view before = input.substr(0, cut);
    const std::string_view after = cut == std::string_view::npos ? "" : input.substr(cut + 1);
    const auto runs = SqlTokenDiff(before, after);
    if (!runs.empty() && (Side(runs, '+') != Unblanked(NormaliseSql(before)) ||
                          Side(runs, '-') != Unblanked(NormaliseSql(after))))
        __builtin_trap();
    const auto hunks = UnifiedDiff(Lines(before), Lines(after));
    if ((before == after) != hunks.empty())
        __builtin_trap();
    return 0;
}

// Any text highlighted as SQL and as a line of code: the highlighter never crashes or hangs, and
// what it writes holds no markup of the input's and closes every span it opens.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "site/code_highlight.h"

namespace {

void Check(const std::string& html) {
    std::size_t open = 0;
    std::size_t pos = 0;
    while ((pos = html.find('<', pos)) != std::string::npos) {
        const std::string_view rest(html.data() + pos, html.size() - pos);
        if (rest.starts_with("<span class=\"")) {
            ++open;
        } else if (rest.starts_with("</span>")) {
            if (open == 0)
                __builtin_trap();
            --open;
        } else {
            __builtin_trap();
        }
        ++pos;
    }
    if (open != 0 || html.find('>') < html.find('<'))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(zanfor::site::HighlightSql(text));
    Check(zanfor::site::HighlightCode(text));
    return 0;
}

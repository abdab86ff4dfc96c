#include "refs/name_match.h"

namespace zanfor::refs {

namespace {

bool ContinuesWord(unsigned char c) {
    return c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

}  // namespace

bool NamesWhole(std::string_view text, std::string_view name) {
    if (name.empty())
        return false;
    for (auto at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const auto end = at + name.size();
        // A name that itself ends in a bounding character ("Order Details ") needs no bound
        // after it, and likewise before.
        const bool before = at == 0 || !ContinuesWord(static_cast<unsigned char>(name.front())) ||
                            !ContinuesWord(static_cast<unsigned char>(text[at - 1]));
        const bool after = end == text.size() ||
                           !ContinuesWord(static_cast<unsigned char>(name.back())) ||
                           !ContinuesWord(static_cast<unsigned char>(text[end]));
        if (before && after)
            return true;
    }
    return false;
}

}  // namespace zanfor::refs

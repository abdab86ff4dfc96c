#include "report/japanese_collation.h"

#include <unicode/ucol.h>

#include <vector>

namespace zanfor::report {

JapaneseCollator::JapaneseCollator() {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("ja", &status);
    if (U_FAILURE(status)) {
        ucol_close(collator_);
        collator_ = nullptr;
    }
}

JapaneseCollator::~JapaneseCollator() { ucol_close(collator_); }

std::string JapaneseCollator::sortKey(const QString& text) const {
    if (!collator_) {
        const QByteArray utf8 = text.toUtf8();
        return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
    }
    const auto* chars = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    std::vector<uint8_t> key(static_cast<std::size_t>(length) * 4 + 16);
    int32_t needed =
        ucol_getSortKey(collator_, chars, length, key.data(), static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator_, chars, length, key.data(), needed);
    }
    // The key ends in a NUL that is not part of the order.
    const auto size = needed > 0 ? static_cast<std::size_t>(needed - 1) : 0;
    return {reinterpret_cast<const char*>(key.data()), size};
}

}  // namespace zanfor::report

#pragma once

// Japanese syllabary order (五十音順) through ICU's Japanese collator: kana in gojūon order
// with hiragana, katakana and half-width katakana together, Latin letters before kana.

#include <QString>
#include <string>

struct UCollator;

namespace zanfor::report {

class JapaneseCollator {
public:
    JapaneseCollator();
    ~JapaneseCollator();
    JapaneseCollator(const JapaneseCollator&) = delete;
    JapaneseCollator& operator=(const JapaneseCollator&) = delete;

    // Bytes whose plain order is the text's syllabary order; the text's code points when ICU
    // has no Japanese collation.
    std::string sortKey(const QString& text) const;

private:
    UCollator* collator_ = nullptr;
};

}  // namespace zanfor::report

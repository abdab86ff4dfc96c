// Any bytes as a query column's expression and as a statement's PARAMETERS clause.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/jet/expression_type.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zanfor::host::jet;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Every name is a column of some type, so the typing runs past the names into the operators.
    const ReferenceType anyType = [](const NameReference& ref) {
        return ValueType{static_cast<int>(ref.text.size() % 13), 4};
    };
    TypeOfExpression(text, anyType);
    for (const NameReference& ref : NameReferences(text)) {
        if (ref.begin > ref.end || ref.end > text.size())
            __builtin_trap();
    }
    DeclaredParameters(text);
    return 0;
}

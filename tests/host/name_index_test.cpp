#include "host/name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zanfor::host::NameIndex;

// What a walk from the start comparing without regard to case finds: the first of repeated
// names, nothing for a name that differs in more than case.
TEST(NameIndex, findsWhatACaseBlindWalkFinds) {
    const std::vector<std::string> names{"F受注", "Ｆｏｒｍ", "f受注", "Main", "MAIN"};
    const auto nameAt = [&](std::size_t i) { return std::string_view(names[i]); };
    const NameIndex index(names.size(), nameAt);
    const std::pair<const char*, std::size_t> cases[] = {
        {"f受注", 0}, {"ｆｏＲｍ", 1}, {"main", 3}, {"Mai", NameIndex::npos}, {"", NameIndex::npos},
    };
    for (const auto& [name, position] : cases)
        EXPECT_EQ(index.find(name, nameAt), position) << name;
    EXPECT_EQ(NameIndex().find("x", nameAt), NameIndex::npos);
}

}  // namespace

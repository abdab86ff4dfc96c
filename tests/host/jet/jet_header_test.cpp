#include "host/jet/jet_header.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/jet/jet_image_fixture.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::jet;
using zanfor::test::JetHeaderPage;

TEST(JetHeader, readsVersionPageSizeCodePageAndPassword) {
    // The date mask differs per file: a password is found whatever the creation date.
    const std::tuple<JetVersion, int, std::u16string, double> cases[] = {
        {JetVersion::Jet4, 932, u"", 37712.5}, {JetVersion::Jet4, 1252, u"secret", 37712.5},
        {JetVersion::Jet4, 1252, u"x", 12.0},  {JetVersion::Jet3, 1252, u"", 37712.5},
        {JetVersion::Jet3, 932, u"pw", 0.0},
    };
    for (const auto& [version, codePage, password, created] : cases) {
        const auto page = JetHeaderPage(version, codePage, password, created);
        const auto h = ParseJetHeader(page, page.size() * 10, "a.mdb");
        EXPECT_EQ(h.version, version);
        EXPECT_EQ(h.pageSize, version == JetVersion::Jet4 ? 4096u : 2048u);
        EXPECT_EQ(h.codePage, codePage);
        EXPECT_EQ(h.hasPassword, !password.empty());
    }
}

TEST(JetHeader, refusesForeignShortAndCutFiles) {
    const auto good = JetHeaderPage(JetVersion::Jet4);
    auto ace = good, future = good;
    ace.replace(4, 15, "Standard ACE DB");
    future[0x14] = 3;
    const std::tuple<std::string, std::uint64_t, int> cases[] = {
        {"", 0, 3343},
        {ace, 4096 * 4, 3343},
        {future, 4096 * 4, 3343},
        {good, 4096 * 4 + 100, 3049},  // not whole pages
        {good, 4096 * 2, 3049},        // no room for the catalog
        {good, 4096 * 3, 0},
    };
    for (const auto& [bytes, fileSize, error] : cases) {
        try {
            ParseJetHeader(bytes, fileSize, "x.mdb");
            EXPECT_EQ(error, 0) << fileSize;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), error) << fileSize;
        }
    }
}

}  // namespace

#include "host/jet/jet_header.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "host/error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::jet;

// The RC4 keystream that obscures the header from 0x18, computed independently of the parser.
std::array<std::uint8_t, 128> keystream() {
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    const std::uint8_t key[] = {0xc7, 0xda, 0x39, 0x6b};
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    std::array<std::uint8_t, 128> out{};
    for (int n = 0, i = 0, j = 0; n < 128; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        out[n] = s[(s[i] + s[j]) & 0xFF];
    }
    return out;
}

// A Jet 4 header page with the given password (UCS-2) and creation date, masked as Jet does.
std::string jet4Header(const std::u16string& password, double created, int codePage = 1252) {
    std::string page(4096, '\0');
    std::memcpy(page.data(), "\x00\x01\x00\x00Standard Jet DB\x00", 20);
    page[0x14] = 1;
    std::array<std::uint8_t, 128> plain{};
    plain[0x3c - 0x18] = static_cast<std::uint8_t>(codePage);
    plain[0x3d - 0x18] = static_cast<std::uint8_t>(codePage >> 8);
    std::memcpy(&plain[0x72 - 0x18], &created, 8);
    const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(created));
    for (std::size_t i = 0; i < 40; ++i) {
        std::uint8_t b = 0;
        if (i / 2 < password.size())
            b = static_cast<std::uint8_t>(password[i / 2] >> (8 * (i % 2)));
        plain[0x42 - 0x18 + i] = b ^ static_cast<std::uint8_t>(days >> (8 * (i % 4)));
    }
    const auto mask = keystream();
    for (std::size_t i = 0; i < 128; ++i)
        page[0x18 + i] = static_cast<char>(plain[i] ^ mask[i]);
    return page;
}

int errorOf(std::string_view bytes, std::uint64_t size) {
    try {
        ParseJetHeader(bytes, size, "x.mdb");
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

TEST(JetHeader, readsVersionCodePageAndPassword) {
    const auto open = ParseJetHeader(jet4Header(u"", 37712.5, 932), 4096 * 10, "a.mdb");
    EXPECT_EQ(open.version, JetVersion::Jet4);
    EXPECT_EQ(open.pageSize, 4096u);
    EXPECT_EQ(open.codePage, 932);
    EXPECT_FALSE(open.hasPassword);

    EXPECT_TRUE(ParseJetHeader(jet4Header(u"secret", 37712.5), 4096 * 10, "a.mdb").hasPassword);
    // The date mask differs per file: a password is found whatever the creation date.
    EXPECT_TRUE(ParseJetHeader(jet4Header(u"x", 12.0), 4096 * 10, "a.mdb").hasPassword);
}

TEST(JetHeader, refusesForeignShortAndCutFiles) {
    const auto good = jet4Header(u"", 37712.5);
    EXPECT_EQ(errorOf("", 0), 3343);
    EXPECT_EQ(errorOf(good.substr(0, 100), 100), 3343);
    EXPECT_EQ(errorOf(std::string(4096, 'x'), 4096 * 4), 3343);

    auto ace = good;
    std::memcpy(ace.data() + 4, "Standard ACE DB", 15);
    EXPECT_EQ(errorOf(ace, 4096 * 4), 3343);
    auto future = good;
    future[0x14] = 3;
    EXPECT_EQ(errorOf(future, 4096 * 4), 3343);

    EXPECT_EQ(errorOf(good, 4096 * 4 + 100), 3049);  // not whole pages
    EXPECT_EQ(errorOf(good, 4096 * 2), 3049);        // no room for the catalog
    EXPECT_EQ(errorOf(good, 4096 * 3), 0);
}

}  // namespace

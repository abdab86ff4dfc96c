#include "host/jet/jet_header.h"

#include <array>
#include <cstring>

#include "host/error.h"

namespace zanfor::host::jet {

namespace {

constexpr std::string_view kJetMagic("\x00\x01\x00\x00Standard Jet DB\x00", 20);
constexpr std::string_view kAceMagic("\x00\x01\x00\x00Standard ACE DB\x00", 20);
constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kMaskedStart = 0x18;
constexpr std::size_t kCodePageOffset = 0x3c;
constexpr std::size_t kEncodingKeyOffset = 0x3e;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kCreationDateOffset = 0x72;

// The header from 0x18 on is obscured by RC4 with a fixed key, the same in every file.
std::array<std::uint8_t, 128> headerMask() {
    const std::uint8_t key[] = {0xc7, 0xda, 0x39, 0x6b};
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + s[i] + key[i % 4]);
        std::swap(s[i], s[j]);
    }
    std::array<std::uint8_t, 128> mask{};
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (auto& m : mask) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + s[a]);
        std::swap(s[a], s[b]);
        m = s[static_cast<std::uint8_t>(s[a] + s[b])];
    }
    return mask;
}

[[noreturn]] void notADatabase(const std::string& name, std::string_view why) {
    throw Error(err::kUnrecognizedFormat,
                "データベース形式 '" + name + "' を認識できません。" + std::string(why));
}

}  // namespace

JetHeader ParseJetHeader(std::string_view bytes, std::uint64_t fileSize,
                         const std::string& fileName) {
    if (bytes.size() < kCreationDateOffset + 8 || fileSize < bytes.size()) {
        notADatabase(fileName, "(ファイルが短すぎます)");
    }
    const bool ace = bytes.substr(0, kAceMagic.size()) == kAceMagic;
    if (!ace && bytes.substr(0, kJetMagic.size()) != kJetMagic)
        notADatabase(fileName, "");

    JetHeader header;
    const auto version = static_cast<std::uint8_t>(bytes[kVersionOffset]);
    if (ace && version >= kAce2007 && version <= kAceLatest) {
        header.version = JetVersion::Jet4;
        header.pageSize = 4096;
        header.aceVersion = version;
    } else if (!ace && version == 0) {
        header.version = JetVersion::Jet3;
        header.pageSize = 2048;
    } else if (!ace && version == 1) {
        header.version = JetVersion::Jet4;
        header.pageSize = 4096;
    } else {
        notADatabase(fileName, "(バージョン " + std::to_string(version) + " の形式は読めません)");
    }
    // Jet writes whole pages; a file that is not made of them, or too short to hold the
    // catalog's definition on page 2, was cut short.
    if (fileSize % header.pageSize != 0 || fileSize < 3 * header.pageSize) {
        throw Error(err::kDatabaseDamaged,
                    "データベース '" + fileName + "' を開けません。ファイルが破損しています。");
    }

    std::array<std::uint8_t, 128> plain{};
    const auto mask = headerMask();
    const std::size_t masked = header.version == JetVersion::Jet3 ? 126 : 128;
    for (std::size_t i = 0; i < masked && kMaskedStart + i < bytes.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(bytes[kMaskedStart + i]) ^ mask[i];
    }
    auto at = [&](std::size_t offset) { return plain[offset - kMaskedStart]; };
    header.codePage = at(kCodePageOffset) | (at(kCodePageOffset + 1) << 8);
    // An ACE file with a database password is always encrypted, and says so by a key here.
    if (header.aceVersion != 0) {
        for (std::size_t i = 0; i < 4; ++i)
            header.encrypted = header.encrypted || at(kEncodingKeyOffset + i) != 0;
    }

    // Jet 4 masks the password once more with the whole days of the creation date.
    std::uint8_t dateMask[4] = {0, 0, 0, 0};
    std::size_t passwordLength = 20;
    if (header.version == JetVersion::Jet4) {
        passwordLength = 40;
        double created = 0;
        std::uint8_t raw[8];
        for (std::size_t i = 0; i < 8; ++i)
            raw[i] = at(kCreationDateOffset + i);
        std::memcpy(&created, raw, 8);
        const auto days = static_cast<std::int32_t>(
            created > -2.0e9 && created < 2.0e9 ? static_cast<std::int64_t>(created) : 0);
        for (int i = 0; i < 4; ++i) {
            dateMask[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(days) >> (8 * i));
        }
    }
    for (std::size_t i = 0; i < passwordLength; ++i) {
        if ((at(kPasswordOffset + i) ^ dateMask[i % 4]) != 0) {
            header.hasPassword = true;
            break;
        }
    }
    return header;
}

}  // namespace zanfor::host::jet

#include "util/encoding.h"

#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <random>
#include <system_error>
#include <utility>

#include "util/vb_string.h"

namespace zanfor::util {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

[[noreturn]] void ThrowErrno(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

// iconv descriptors carry state and are not thread-safe, so each thread keeps its own.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false at the first byte it cannot convert, with
    // `in` left pointing at that byte.
    bool Convert(std::string_view& in, std::string& out) {
        if (!ok())
            return in.empty();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            out.append(buffer, dst);
            in.remove_prefix(in.size() - srcLeft);
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (error != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& ConverterFor(const std::string& to, const std::string& from) {
    thread_local std::map<std::pair<std::string, std::string>, Converter> cache;
    auto key = std::make_pair(to, from);
    auto it = cache.find(key);
    if (it == cache.end()) {
        it = cache.try_emplace(key, to.c_str(), from.c_str()).first;
    }
    return it->second;
}

std::string RepairUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8CharLength(bytes, i);
        const bool valid = length > 1 || static_cast<unsigned char>(bytes[i]) < 0x80;
        out += valid ? bytes.substr(i, length) : kReplacement;
        i += length;
    }
    return out;
}

bool IsAsciiCompatible(int codePage) {
    return codePage == 874 || codePage == 932 || codePage == 936 || codePage == 949 ||
           codePage == 950 || (codePage >= 1250 && codePage <= 1258);
}

bool IsAsciiOnly(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// A CP932 lead byte with a valid trail byte is one character even when it is unassigned;
// skipping only the lead would turn the trail into a stray ASCII letter.
std::size_t UndecodableLength(std::string_view rest, int codePage) {
    if (codePage != 932 || rest.size() < 2)
        return 1;
    const auto lead = static_cast<unsigned char>(rest[0]);
    const auto trail = static_cast<unsigned char>(rest[1]);
    const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const bool isTrail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
    return isLead && isTrail ? 2 : 1;
}

// Without a converter for the code page only ASCII is certain; the rest is marked as lost.
std::string DecodeAsciiOnly(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        out += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : kReplacement;
    }
    return out;
}

void Utf8RunToCp932(std::string_view run, std::string& out) {
    Converter& converter = ConverterFor("CP932", "UTF-8");
    while (!converter.Convert(run, out)) {
        out += '?';
        run.remove_prefix(Utf8CharLength(run, 0));
    }
}

std::filesystem::path TemporarySibling(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random{std::random_device{}()};
    const std::string name = "." + path.filename().string() + ".tmp" + std::to_string(::getpid()) +
                             "-" + std::to_string(++counter) + "-" + std::to_string(random());
    return path.parent_path() / name;
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            ThrowErrno(error, "write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Creates the temporary with O_EXCL so it never replaces someone else's file, and gives it the
// target's permissions so the rename does not change them.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    struct stat existing {};
    const bool hasTarget = ::stat(target.c_str(), &existing) == 0;
    for (int attempt = 0;; ++attempt) {
        temporary = TemporarySibling(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (hasTarget)
                ::fchmod(fd, existing.st_mode & 07777);
            return fd;
        }
        const int error = errno;
        if (error != EEXIST || attempt == 100)
            ThrowErrno(error, "create " + temporary.string());
    }
}

void WriteAndClose(int fd, std::string_view bytes) {
    try {
        WriteAll(fd, bytes);
        if (::fsync(fd) != 0) {
            const int error = errno;
            ThrowErrno(error, "fsync");
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ThrowErrno(error, "close");
    }
}

}  // namespace

std::string DecodeCodePage(std::string_view bytes, int codePage) {
    if (codePage == 65001)
        return RepairUtf8(bytes);
    if (IsAsciiCompatible(codePage) && IsAsciiOnly(bytes))
        return std::string(bytes);
    Converter& converter = ConverterFor("UTF-8", "CP" + std::to_string(codePage));
    if (!converter.ok())
        return DecodeAsciiOnly(bytes);
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    while (!converter.Convert(bytes, out)) {
        out += kReplacement;
        bytes.remove_prefix(UndecodableLength(bytes, codePage));
    }
    return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    auto put = [&](char32_t cp) { AppendUtf8(cp, out); };
    constexpr char32_t kReplacement = 0xFFFD;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        put(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
    }
    if (i < bytes.size())
        put(kReplacement);
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) { return DecodeCodePage(bytes, 932); }

// Invalid UTF-8 is cut out before iconv sees it, so iconv's own idea of valid UTF-8 never
// matters and every failure inside a valid run is a character CP932 lacks.
std::string Utf8ToCp932(std::string_view text) {
    if (IsAsciiOnly(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8CharLength(text, i);
        if (length > 1 || static_cast<unsigned char>(text[i]) < 0x80) {
            i += length;
            continue;
        }
        Utf8RunToCp932(text.substr(runStart, i - runStart), out);
        out += '?';
        runStart = ++i;
    }
    Utf8RunToCp932(text.substr(runStart), out);
    return out;
}

std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        return RepairUtf8(bytes.substr(kUtf8Bom.size()));
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp932ToUtf8(bytes);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.emplace_back(text.substr(begin));
    return lines;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        ThrowErrno(error, "open " + path.string());
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            ::close(fd);
            ThrowErrno(error, "read " + path.string());
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

std::string ReadTextFile(const std::filesystem::path& path) {
    return DecodeText(ReadFileBytes(path));
}

std::filesystem::path MakeUniqueFolder(const std::filesystem::path& prefix) {
    auto pattern = prefix.string() + "XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(), pattern);
    return pattern;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary;
    const int fd = CreateTemporary(path, temporary);
    std::error_code ignored;
    try {
        WriteAndClose(fd, bytes);
    } catch (...) {
        std::filesystem::remove(temporary, ignored);
        throw;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        throw std::system_error(error, "replace " + path.string());
    }
}

void WriteCp932Lines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToCp932(line);
        bytes += "\r\n";
    }
    WriteFileAtomically(path, bytes);
}

}  // namespace zanfor::util

#include "core/program_files.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "util/vb_string.h"

namespace zanfor::app {

namespace {

std::size_t lastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

bool writableFolder(const std::filesystem::path& folder) {
    return !folder.empty() && std::filesystem::is_directory(folder) &&
           ::access(folder.c_str(), W_OK) == 0;
}

// Each missing file is copied under a temporary name first, so that a copy cut short never
// stands as the resource. A resource that cannot be copied is left to the program's own
// fallback (the template is written from code, the help page taken from the program).
void copyMissingResources(const std::filesystem::path& shared,
                          const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(shared, ec)) {
        const auto target = folder / entry.path().filename();
        if (!entry.is_regular_file(ec) || std::filesystem::exists(target, ec))
            continue;
        auto partial = target;
        partial += ".partial";
        if (std::filesystem::copy_file(entry.path(), partial,
                                       std::filesystem::copy_options::overwrite_existing, ec))
            std::filesystem::rename(partial, target, ec);
        if (ec)
            std::filesystem::remove(partial, ec);
    }
}

}  // namespace

std::string FileNamePart(std::string_view path) {
    const auto pos = lastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string WithExtension(std::string_view chosen, std::string_view extension) {
    // Only a whole ending is dropped: a name that merely ends in the letters ("readb") keeps
    // them.
    const auto ending = "." + std::string(extension);
    if (chosen.size() >= ending.size() &&
        util::UCase(chosen.substr(chosen.size() - ending.size())) == util::UCase(ending))
        chosen.remove_suffix(ending.size());
    return std::string(chosen) + ending;
}

std::string FolderPart(std::string_view path) {
    const auto pos = lastSeparator(path);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ValueAfterEquals(std::string_view line) {
    const auto pos = util::InStr(line, "=");
    if (pos == 0)
        return {};
    return util::Trim(util::Mid(line, pos + 1, 255));
}

std::string WindowsVersionName(int platformId, int major, int minor) {
    struct Row {
        int platform, major, minor;
        const char* name;
    };
    static constexpr Row kRows[] = {
        {1, 4, 0, "Win95"}, {1, 4, 10, "Win98"},  {1, 4, 90, "WinMe"},
        {2, 4, 0, "NT4"},   {2, 5, 0, "Win2000"},
    };
    for (const auto& r : kRows) {
        if (r.platform == platformId && r.major == major && r.minor == minor)
            return r.name;
    }
    return "ERROR";
}

std::filesystem::path SharedResourceFolder(const std::filesystem::path& executable) {
    return executable.parent_path().parent_path() / "share" / "zanfor";
}

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executable) {
    std::error_code ec;
    const auto shared = SharedResourceFolder(executable);
    const bool installed = std::filesystem::is_directory(shared, ec);
    std::filesystem::path folder;
    if (const char* home = std::getenv("ZANFOR_HOME"); home && *home) {
        folder = home;
    } else if (!installed && writableFolder(executable.parent_path())) {
        folder = executable.parent_path();
    } else {
        const char* xdg = std::getenv("XDG_DATA_HOME");
        const char* userHome = std::getenv("HOME");
        std::filesystem::path data = xdg && *xdg ? std::filesystem::path(xdg)
                                     : userHome  ? std::filesystem::path(userHome) / ".local/share"
                                                 : std::filesystem::temp_directory_path();
        folder = data / "zanfor";
    }
    std::filesystem::create_directories(folder);
    if (installed)
        copyMissingResources(shared, folder);
    return std::filesystem::absolute(folder);
}

std::int32_t TextToLong(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const std::string t = util::Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    std::int64_t value = 0;
    bool any = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        value = value * 10 + (t[i] - '0');
        any = true;
        if (value > 2147483648LL)
            return 0;
    }
    if (!any)
        return 0;
    value = negative ? -value : value;
    if (value > 2147483647LL || value < -2147483648LL)
        return 0;
    return static_cast<std::int32_t>(value);
}

}  // namespace zanfor::app

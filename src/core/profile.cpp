#include "core/profile.h"

#include <system_error>

#include "core/program_files.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::app {

namespace {

struct Key {
    const char* name;
    std::size_t readLimit;
    std::string Profile::*field;
};

// Tried in this order; the first key found decides the line.
constexpr Key kKeys[] = {
    {"Title", 255, &Profile::title},  {"Kisya", 255, &Profile::kisya},
    {"Bumon", 255, &Profile::bumon},  {"CapTm", 2, &Profile::capTm},
    {"Auther", 30, &Profile::auther},
};

}  // namespace

Profile ReadProfile(const std::filesystem::path& folder) {
    Profile profile;
    std::string text;
    try {
        text = util::ReadTextFile(folder / kProfileFileName);
    } catch (const std::system_error&) {
        return profile;
    }
    for (const auto& line : util::SplitLines(text)) {
        // The key may stand anywhere before the "=" ("xxTitle=" is a title line), but never
        // in the value: a company called "Title Inc." must not turn its line into a title.
        const auto equals = util::InStr(line, "=");
        const std::string keyPart = equals ? util::Left(line, equals - 1) : line;
        for (const auto& key : kKeys) {
            const auto pos = util::InStr(keyPart, key.name);
            if (pos == 0)
                continue;
            const std::size_t valueStart = pos + util::Len(key.name) + 1;
            profile.*key.field = util::RTrim(util::Mid(line, valueStart, key.readLimit));
            break;
        }
    }
    return profile;
}

Profile ProfileFromTextBoxes(const std::string& title, const std::string& company,
                             const std::string& bumon, const std::string& capTime,
                             const std::string& auther) {
    return {util::Trim(title), util::Trim(company), util::Trim(bumon), util::Trim(capTime),
            util::LeftRTrim(auther, 20)};
}

void WriteProfile(const std::filesystem::path& folder, const Profile& profile) {
    util::WriteCp932Lines(
        folder / kProfileFileName,
        {"Title=" + profile.title, "Kisya=" + profile.kisya, "Bumon=" + profile.bumon,
         "CapTm=" + profile.capTm, "Auther=" + util::Left(profile.auther, 20)});
}

}  // namespace zanfor::app

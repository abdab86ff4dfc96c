#pragma once

// The user profile Zanfor.dat: the report-header texts the user registers with "登　　　録".

#include <filesystem>
#include <string>

namespace zanfor::app {

struct Profile {
    std::string title;   // Title
    std::string kisya;   // company
    std::string bumon;   // department
    std::string capTm;   // capture time in seconds, as text
    std::string auther;  // author
    friend bool operator==(const Profile&, const Profile&) = default;
};

// Reads folder/Zanfor.dat. A missing or unreadable file gives empty values: a first start has
// no profile yet.
Profile ReadProfile(const std::filesystem::path& folder);

// The profile as cmdSave takes it from the text boxes: title, company, department and capture
// time trimmed on both sides, the author cut to 20 characters with trailing blanks removed.
Profile ProfileFromTextBoxes(const std::string& title, const std::string& company,
                             const std::string& bumon, const std::string& capTime,
                             const std::string& auther);

// Writes folder/Zanfor.dat (CP932, CR LF), replacing it whole. Throws std::system_error.
void WriteProfile(const std::filesystem::path& folder, const Profile& profile);

inline constexpr const char* kProfileRegistered = "基本情報が登録されました。";

}  // namespace zanfor::app

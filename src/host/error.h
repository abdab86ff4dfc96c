#pragma once

// Failures of the platform layer carry the number the original platform (Jet, DAO, Access, VB)
// used for the same situation, so every command can treat them as it always did.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zanfor::host {

// Numbers used across the program. Where Access or DAO had a number for the situation, it is
// that number; the descriptions are the Japanese texts the user reads in the error report.
namespace err {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kSubOrFunctionNotDefined = 35;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectDoesNotSupport = 438;
inline constexpr int kNoPrinter = 2202;
inline constexpr int kNoSuchObject = 2102;
inline constexpr int kPropertyReference = 2455;
inline constexpr int kNoGroupLevel = 2464;
inline constexpr int kAccessClosed = 2467;
inline constexpr int kActionCancelled = 2501;
inline constexpr int kCannotOpenFile = 3024;
inline constexpr int kPasswordProtected = 3031;
inline constexpr int kCannotOpenForAccess = 3051;
inline constexpr int kLinkedFileMissing = 3044;
inline constexpr int kFileInUse = 3045;
inline constexpr int kDatabaseDamaged = 3049;
inline constexpr int kNoSuchTable = 3078;
inline constexpr int kAmbiguousOuterJoins = 3258;
inline constexpr int kItemNotFound = 3265;
inline constexpr int kPropertyNotFound = 3270;
inline constexpr int kUnrecognizedFormat = 3343;
inline constexpr int kOlderAccessVersion = 7866;
// Numbers of this program's own, for failures the original platform never had.
inline constexpr int kWorkDatabase = 30001;
inline constexpr int kWorkDatabaseTooNew = 30002;
inline constexpr int kUnknownField = 30003;
inline constexpr int kProjectStorageDamaged = 30010;
inline constexpr int kVbaProjectDamaged = 30011;
// A file of an object export folder that does not read as the text Access writes.
inline constexpr int kExportMalformed = 30020;
// This build of the command line cannot draw reports or pictures (no report engine module).
inline constexpr int kNoReportEngine = 30041;
}  // namespace err

class Error : public std::runtime_error {
public:
    Error(int number, std::string description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// A failed file-system call on `path`: 3024 when nothing is there, 76 when the path itself
// cannot lead anywhere (a loop of links, a name too long), else 3051; the reason in Japanese,
// since the system's own text is English.
Error FileSystemError(const std::filesystem::path& path, std::error_code code);

}  // namespace zanfor::host

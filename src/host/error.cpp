#include "host/error.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace zanfor::host {

namespace {

struct Reason {
    int code;
    std::string_view text;
};

constexpr Reason kReasons[] = {
    {ENOTDIR, "パスの途中にフォルダーではないものがあります"},
    {ELOOP, "シンボリック リンクが循環しているか、深すぎます"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {EACCES, "アクセスが拒否されました"},
    {EPERM, "操作が許可されていません"},
    {EISDIR, "フォルダーです"},
    {EROFS, "読み取り専用のファイル システムです"},
    {ENOSPC, "ディスクの空き領域が足りません"},
    {EIO, "入出力エラーが発生しました"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "開いているファイルが多すぎます"},
    {ENXIO, "デバイスがありません"},
    {ENODEV, "デバイスがありません"},
};

std::string reasonFor(const std::error_code& code) {
    for (const auto& r : kReasons) {
        if (code == static_cast<std::errc>(r.code))
            return std::string(r.text);
    }
    return "システム エラー " + std::to_string(code.value());
}

}  // namespace

Error::Error(int number, std::string description)
    : std::runtime_error(std::to_string(number) + ": " + description),
      number_(number),
      description_(std::move(description)) {}

Error FileSystemError(const std::filesystem::path& path, std::error_code code) {
    const std::string name = "'" + path.string() + "'";
    if (code == std::errc::no_such_file_or_directory)
        return Error(err::kCannotOpenFile, "ファイル " + name + " が見つかりません。");
    const auto reason = reasonFor(code);
    if (code == std::errc::not_a_directory || code == std::errc::too_many_symbolic_link_levels ||
        code == std::errc::filename_too_long)
        return Error(err::kPathNotFound, "パス " + name + " が見つかりません。(" + reason + ")");
    return Error(err::kCannotOpenForAccess, "ファイル " + name + " を開けません。(" + reason + ")");
}

}  // namespace zanfor::host

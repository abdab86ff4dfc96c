#include "batch/analysis_pattern.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "core/error_report.h"
#include "core/program_files.h"
#include "host/error.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::batch {

namespace {

// A pattern is 22 short lines; anything far larger is another file chosen by mistake, and is
// refused before it is read whole.
constexpr off_t kLargestPattern = 1 << 20;

// One line of the file: the key, the value it holds and which values it takes.
struct PatternKey {
    std::string_view key;
    std::int16_t* value;
    bool (*accepts)(int value, const BatchStep& step);
    const BatchStep* step;
};

bool IsFlag(int value, const BatchStep&) {
    return value == 0 || value == 1 || value == app::kNoObjects;
}

bool IsOption(int value, const BatchStep& step) {
    return value >= 1 && value <= static_cast<int>(step.optionCaptions.size());
}

// The keys in file order over `batch`'s values.
std::vector<PatternKey> Keys(app::BatchState& batch) {
    const auto steps = BatchSteps();
    std::vector<PatternKey> keys;
    for (std::size_t i = 0; i < steps.size(); ++i)
        keys.push_back({steps[i].flagKey, &batch.flags[i], IsFlag, &steps[i]});
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (!steps[i].optionKey.empty())
            keys.push_back({steps[i].optionKey, &batch.options[i], IsOption, &steps[i]});
    return keys;
}

// The value a line holds for `key`, when it is a digit.
std::optional<int> ValueAfter(std::string_view line, std::size_t keyEnd) {
    const auto eq = line.find('=', keyEnd);
    if (eq == std::string_view::npos || eq + 1 >= line.size())
        return std::nullopt;
    const char c = line[eq + 1];
    if (c < '0' || c > '9')
        return std::nullopt;
    return c - '0';
}

host::Error FileError(const std::filesystem::path& file, const std::system_error& e) {
    return host::FileSystemError(file, e.code());
}

void Report(app::RunUi& ui, std::string_view place, std::string_view what, const host::Error& e) {
    const auto report = app::BuildSpecialErrorReport(
        place, e.number(), {std::string(what), "内容:" + e.description()});
    ui.messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
}

app::OpenFileRequest PatternDialog(std::string_view title) {
    std::error_code ec;
    const auto here = std::filesystem::current_path(ec);
    return {.title = std::string(title),
            .filterDescription = "解析ﾊﾟﾀｰﾝ(*.apt)",
            .filterPattern = "*.apt",
            .initialFolder = ec ? std::string() : here.string()};
}

}  // namespace

std::vector<std::string> PatternLines(const app::BatchState& batch) {
    auto copy = batch;
    std::vector<std::string> lines;
    for (const auto& key : Keys(copy))
        lines.push_back(std::string(key.key) + "=" + std::to_string(*key.value));
    return lines;
}

void ReadPatternLines(const std::vector<std::string>& lines, app::BatchState& batch) {
    const auto keys = Keys(batch);
    for (const auto& line : lines) {
        for (const auto& key : keys) {
            const auto at = line.find(key.key);
            if (at == std::string::npos)
                continue;
            const auto value = ValueAfter(line, at + key.key.size());
            if (value && key.accepts(*value, *key.step))
                *key.value = static_cast<std::int16_t>(*value);
            break;
        }
    }
}

std::string PatternFileName(std::string_view chosen) {
    if (chosen.empty())
        return {};
    return app::WithExtension(chosen, "apt");
}

void WritePatternFile(const std::filesystem::path& file, const app::BatchState& batch) {
    try {
        util::WriteCp932Lines(file, PatternLines(batch));
    } catch (const std::system_error& e) {
        throw FileError(file, e);
    }
}

void ReadPatternFile(const std::filesystem::path& file, app::BatchState& batch) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        throw host::FileSystemError(file, {errno, std::generic_category()});
    // A folder or a device is no pattern, and a FIFO would wait for ever.
    if (!S_ISREG(st.st_mode)) {
        throw host::FileSystemError(
            file, std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                           : std::errc::no_such_device_or_address));
    }
    if (st.st_size > kLargestPattern) {
        throw host::Error(host::err::kUnrecognizedFormat,
                          "'" + file.string() + "' は解析パターンのファイルではありません。");
    }
    std::string text;
    try {
        text = util::ReadTextFile(file);
    } catch (const std::system_error& e) {
        throw FileError(file, e);
    }
    auto read = batch;
    ReadPatternLines(util::SplitLines(text), read);
    batch = read;
}

void SavePattern(const app::BatchState& batch, app::Dialogs& dialogs, app::RunUi& ui) {
    const auto file = PatternFileName(dialogs.saveFileName(PatternDialog("解析用パターンの保存")));
    if (file.empty())
        return;
    try {
        WritePatternFile(file, batch);
    } catch (const host::Error& e) {
        Report(ui, kSavePlace, kPatternNotSaved, e);
        return;
    }
    ui.messageBox(kPatternSaved, app::kProductTitle, app::MsgButtons::Ok,
                  app::MsgIcon::Information);
}

bool ReadPattern(BatchPanel& panel, app::AppState& state, app::Dialogs& dialogs, app::RunUi& ui) {
    const auto file = dialogs.openFileName(PatternDialog("解析用パターンの選択"));
    if (file.empty())
        return false;
    try {
        ReadPatternFile(file, state.batch);
    } catch (const host::Error& e) {
        Report(ui, kReadPlace, kPatternNotRead, e);
        return false;
    }
    ShowPattern(panel, state);
    ui.messageBox(kPatternRead, app::kProductTitle, app::MsgButtons::Ok, app::MsgIcon::Information);
    return true;
}

}  // namespace zanfor::batch

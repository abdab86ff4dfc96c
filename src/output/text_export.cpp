#include "output/text_export.h"

#include <cstdio>
#include <system_error>

#include "host/error.h"
#include "util/encoding.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace zanfor::output {

using host::Value;

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kWarningListLength = 10;

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// CP932 puts the yen sign and the overline where ASCII has the backslash and the tilde, and a
// Japanese system shows those bytes as the yen sign and the overline again: nothing is lost.
std::string FoldedAsCp932ReadsBack(std::string_view text) {
    std::string folded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\u00A5") {
            folded += '\\';
            ++i;
        } else if (text.substr(i, 3) == "\u203E") {
            folded += '~';
            i += 2;
        } else {
            folded += text[i];
        }
    }
    return folded;
}

// The file's bytes, built in memory and written in one piece, so a failure halfway never
// leaves a cut-off file where the user looks for the export.
class Output {
public:
    explicit Output(TextEncoding encoding) : encoding_(encoding) {
        if (encoding_ == TextEncoding::Utf8WithBom)
            bytes_ = kUtf8Bom;
    }

    // Appends `text`; a value whose characters CP932 cannot all hold is noted against the
    // record and item it came from. Reading the bytes back is the test, so a character that
    // would come back as another one counts as lost too.
    void append(std::string_view text, std::int64_t record = 0, std::string_view item = {}) {
        if (encoding_ == TextEncoding::Utf8WithBom || IsAscii(text)) {
            bytes_ += text;
            return;
        }
        const auto converted = util::Utf8ToCp932(text);
        if (record > 0 && util::Cp932ToUtf8(converted) != FoldedAsCp932ReadsBack(text))
            result_.lost.push_back({record, std::string(item)});
        bytes_ += converted;
    }
    void endLine() { bytes_ += kLineEnd; }
    void endRecord() { ++result_.records; }

    ExportResult write(const std::filesystem::path& file) {
        try {
            util::WriteFileAtomically(file, bytes_);
        } catch (const std::system_error& e) {
            throw host::FileSystemError(file, e.code());
        }
        return result_;
    }

private:
    TextEncoding encoding_;
    std::string bytes_;
    ExportResult result_;
};

std::string FormatDate(double value) {
    const auto dt = util::FromJetDate(value);
    char text[40];
    if (dt.hour == 0 && dt.minute == 0 && dt.second == 0) {
        std::snprintf(text, sizeof text, "#%04d-%02d-%02d#", dt.year, dt.month, dt.day);
    } else {
        std::snprintf(text, sizeof text, "#%04d-%02d-%02d %02d:%02d:%02d#", dt.year, dt.month,
                      dt.day, dt.hour, dt.minute, dt.second);
    }
    return text;
}

void WriteCsv(const OutputInfo& info, const workdb::WorkDatabase& work, Output& out) {
    // The heading line is plain: the titles hold neither commas nor quotes.
    for (std::size_t i = 0; i < info.titles.size(); ++i) {
        if (i > 0)
            out.append(",");
        out.append(info.titles[i]);
    }
    out.endLine();
    workdb::Query rows(work, "SELECT * FROM \"" + std::string(info.source) + "\"");
    const int fields = static_cast<int>(info.titles.size());
    if (rows.columnCount() < fields) {
        throw host::Error(host::err::kItemNotFound,
                          std::string(info.source) + " の項目が足りません (" +
                              std::to_string(rows.columnCount()) + " 項目)。");
    }
    std::int64_t record = 0;
    while (rows.next()) {
        ++record;
        for (int i = 0; i < fields; ++i) {
            if (i > 0)
                out.append(",");
            out.append(CsvField(rows.value(i)), record, info.titles[static_cast<std::size_t>(i)]);
        }
        out.endLine();
        out.endRecord();
    }
}

// One heading line and the stored SQL per query; line breaks inside the SQL stay as stored.
void WriteSql(const workdb::WorkDatabase& work, Output& out) {
    workdb::Query rows(work,
                       "SELECT QueryName, QueryType, QuerySQL FROM T_AcQeryInfo ORDER BY rowid");
    std::int64_t record = 0;
    while (rows.next()) {
        ++record;
        const auto name = rows.value(0).toText();
        out.append("クエリー名：" + name + "(" + rows.value(1).toText() + ")", record, name);
        out.endLine();
        out.append(rows.value(2).toText(), record, name);
        out.endLine();
        out.endRecord();
    }
}

void WriteModules(const workdb::WorkDatabase& work, Output& out) {
    workdb::Query rows(work, "SELECT ObjectName, \"Procedure\" FROM T_AcModule ORDER BY rowid");
    std::int64_t record = 0;
    while (rows.next()) {
        out.append(rows.value(1).toText(), ++record, rows.value(0).toText());
        out.endLine();
        out.endRecord();
    }
}

}  // namespace

std::string CsvField(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Null:
            return "#NULL#";
        case Value::Kind::Bool:
            return value.toBool() ? "#TRUE#" : "#FALSE#";
        case Value::Kind::Integer:
        case Value::Kind::Double:
            return value.toText();
        case Value::Kind::Date:
            return FormatDate(value.toDouble());
        case Value::Kind::Text:
            break;
    }
    // Write # left an embedded quote single, which ends the field early for every reader;
    // doubled, the value reads back whole.
    std::string quoted = "\"";
    for (const char c : value.toText()) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

ExportResult WriteExport(OutputKind kind, const workdb::WorkDatabase& work,
                         const std::filesystem::path& file, TextEncoding encoding) {
    const auto& info = Info(kind);
    Output out(encoding);
    switch (info.frame) {
        case OutputFrame::Csv:
            WriteCsv(info, work, out);
            break;
        case OutputFrame::Text:
            if (kind == OutputKind::SqlText) {
                WriteSql(work, out);
            } else {
                WriteModules(work, out);
            }
            break;
        case OutputFrame::Excel:
            throw host::Error(host::err::kInvalidProcedureCall,
                              std::string(info.button) + " はファイル出力ではありません。");
    }
    return out.write(file);
}

std::string LostTextWarning(std::span<const LostText> lost) {
    if (lost.empty())
        return {};
    std::string text = "Shift_JIS(CP932)で表せない文字を「?」に置き換えて出力しました (" +
                       std::to_string(lost.size()) + " か所)。";
    for (std::size_t i = 0; i < lost.size() && i < kWarningListLength; ++i)
        text += "\nレコード " + std::to_string(lost[i].record) + "「" + lost[i].item + "」";
    if (lost.size() > kWarningListLength)
        text += "\nほか " + std::to_string(lost.size() - kWarningListLength) + " か所";
    return text;
}

}  // namespace zanfor::output

#include "report/report_format.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "collect/vocabulary.h"
#include "report/qt_text.h"
#include "util/jet_date.h"

namespace zanfor::report {

namespace {

using host::Value;

// The actions a converted macro statement is recorded as, by the numbers the macro collector
// gives them; Access's Japanese names of the actions.
constexpr std::array<std::pair<int, const char*>, 52> kMacroActions{{
    {1, "SQLの実行"},
    {2, "アプリケーションの実行"},
    {3, "イベントの取り消し"},
    {4, "画面のエコー"},
    {5, "オブジェクトのコピー"},
    {6, "再描画"},
    {7, "オブジェクトの削除"},
    {8, "オブジェクトの選択"},
    {9, "オブジェクトの送信"},
    {10, "オブジェクトの保存"},
    {11, "キー送信"},
    {12, "クエリを開く"},
    {13, "コマンドの実行"},
    {14, "カーソル移動"},
    {15, "移動/サイズ変更"},
    {16, "ツールバーの表示"},
    {17, "データベース変換"},
    {18, "テーブルを開く"},
    {19, "テキスト変換"},
    {20, "フィルタの実行"},
    {21, "フォームを開く"},
    {22, "プロシージャの実行"},
    {23, "ページの移動"},
    {24, "マクロの実行"},
    {25, "マクロの中止"},
    {26, "メッセージの設定"},
    {27, "メッセージ"},
    {28, "メニュー項目の設定"},
    {30, "モジュールを開く"},
    {31, "レコードの移動"},
    {32, "レコードの検索"},
    {33, "レポートを開く"},
    {34, "ワークシート変換"},
    {35, "印刷"},
    {36, "警告音"},
    {37, "元のサイズに戻す"},
    {38, "砂時計ポインタ"},
    {39, "再クエリ"},
    {40, "最小化"},
    {41, "最大化"},
    {42, "次を検索"},
    {43, "終了"},
    {44, "出力"},
    {45, "条件の終わり"},
    {46, "全レコードの表示"},
    {47, "値の代入"},
    {48, "閉じる"},
    {49, "名前の変更"},
    {51, "ストアドプロシージャを開く"},
    {52, "ダイアグラムを開く"},
    {53, "データアクセスページを開く"},
    {54, "ビューを開く"},
}};

std::optional<double> NumberOf(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Integer:
        case Value::Kind::Double:
        case Value::Kind::Bool:
            return value.toDouble();
        case Value::Kind::Text: {
            bool ok = false;
            const double d = ToQString(value.toText()).trimmed().toDouble(&ok);
            return ok ? std::optional<double>(d) : std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

std::optional<double> DateOf(const Value& value) {
    if (value.kind() == Value::Kind::Date)
        return value.toDouble();
    if (value.kind() == Value::Kind::Text) {
        const std::string text = value.toText();
        if (auto d = util::ParseWorkDbDate(text))
            return d;
        return util::ParseVbDate(text);
    }
    return std::nullopt;
}

QString Grouped(double value, int decimals) {
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale.toString(value, 'f', decimals);
}

QString DateText(const Value& value, bool time, bool seconds) {
    const auto jet = DateOf(value);
    if (!jet)
        return CleanText(ToQString(value.toText()), false);
    const auto dt = util::FromJetDate(*jet);
    QString text = QString::asprintf("%04d/%02d/%02d", dt.year, dt.month, dt.day);
    if (time) {
        text += QString::asprintf(" %02d:%02d", dt.hour, dt.minute);
        if (seconds)
            text += QString::asprintf(":%02d", dt.second);
    }
    return text;
}

QString NumberText(const Value& value, bool blankZero) {
    const auto number = NumberOf(value);
    if (!number)
        return CleanText(ToQString(value.toText()), false);
    if (blankZero && *number == 0)
        return {};
    const bool whole = std::floor(*number) == *number && std::fabs(*number) < 1e15;
    return whole ? Grouped(*number, 0) : ToQString(host::FormatVbNumber(*number));
}

}  // namespace

QString CleanText(const QString& text, bool code) {
    QString out;
    out.reserve(text.size());
    qsizetype column = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                continue;
            out += u'\n';
            column = 0;
        } else if (c == u'\n') {
            out += u'\n';
            column = 0;
        } else if (c == u'\t') {
            const qsizetype blanks = code ? 4 - column % 4 : 1;
            out += QString(blanks, u' ');
            column += blanks;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            out += u' ';
            ++column;
        } else {
            out += c;
            ++column;
        }
    }
    return out;
}

QString MacroActionName(std::int64_t actionNo) {
    for (const auto& [number, name] : kMacroActions) {
        if (number == actionNo)
            return ToQString(name);
    }
    return QStringLiteral("アクション %1").arg(actionNo);
}

QString FormatValue(const Value& value, Format format) {
    if (value.isNull())
        return {};
    switch (format) {
        case Format::Text:
            return CleanText(ToQString(value.toText()), false);
        case Format::Number:
            return NumberText(value, false);
        case Format::BlankZero:
            return NumberText(value, true);
        case Format::Decimal1: {
            const auto number = NumberOf(value);
            return number ? QString::number(*number, 'f', 1) : ToQString(value.toText());
        }
        case Format::Kilobytes: {
            const auto number = NumberOf(value);
            return number ? Grouped(*number, 1) : ToQString(value.toText());
        }
        case Format::DateTime:
            return DateText(value, true, false);
        case Format::DateTimeSeconds:
            return DateText(value, true, true);
        case Format::Date:
            return DateText(value, false, false);
        case Format::Mark:
            return value.toBool() ? QStringLiteral("○") : QString();
        case Format::YesNo:
            return value.toBool() ? QStringLiteral("はい") : QStringLiteral("いいえ");
        case Format::FieldType: {
            const std::string code = value.toText();
            const std::string name = collect::FieldTypeName(code);
            return ToQString(name == "?" ? code : name);
        }
        case Format::MacroAction:
            return MacroActionName(value.toInteger());
    }
    return ToQString(value.toText());
}

QString FormatForHeading(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Date:
            return FormatValue(value, Format::DateTime);
        case Value::Kind::Bool:
            return FormatValue(value, Format::YesNo);
        default:
            return FormatValue(value, Format::Text).replace(u'\n', u' ');
    }
}

}  // namespace zanfor::report

#include "report/report_format.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "collect/macro_collector.h"
#include "collect/vocabulary.h"
#include "report/qt_text.h"
#include "util/jet_date.h"

namespace zanfor::report {

namespace {

using host::Value;

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
    return ToQString(collect::MacroActionName(actionNo));
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

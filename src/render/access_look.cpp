#include "render/access_look.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "util/vb_string.h"

namespace zanfor::render {

namespace {

// The Windows 2000 classic scheme, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30), as 0xRRGGBB.
constexpr std::array<unsigned, 31> kClassicScheme{
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x000080, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xD4D0C8};

struct Substitute {
    std::string_view windows;
    const char* family;
};

// Upper-cased Windows names; the P (proportional) faces keep their own IPA counterpart.
constexpr std::array<Substitute, 22> kSubstitutes{{
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGOTHIC", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},
    {"MS GOTHIC", "IPAGothic"},
    {"MS UI GOTHIC", "IPAPGothic"},
    {"メイリオ", "IPAPGothic"},
    {"MEIRYO", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"MS PMINCHO", "IPAPMincho"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"MS MINCHO", "IPAMincho"},
    {"TAHOMA", "Liberation Sans"},
    {"ARIAL", "Liberation Sans"},
    {"MS SANS SERIF", "Liberation Sans"},
    {"MICROSOFT SANS SERIF", "Liberation Sans"},
    {"VERDANA", "Liberation Sans"},
    {"SEGOE UI", "Liberation Sans"},
    {"TIMES NEW ROMAN", "Liberation Serif"},
    {"MS SERIF", "Liberation Serif"},
    {"COURIER NEW", "Liberation Mono"},
    {"COURIER", "Liberation Mono"},
    {"LUCIDA CONSOLE", "Liberation Mono"},
}};

QColor Rgb(unsigned rgb) { return QColor::fromRgb(rgb); }

}  // namespace

QColor AccessColor(std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    if ((v & 0x80000000U) != 0) {
        const std::uint32_t index = v & 0xFFU;
        return Rgb(index < kClassicScheme.size() ? kClassicScheme[index] : 0x000000);
    }
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QString SubstituteFamily(std::string_view windowsFamily) {
    const std::string key = util::UCase(util::Trim(std::string(windowsFamily)));
    for (const auto& s : kSubstitutes) {
        if (key == s.windows)
            return QString::fromUtf8(s.family);
    }
    const QString asked =
        QString::fromUtf8(windowsFamily.data(), static_cast<qsizetype>(windowsFamily.size()));
    static const QStringList installed = QFontDatabase::families();
    if (!asked.isEmpty() && installed.contains(asked, Qt::CaseInsensitive))
        return asked;
    // A Japanese face this table does not know is still better drawn in a Japanese font.
    const bool japanese = std::any_of(windowsFamily.begin(), windowsFamily.end(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return japanese ? QStringLiteral("IPAPGothic") : QStringLiteral("Liberation Sans");
}

QFont AccessFont(std::string_view family, double pointSize, int weight, bool italic,
                 bool underline) {
    QFont font(SubstituteFamily(family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * 96.0 / 72.0))));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {

// Two one-pixel rings: top-left in `tl`, bottom-right in `br`.
void Ring(QPainter& p, const QRect& r, const QColor& tl, const QColor& br) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), tl);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), tl);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), br);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), br);
}

Qt::PenStyle PenStyleOf(int borderStyle) {
    switch (borderStyle) {
        case 2:
            return Qt::DashLine;
        case 3:
            return Qt::DashLine;
        case 4:
            return Qt::DotLine;
        case 5:
            return Qt::DotLine;
        case 6:
            return Qt::DashDotLine;
        case 7:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

}  // namespace

QRect DrawBorder(QPainter& p, const QRect& rect, const Border& border) {
    const QColor light = AccessColor(sys::kButtonHighlight);
    const QColor shadow = AccessColor(sys::kButtonShadow);
    const QColor dark = AccessColor(sys::kDarkShadow);
    const QColor face = AccessColor(sys::kButtonFace);
    switch (border.effect) {
        case Effect::Raised:
            Ring(p, rect, light, dark);
            Ring(p, rect.adjusted(1, 1, -1, -1), face, shadow);
            return rect.adjusted(2, 2, -2, -2);
        case Effect::Sunken:
            Ring(p, rect, shadow, light);
            Ring(p, rect.adjusted(1, 1, -1, -1), dark, face);
            return rect.adjusted(2, 2, -2, -2);
        case Effect::Etched:
            Ring(p, rect.adjusted(0, 0, -1, -1), shadow, shadow);
            Ring(p, rect.adjusted(1, 1, 0, 0), light, light);
            return rect.adjusted(2, 2, -2, -2);
        case Effect::Chiseled:
            p.fillRect(QRect(rect.left(), rect.bottom() - 1, rect.width(), 1), shadow);
            p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), light);
            return rect.adjusted(0, 0, 0, -2);
        case Effect::Shadowed: {
            const QRect body = rect.adjusted(0, 0, -2, -2);
            p.fillRect(QRect(body.left() + 2, body.bottom() + 1, body.width(), 2), shadow);
            p.fillRect(QRect(body.right() + 1, body.top() + 2, 2, body.height()), shadow);
            Ring(p, body, border.color, border.color);
            return body.adjusted(1, 1, -1, -1);
        }
        case Effect::Flat:
            break;
    }
    if (!border.visible)
        return rect;
    const int w = std::max(1, border.width);
    if (border.dashStyle <= 1) {
        for (int i = 0; i < w; ++i)
            Ring(p, rect.adjusted(i, i, -i, -i), border.color, border.color);
    } else {
        p.save();
        p.setPen(QPen(border.color, w, PenStyleOf(border.dashStyle)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(w / 2, w / 2, -(w + 1) / 2, -(w + 1) / 2));
        p.restore();
    }
    return rect.adjusted(w, w, -w, -w);
}

QRect DrawButtonFace(QPainter& p, const QRect& rect, bool pressed) {
    p.fillRect(rect, AccessColor(sys::kButtonFace));
    if (pressed) {
        Ring(p, rect, AccessColor(sys::kDarkShadow), AccessColor(sys::kButtonHighlight));
        Ring(p, rect.adjusted(1, 1, -1, -1), AccessColor(sys::kButtonShadow),
             AccessColor(sys::kButtonFace));
        return rect.adjusted(3, 3, -1, -1);
    }
    return DrawBorder(p, rect, Border{.effect = Effect::Raised});
}

}  // namespace zanfor::render

#pragma once

// The look shared by the page layouts: paper margins, line spacing and the few colours of a
// printed specification (dark text, one navy accent, grey rules and light shading that survive
// a monochrome printer).

#include <QRgb>

#include "report/text_layout.h"

namespace zanfor::report {

constexpr double Mm(double mm) { return mm * kTwipsPerMm; }
constexpr double Pt(double pt) { return pt * kTwipsPerPoint; }
// The distance between lines of text of a size.
constexpr double LineHeight(double points) { return Pt(points * 1.36); }

// A wider left margin leaves room for punching and binding.
struct Margins {
    double top = Mm(12);
    double bottom = Mm(10);
    double left = Mm(18);
    double right = Mm(12);
};

inline constexpr double kGutter = Mm(7);

inline constexpr QRgb kInk = 0xff1a1a1a;
inline constexpr QRgb kCodeInk = 0xff2b3440;
inline constexpr QRgb kMuted = 0xff6b7280;
inline constexpr QRgb kAccent = 0xff1f3a5f;
inline constexpr QRgb kAccentDark = 0xff14273f;
inline constexpr QRgb kRule = 0xffc3cad4;
inline constexpr QRgb kHeaderRule = 0xffaab5c3;
inline constexpr QRgb kDivider = 0xff8a99ad;
inline constexpr QRgb kHeaderFill = 0xffe3e9f1;
inline constexpr QRgb kSectionFill = 0xffe9eef5;
inline constexpr QRgb kRowHeadingFill = 0xfff0f3f7;
inline constexpr QRgb kStripe = 0xfff5f7fa;
inline constexpr QRgb kLabelFill = 0xffeef1f5;
inline constexpr QRgb kBoxFill = 0xfff8f8f6;
inline constexpr QRgb kTotalFill = 0xffeef2f7;

}  // namespace zanfor::report

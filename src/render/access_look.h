#pragma once

// How Access 2000 looked on a Windows 2000 desktop with the classic scheme: the system colours
// its colour properties may name, the fonts of this machine that stand in for Windows' fonts,
// and the 3-D edges of the special effects. Kept apart from the layout so that the form renderer
// reads as what it places where.

#include <QColor>
#include <QFont>
#include <QRect>
#include <cstdint>
#include <string_view>

class QPainter;

namespace zanfor::render {

// An Access colour property: a BGR value, or a system colour (0x80000000 + COLOR_ index) drawn
// in the classic scheme's colour.
QColor AccessColor(std::int64_t value);

// Windows' system colours the renderer draws its own chrome in.
namespace sys {
inline constexpr std::int64_t kButtonFace = 0x8000000F;
inline constexpr std::int64_t kButtonText = 0x80000012;
inline constexpr std::int64_t kWindow = 0x80000005;
inline constexpr std::int64_t kWindowText = 0x80000008;
inline constexpr std::int64_t kButtonShadow = 0x80000010;
inline constexpr std::int64_t kButtonHighlight = 0x80000014;
inline constexpr std::int64_t kDarkShadow = 0x80000015;
inline constexpr std::int64_t kActiveCaption = 0x80000002;
inline constexpr std::int64_t kGradientCaption = 0x8000001B;
inline constexpr std::int64_t kCaptionText = 0x80000009;
inline constexpr std::int64_t kAppWorkspace = 0x8000000C;
}  // namespace sys

// The installed family that stands in for a Windows font name: metric-compatible Liberation
// fonts for the Western faces, IPA fonts for the Japanese ones; Qt falls back per character for
// scripts the chosen family lacks.
QString SubstituteFamily(std::string_view windowsFamily);

// A font as Windows made it for a point size at 96 dpi (the em height in whole pixels).
QFont AccessFont(std::string_view family, double pointSize, int weight = 400, bool italic = false,
                 bool underline = false);

// Access's SpecialEffect values.
enum class Effect { Flat = 0, Raised = 1, Sunken = 2, Etched = 3, Shadowed = 4, Chiseled = 5 };

struct Border {
    Effect effect = Effect::Flat;
    bool visible = false;  // BorderStyle other than transparent (flat and shadowed only)
    QColor color = Qt::black;
    int width = 1;      // pixels: BorderWidth 0 (hairline) and 1 point are both one pixel
    int dashStyle = 1;  // BorderStyle: 1 solid, 2 dashes, 3 short dashes, 4 dots, ...
};

// Draws the edge of `rect` and returns the area inside it.
QRect DrawBorder(QPainter& painter, const QRect& rect, const Border& border);

// A push button's face (raised, or pressed for a toggle that is down); returns the inside.
QRect DrawButtonFace(QPainter& painter, const QRect& rect, bool pressed = false);

}  // namespace zanfor::render

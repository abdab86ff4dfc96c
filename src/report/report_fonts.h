#pragma once

// The fonts reports print with: a Japanese font for text and a fixed-width Japanese font for
// code listings, chosen from what the machine has (the setup installs Noto CJK).

#include <QFont>

namespace zanfor::report {

enum class FontRole { Text, Code };

// The first installed family of the role's preference list; Qt's default family when none is.
QString ReportFontFamily(FontRole role);
QFont ReportFont(FontRole role, double pointSize);

}  // namespace zanfor::report

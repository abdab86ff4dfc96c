#include "report/report_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace zanfor::report {

QString ReportFontFamily(FontRole role) {
    static const QStringList text{"Noto Sans CJK JP", "Noto Serif CJK JP", "IPAGothic",
                                  "IPAexGothic", "TakaoGothic"};
    static const QStringList code{"Noto Sans Mono CJK JP", "IPAGothic", "Noto Sans CJK JP",
                                  "DejaVu Sans Mono"};
    const QStringList installed = QFontDatabase::families();
    for (const auto& family : role == FontRole::Code ? code : text) {
        if (installed.contains(family))
            return family;
    }
    return QFontDatabase::systemFont(role == FontRole::Code ? QFontDatabase::FixedFont
                                                            : QFontDatabase::GeneralFont)
        .family();
}

QFont ReportFont(FontRole role, double pointSize) {
    QFont font(ReportFontFamily(role));
    font.setPointSizeF(pointSize);
    if (role == FontRole::Code)
        font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace zanfor::report

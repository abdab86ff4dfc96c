#include "report/report_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace zanfor::report {

namespace {

QString ChooseFamily(FontRole role) {
    // IPA fonts come first: Qt's PDF writer maps glyphs that Noto CJK shares between code
    // points (一 and the radical ⼀, digits) to the wrong characters, so text copied or
    // searched in a PDF printed with Noto does not read back as printed.
    static const QStringList text{"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "IPAGothic",
                                  "TakaoPGothic"};
    static const QStringList code{"IPAGothic", "TakaoGothic", "Noto Sans Mono CJK JP",
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

}  // namespace

// Chosen once per process: reports rendered on several threads at once all ask, and the
// families installed do not change while it runs.
QString ReportFontFamily(FontRole role) {
    static const QString text = ChooseFamily(FontRole::Text);
    static const QString code = ChooseFamily(FontRole::Code);
    return role == FontRole::Code ? code : text;
}

QFont ReportFont(FontRole role, double pointSize) {
    QFont font(ReportFontFamily(role));
    font.setPointSizeF(pointSize);
    if (role == FontRole::Code)
        font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace zanfor::report

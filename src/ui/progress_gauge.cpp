#include "ui/progress_gauge.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "commands/support_panel.h"
#include "core/progress.h"
#include "report/qt_text.h"

namespace zanfor::app {

namespace {

// Where the line sits below the top of the gauge.
constexpr double kLineTwips = 60;

int ToPixels(const QWidget& w, double twips) { return qRound(twips * w.logicalDpiX() / 1440.0); }

}  // namespace

ProgressGauge::ProgressGauge(double twips, const QFont& font, QWidget* parent)
    : QWidget(parent), twips_(twips) {
    setObjectName("picGuage");
    const int length = ToPixels(*this, twips);
    QFont small = font;
    small.setPointSizeF(7.5);
    const int labelHeight = QFontMetrics(small).height();
    const int lineTop = ToPixels(*this, kLineTwips) - 3;
    setFixedSize(length + 2, lineTop + 6 + 2 + labelHeight);
    auto* track = new QFrame(this);
    track->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    track->setGeometry(0, lineTop - 1, length + 2, 8);
    line_ = new QFrame(this);
    line_->setObjectName("linGuage");
    line_->setAutoFillBackground(true);
    QPalette palette = line_->palette();
    palette.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0xae));
    line_->setPalette(palette);
    line_->setGeometry(1, lineTop, 0, 6);
    const int labelTop = lineTop + 8;
    const int x[] = {0, length / 2 - 19, length + 2 - 40};
    const Qt::Alignment align[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (std::size_t i = 0; i < kGaugeScale.size(); ++i) {
        auto* label = new QLabel(report::ToQString(kGaugeScale[i]), this);
        label->setFont(small);
        label->setAlignment(align[i] | Qt::AlignTop);
        label->setGeometry(x[i], labelTop, 40, labelHeight);
    }
}

QLabel* ProgressGauge::makeCaption() {
    caption_ = new QLabel;
    caption_->setObjectName("lblPer");
    caption_->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("100%")) + 6);
    caption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return caption_;
}

void ProgressGauge::showLine(bool visible) {
    if (!visible)
        line_->resize(0, line_->height());
    line_->setVisible(visible);
}

void ProgressGauge::setProgress(std::int16_t percent) {
    const auto view = SetProgress(percent, twips_);
    if (caption_)
        caption_->setText(report::ToQString(view.caption));
    line_->resize(ToPixels(*this, view.gaugeEnd), line_->height());
    if (view.repaintNow) {
        if (caption_)
            caption_->repaint();
        line_->repaint();
    }
}

QString FrameStyleSheet() {
    return QStringLiteral(
        "QGroupBox { font-weight: bold; border: 1px solid #a9b7c9; border-radius: 4px;"
        " margin-top: 10px; padding-top: 6px; background: #f6f8fb; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 9px; padding: 0 4px;"
        " color: #1d4f91; }"
        "QGroupBox:disabled::title { color: #8a96a6; }");
}

QLineEdit* MakeMessageLine() {
    auto* line = new QLineEdit;
    line->setObjectName("txtMesege");
    line->setReadOnly(true);
    line->setFocusPolicy(Qt::NoFocus);
    return line;
}

void ShowBusy(QWidget& window, bool& busyNow, bool busy) {
    if (busy == busyNow)
        return;
    busyNow = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    window.setEnabled(!busy);
}

}  // namespace zanfor::app

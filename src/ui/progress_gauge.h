#pragma once

// What the program's windows share: the progress gauge (a sunken track with the line linGuage
// growing along it and the scale labels "0%", "50%", "100%"), the message line and the busy
// pointer of a running command, and the look of their frames.

#include <QWidget>
#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;

namespace zanfor::app {

class ProgressGauge : public QWidget {
public:
    // `twips` is the full length of the line.
    ProgressGauge(double twips, const QFont& font, QWidget* parent = nullptr);

    QFrame* line() const { return line_; }
    // The percentage label lblPer, made for the window to place where it wants it.
    QLabel* makeCaption();

    void showLine(bool visible);
    // SetProgress: the caption and the line's end, repainted at once when the step asks it.
    void setProgress(std::int16_t percent);

private:
    double twips_;
    QFrame* line_ = nullptr;
    QLabel* caption_ = nullptr;
};

// The look of the frames (group boxes) of the program's windows: a bold caption in the frame's
// line, dimmed while the frame is disabled.
QString FrameStyleSheet();

// The message box txtMesege beside the gauge: read-only and never given the focus.
QLineEdit* MakeMessageLine();

// The hourglass pointer and the disabled window while a command works; `busyNow` remembers the
// state so that the pointer is set and restored once each.
void ShowBusy(QWidget& window, bool& busyNow, bool busy);

}  // namespace zanfor::app

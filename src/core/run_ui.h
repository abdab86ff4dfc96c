#pragma once

// What a command needs of its window while it runs: the message line, the progress gauge, the
// busy pointer, message boxes, the report preview and the clear timer. The windows implement
// it; tests record it; the command line prints it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::app {

enum class MsgButtons { Ok, OkCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgResult { Ok, Cancel, Yes, No, Retry };

class RunUi {
public:
    virtual ~RunUi() = default;
    // txtMesege, repainted at once.
    virtual void showMessage(std::string_view text) = 0;
    virtual void showGauge(bool visible) = 0;
    // SetProgress: the percentage label and the gauge line.
    virtual void setProgress(std::int16_t percent) = 0;
    // The hourglass pointer and the disabled window while a command works.
    virtual void setBusy(bool busy) = 0;
    virtual MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    // ShowReport (report name, mode): 0 preview, 1 print.
    virtual void showReport(std::string_view reportName, int mode) = 0;
    // Timer1's interval: the message line and gauge clear once that much later.
    virtual void startClearTimer(int milliseconds) = 0;
};

// Keeps every call, in order, as text ("message:…", "progress:45", "box:…", "report:R_Ac…:0"),
// and answers message boxes with the answers queued in `answers` (OK / Yes when empty).
class RecordingUi : public RunUi {
public:
    void showMessage(std::string_view text) override;
    void showGauge(bool visible) override;
    void setProgress(std::int16_t percent) override;
    void setBusy(bool busy) override;
    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showReport(std::string_view reportName, int mode) override;
    void startClearTimer(int milliseconds) override;

    std::vector<std::string> events;
    std::vector<MsgResult> answers;
    std::string message;  // the message line now
    std::int16_t percent = 0;
    bool busy = false;
};

}  // namespace zanfor::app

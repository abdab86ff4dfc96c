#include "core/run_ui.h"

namespace zanfor::app {

void RecordingUi::showMessage(std::string_view text) {
    message = text;
    events.push_back("message:" + std::string(text));
}

void RecordingUi::showGauge(bool visible) {
    events.push_back(visible ? "gauge:shown" : "gauge:hidden");
}

void RecordingUi::setProgress(std::int16_t value) {
    percent = value;
    events.push_back("progress:" + std::to_string(value));
}

void RecordingUi::setBusy(bool value) {
    busy = value;
    events.push_back(value ? "busy" : "idle");
}

MsgResult RecordingUi::messageBox(std::string_view text, std::string_view, MsgButtons buttons,
                                  MsgIcon) {
    events.push_back("box:" + std::string(text));
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

void RecordingUi::showReport(std::string_view reportName, int mode) {
    events.push_back("report:" + std::string(reportName) + ":" + std::to_string(mode));
}

void RecordingUi::startClearTimer(int milliseconds) {
    events.push_back("timer:" + std::to_string(milliseconds));
}

}  // namespace zanfor::app

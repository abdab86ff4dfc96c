#include "core/dialogs.h"

namespace zanfor::app {

MsgResult ScriptedDialogs::messageBox(std::string_view text, std::string_view title,
                                      MsgButtons buttons, MsgIcon icon) {
    boxes.push_back({std::string(text), std::string(title), buttons, icon});
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

std::string ScriptedDialogs::openFileName(const OpenFileRequest& request) {
    fileRequests.push_back(request);
    if (files.empty())
        return {};
    auto file = files.front();
    files.erase(files.begin());
    return file;
}

}  // namespace zanfor::app

#pragma once

// The program's standard dialogs: message boxes and the open-file dialog. The windows show
// them with Qt; tests answer them from a script so that nothing waits for a click.

#include <string>
#include <string_view>
#include <vector>

#include "core/run_ui.h"

namespace zanfor::app {

// ShowOpenFileDialog: one filter pair, the initial folder and the title.
struct OpenFileRequest {
    std::string title;
    std::string filterDescription;  // "Access(*.mdb)"
    std::string filterPattern;      // "*.mdb"
    std::string initialFolder;
    // An object export folder (a folder named "*.src", as the exporting tools name it) can be
    // chosen as well as a file: it is a complete target of its own.
    bool exportFolders = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    // The chosen file's full path, or "" when the user cancels.
    virtual std::string openFileName(const OpenFileRequest& request) = 0;
    // ShowSaveFileDialog: the same settings; a name that does not exist yet is accepted and the
    // dialog asks nothing about replacing a file (the caller does).
    virtual std::string saveFileName(const OpenFileRequest& request) = 0;
};

// Answers from queues (OK / Yes and a cancelled dialog when they run dry) and keeps what was
// asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        std::string text;
        std::string title;
        MsgButtons buttons;
        MsgIcon icon;
    };

    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    std::string openFileName(const OpenFileRequest& request) override;
    // Answers from the same queue as the open dialog.
    std::string saveFileName(const OpenFileRequest& request) override {
        return openFileName(request);
    }

    std::vector<MsgResult> answers;
    std::vector<std::string> files;
    std::vector<Box> boxes;
    std::vector<OpenFileRequest> fileRequests;
};

}  // namespace zanfor::app

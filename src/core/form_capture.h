#pragma once

// What the form image capture needs of the desktop: the main window, the system clipboard and
// Timer2, the delay before the viewer shows the picture. The desktop program draws the form
// with the form renderer; tests record the calls.

#include <string>
#include <vector>

#include "host/access.h"

namespace zanfor::app {

class CaptureDesk {
public:
    virtual ~CaptureDesk() = default;
    virtual void showMainWindow(bool visible) = 0;
    virtual void emptyClipboard() = 0;
    // CaptureWindow: the open form's picture onto the clipboard. False when the form cannot be
    // drawn, which leaves the clipboard as it was.
    virtual bool captureWindow(const host::access::DesignObject& form, bool designView,
                               bool wholeWindow) = 0;
    // Timer2 with the given interval; when it fires the viewer is shown.
    virtual void startViewerTimer(int milliseconds) = 0;
};

}  // namespace zanfor::app

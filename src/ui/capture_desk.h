#pragma once

// The desktop side of the form picture: the main window shown and hidden, the form drawn by the
// form renderer onto the system clipboard, and Timer2, which shows the main window and the
// viewer once the capture time has passed.

#include <functional>

#include "core/form_capture.h"
#include "render/form_renderer.h"

class QTimer;
class QWidget;

namespace zanfor::app {

class QtCaptureDesk : public CaptureDesk {
public:
    using Sources = std::function<render::RenderSources()>;

    // `sources` names where the form finds its data when it is drawn; `showViewer` opens the
    // viewer when Timer2 fires. Timer2 is a child of `mainWindow`.
    QtCaptureDesk(QWidget& mainWindow, Sources sources, std::function<void()> showViewer);

    void showMainWindow(bool visible) override;
    void emptyClipboard() override;
    bool captureWindow(const host::access::DesignObject& form, bool designView,
                       bool wholeWindow) override;
    // A wait of 0 shows the viewer as soon as the window is idle.
    void startViewerTimer(int milliseconds) override;
    // The viewer stops Timer2 when it opens, so the timer fires once per capture.
    void stopViewerTimer();
    QTimer* timer() const { return timer_; }

private:
    QWidget& mainWindow_;
    Sources sources_;
    QTimer* timer_;
};

}  // namespace zanfor::app

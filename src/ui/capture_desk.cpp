#include "ui/capture_desk.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "host/error.h"

namespace zanfor::app {

QtCaptureDesk::QtCaptureDesk(QWidget& mainWindow, Sources sources, std::function<void()> showViewer)
    : mainWindow_(mainWindow), sources_(std::move(sources)), timer_(new QTimer(&mainWindow)) {
    timer_->setObjectName("Timer2");
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, &mainWindow, [this, show = std::move(showViewer)] {
        showMainWindow(true);
        if (show)
            show();
    });
}

void QtCaptureDesk::showMainWindow(bool visible) { mainWindow_.setVisible(visible); }

void QtCaptureDesk::emptyClipboard() { QGuiApplication::clipboard()->clear(); }

bool QtCaptureDesk::captureWindow(const host::access::DesignObject& form, bool designView,
                                  bool wholeWindow) {
    const render::RenderOptions options{
        designView ? render::FormView::Design : render::FormView::Form, wholeWindow};
    try {
        const auto picture =
            render::RenderForm(form, options, sources_ ? sources_() : render::RenderSources{});
        QGuiApplication::clipboard()->setImage(picture.image);
        return true;
    } catch (const host::Error&) {
        // A design with nothing to draw is a form Access would not have selected: no picture.
        return false;
    }
}

void QtCaptureDesk::startViewerTimer(int milliseconds) { timer_->start(std::max(0, milliseconds)); }

void QtCaptureDesk::stopViewerTimer() { timer_->stop(); }

}  // namespace zanfor::app

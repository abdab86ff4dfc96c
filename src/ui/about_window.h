#pragma once

// The About box: the product title and version, and the target's file name, its drive with the
// drive's total and free space, and the target's size.

#include <QDialog>

#include "core/about_box.h"

namespace zanfor::app {

class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(const AboutFigures& figures, QWidget* parent = nullptr);
};

}  // namespace zanfor::app

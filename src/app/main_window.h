#pragma once

// The main window frmZanfor. Its panels, options and commands grow with the collectors; for
// now it carries the caption, the path line and the message line.

#include <QMainWindow>

class QLabel;
class QLineEdit;

namespace zanfor::app {

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    void setTargetPath(const QString& path);
    void showMessage(const QString& text);

private:
    QLabel* dbName_;
    QLineEdit* message_;
};

}  // namespace zanfor::app

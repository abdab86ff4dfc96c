// zanfor: the desktop program.

#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    zanfor::app::MainWindow window;
    window.show();
    return QApplication::exec();
}

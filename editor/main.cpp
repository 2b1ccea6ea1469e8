// The level editor's entry point: one window on the Qt event loop.
#include <QApplication>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zorvik::editor::Form1 window;
    window.show();
    return QApplication::exec();
}

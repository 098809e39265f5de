// The yardstick of the start-up benchmark: the smallest Qt Widgets program with a window, one
// label in it, built by the same compiler with the same flags as the game.
#include <QApplication>
#include <QLabel>

#include "probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Kiryuza"));
    label.resize(640, 480);
    kiryuza::bench::StartupProbe probe;
    label.show();
    return QApplication::exec();
}

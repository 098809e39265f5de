// The yardstick of the start-up benchmark: the smallest Qt Widgets program with a window, one
// label in it, built by the same compiler with the same flags as the game.
#include <QApplication>
#include <QLabel>

#include "probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // KIRYUZA_BENCH_LABEL gives the label another text, such as Japanese, which brings in
    // a Japanese face as the game's window does.
    const QString text = qEnvironmentVariable("KIRYUZA_BENCH_LABEL", QStringLiteral("Kiryuza"));
    QLabel label(text);
    label.resize(640, 480);
    kiryuza::bench::StartupProbe probe;
    label.show();
    return QApplication::exec();
}

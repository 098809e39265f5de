// The game as its program starts it, with the start-up probe watching.
#include <QApplication>

#include "app/game.h"
#include "probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kiryuza::app::nameApplication();
    kiryuza::bench::StartupProbe probe;
    return kiryuza::app::runGame();
}

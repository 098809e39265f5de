// Kiryuza: the game's program.
#include <QApplication>

#include "app/game.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kiryuza::app::nameApplication();
    return kiryuza::app::runGame();
}

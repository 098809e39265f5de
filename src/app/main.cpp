// Kiryuza: the game's program.
#include <QApplication>

#include "app/game.h"
#include "platform/files/qt_file_system.h"

int main(int argc, char* argv[]) {
    kiryuza::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    kiryuza::app::nameApplication();
    return kiryuza::app::runGame();
}

// Kiryuza: the game's program.
#include "app/game.h"
#include "platform/files/qt_file_system.h"

int main(int argc, char* argv[]) {
    kiryuza::ignoreFileSizeSignal();
    kiryuza::app::nameApplication();
    return kiryuza::app::runProgram(argc, argv);
}

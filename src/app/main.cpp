// Kiryuza: starts the game window. The game logic (Form1) runs over the Qt window, the sound
// library and the file and text-code adapters; the sound and settings files are opened in the
// working folder.
#include <QApplication>

#include "game/form1.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/main_window.h"
#include "platform/sound/qt_audio.h"

int main(int argc, char* argv[]) {
    kiryuza::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kiryuza"));
    QApplication::setApplicationVersion(QStringLiteral(KIRYUZA_VERSION));
    kiryuza::pictures::registerMincho();

    kiryuza::window::MainWindow window;
    kiryuza::sound::QtSoundLibrary sound;
    kiryuza::QtFileSystem files;
    kiryuza::QtTextCodec codec;
    const kiryuza::プラットフォーム platform{
        window.view(),
        window.messages(),
        window.timeOfDay(),
        window.timer(),
        window,
        sound,
        files,
        codec,
        window.panel(),
        window,
    };
    kiryuza::Form1 form(platform);
    kiryuza::window::GameEventsFor<kiryuza::Form1> events(form);
    window.setEvents(&events);

    form.Form_Load();
    if (!window.ended()) window.show();
    const int result = window.ended() ? 0 : QApplication::exec();
    window.setEvents(nullptr);
    return result;
}

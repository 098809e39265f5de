// Kiryuza: starts the game window. The game logic (Form1) runs over the Qt window, the sound
// library and the file and text-code adapters; the sound and settings files are opened in the
// working folder.
#include <QApplication>

#include <memory>

#include <QDir>
#include "game/form1.h"
#include "interfaces/product.h"

#include "platform/files/qt_autosave.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/main_window.h"
#include "platform/sound/qt_audio.h"

int main(int argc, char* argv[]) {
    kiryuza::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(
        QString::fromUtf8(kiryuza::製品名.data(), qsizetype(kiryuza::製品名.size())));
    QApplication::setApplicationVersion(
        QString::fromUtf8(kiryuza::版.data(), qsizetype(kiryuza::版.size())));
    kiryuza::pictures::registerMincho();

    kiryuza::window::MainWindow window;
    kiryuza::sound::QtSoundLibrary sound;
    kiryuza::QtFileSystem files;
    kiryuza::QtTextCodec codec;
    // The game in progress is kept in the user's state folder.
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (stateHome.isEmpty()) stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    kiryuza::QtAutosave autosave(
        (stateHome + QStringLiteral("/kiryuza/current-game")).toStdString());
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
        autosave,
    };
    const auto state = std::make_unique<kiryuza::対局状態>();
    kiryuza::Form1 form(platform, *state);
    kiryuza::window::FormEvents events(form);
    window.setEvents(&events);

    form.Form_Load();
    if (!window.ended()) window.show();
    const int result = window.ended() ? 0 : QApplication::exec();
    window.setEvents(nullptr);
    return result;
}

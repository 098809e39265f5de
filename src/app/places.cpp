#include "app/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "options/preferences.h"

namespace kiryuza::app {

namespace {

// $XDG_STATE_HOME/kiryuza, ~/.local/state/kiryuza by default (Qt 6.4 names no such place).
QDir stateFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(QDir(state).filePath(QCoreApplication::applicationName()));
}

}  // namespace

QString soundFolderFor(const QString& programFolder) {
    const QDir program(programFolder);
    const QString installed = program.absoluteFilePath(QStringLiteral("../share/kiryuza"));
    const QString folder = QFileInfo(installed).isDir() ? installed : program.absolutePath();
    return QDir::cleanPath(folder) + u'/';
}

Places findPlaces() {
    Places places;
    places.soundFolder = soundFolderFor(QCoreApplication::applicationDirPath());
    places.configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QDir config(places.configFolder);
    places.settingsFile = config.filePath(QStringLiteral("Kiryuza.ini"));
    places.playFile = config.filePath(QString::fromUtf8(好みファイル名));
    places.windowStateFile = config.filePath(QStringLiteral("window.conf"));
    places.gameFile = stateFolder().filePath(QStringLiteral("current-game"));
    return places;
}

QString keptGameFolder() {
    return stateFolder().path();
}

}  // namespace kiryuza::app

// Where the game keeps its files on Linux: its sounds beside the program (a build tree) or in
// the installed data folder, the settings and the window's place in the user's configuration
// folder, the game in progress in the user's state folder. Nothing is looked for or written in
// the working folder.
#pragma once

#include <QString>

namespace kiryuza::app {

struct Places {
    QString soundFolder;      // ends in '/'
    QString configFolder;     // the user's configuration folder for the game
    QString settingsFile;     // Kiryuza.ini in configFolder
    QString playFile;         // the level, time control and kind of game, in configFolder
    QString windowStateFile;  // the window's size and position, in configFolder
    QString gameFile;         // the game in progress, in the user's state folder
};

// The folder of the sounds of a program in `programFolder`: the installed data folder
// ../share/kiryuza when it exists, else the program's own folder. Ends in '/'.
QString soundFolderFor(const QString& programFolder);

// The places of the running program; the application's name must be set.
Places findPlaces();

// The folder of the game in progress (the user's state folder), which one copy of the game at
// a time may keep: the lock that keeps one copy per account is named after it. Needs only the
// application's name, not the application.
QString keptGameFolder();

}  // namespace kiryuza::app

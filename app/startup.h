#pragma once

#include <QString>

namespace kvx {

// The program's start: finds the data file, loads it and shows the main window.
void Main();

// What the program does between creating its application object and running
// its event loop: its name and icon, the Qt services, then Main. Returns
// whether the main window is up; without it the program has nothing to run.
bool StartProgram();

// The data file a start would show, found as Main finds it but without
// copying the sample: the one kvx.ini names, else config.kvx of the data
// folder, else the installed sample. Raises a platform error when kvx.ini
// cannot be read.
QString startDataFile();

} // namespace kvx

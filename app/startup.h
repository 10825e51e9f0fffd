#pragma once

namespace kvx {

// The program's start: finds the data file, loads it and shows the main window.
void Main();

// What the program does between creating its application object and running
// its event loop: its name and icon, the Qt services, then Main. Returns
// whether the main window is up; without it the program has nothing to run.
bool StartProgram();

} // namespace kvx

#pragma once

namespace kvx {

enum class OnLoadFailure {
    EndProgram,   // start-up: the message, then the program ends
    KeepExchange, // Open and Refresh: the message, and the exchange shown stays
};

// Loads ModMain.DataFile into the model: the desktop check, the screen
// factors, the file (all or nothing) and the ring menus of the main window.
// Returns false when the file could not be read and the program goes on.
bool LoadExchange(OnLoadFailure onFailure = OnLoadFailure::EndProgram);

// The program's start: finds the data file, loads it and shows the main window.
void Main();

// What the program does between creating its application object and running
// its event loop: its name and icon, the Qt services, then Main. Returns
// whether the main window is up; without it the program has nothing to run.
bool StartProgram();

} // namespace kvx

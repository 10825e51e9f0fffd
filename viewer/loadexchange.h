#pragma once

#include <QString>

namespace kvx {

struct Exchange;

enum class OnLoadFailure {
    EndProgram,   // start-up: the message, then the program ends
    KeepExchange, // Open and Refresh: the message, and the exchange shown stays
};

// Loads ModMain.DataFile into the model: the desktop check, the screen
// factors, the file (all or nothing) and the ring menus of the main window.
// Returns false when the file could not be read and the program goes on.
bool LoadExchange(OnLoadFailure onFailure = OnLoadFailure::EndProgram);

// Why a room is too large to show, in a sentence; empty when it is not.
QString roomTooLarge(const Exchange &x);

// Makes a freshly read exchange the one shown: the screen factors, the
// model, the ring menus of the main window and the editor.
void adoptExchange(Exchange &&fresh);

} // namespace kvx

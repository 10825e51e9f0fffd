#pragma once

namespace kvx {

// kvx410 --export VIEW OUT [--file DATA.kvx] [--rack NAME] [--shelf N]
//                          [--ring NAME] [--scale F]
// Builds the main window on the 1024 x 768 layout without showing it, opens
// the view as a user would and writes it to OUT. Needs no display: without
// one it runs on Qt's offscreen platform. Every error is one line on
// standard error and a non-zero exit, with nothing written. Takes the whole
// command line; makes the application object itself.
int exportCommand(int argc, char *argv[]);

// The lines of --help about it.
extern const char ExportUsage[];

} // namespace kvx

#include "app/exportcommand.h"
#include "app/startup.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/qtservices.h"

#include <cstdio>
#include <cstring>

namespace {

const char Usage[] = "Usage: kvx410 [--help] [--version]\n";

const char Description[] =
    "\n"
    "KVX-410 Exchange Hardware Trainer: the switch room, racks, shelves, cards and\n"
    "token rings of a KVX-410 trunk exchange, and an editor for its data file.\n"
    "\n"
    "It shows the data file it showed last, as named in kvx.ini, or else the\n"
    "sample exchange config.kvx. When the program's folder may be written, both\n"
    "files live there; otherwise kvx.ini lives in $XDG_CONFIG_HOME/kvx410 and the\n"
    "sample is copied on the first start into $XDG_DATA_HOME/kvx410.\n"
    "\n"
    "  -h, --help     show this help and end\n"
    "  -v, --version  show the version and end\n"
    "\n"
    "With --export it shows no window and needs no display: it writes a view of\n"
    "the exchange to OUT, whose extension (.png, .svg, .pdf) chooses the format,\n"
    "and ends. VIEW is room (the whole room plan), rack, shelf or ring.\n"
    "  --file DATA.kvx  the data file; by default the one the program starts with\n"
    "  --rack NAME      the rack of the rack and shelf views (the first of that name)\n"
    "  --shelf N        the shelf, 1 to 5, of the shelf view\n"
    "  --ring NAME      MIS, MAS1, MAS2, MAS3 or MAS4, for the ring view\n"
    "  --scale F        times the 1024 x 768 layout's pixels, for PNG (default 2)\n"
    "An error is one line on standard error, and nothing is written.\n";

} // namespace

int main(int argc, char *argv[])
{
    // Answered before any window system is needed, so they work anywhere.
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(Usage, stdout);
            std::fputs(kvx::ExportUsage, stdout);
            std::fputs(Description, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("kvx410 %s\n", KVX_VERSION);
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--export"))
            return kvx::exportCommand(argc, argv);
    }
    kvx::Application app(argc, argv);
    kvx::askAccessibilityFirst();
    kvx::FontDatabaseAhead fonts;
    const bool started = kvx::StartProgram();
    fonts.wait();
    // Without the main window the start failed: the program ends.
    if (!started)
        return 0;
    return app.exec();
}

#include "app/startup.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/qtservices.h"

int main(int argc, char *argv[])
{
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

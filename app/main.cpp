#include "app/startup.h"
#include "platform/fonts.h"
#include "platform/qtservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kvx::askAccessibilityFirst();
    kvx::FontDatabaseAhead fonts;
    const bool started = kvx::StartProgram();
    fonts.wait();
    // Without the main window the start failed: the program ends.
    if (!started)
        return 0;
    return app.exec();
}

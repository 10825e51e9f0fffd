#include "app/startup.h"
#include "platform/fonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    kvx::FontSetUpAhead fonts;
    QApplication app(argc, argv);
    fonts.applicationReady();
    const bool started = kvx::StartProgram();
    fonts.wait();
    // Without the main window the start failed: the program ends.
    if (!started)
        return 0;
    return app.exec();
}

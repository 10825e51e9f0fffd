#include "app/startup.h"
#include "art/art.h"
#include "platform/qtservices.h"
#include "viewer/frmswitch.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvx410"));
    QApplication::setWindowIcon(kvx::Art::windowIcon());
    kvx::installQtServices();
    kvx::Main();
    // Main returns without a window when the start failed: the program ends.
    if (!kvx::frmSwitch::isLoaded() || !kvx::frmSwitch::get().isVisible())
        return 0;
    return app.exec();
}

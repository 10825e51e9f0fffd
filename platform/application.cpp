#include "platform/application.h"

#include "platform/core/errors.h"
#include "platform/core/services.h"

namespace kvx {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded &) {
        throw; // the end of the program, as tests see it
    } catch (const PlatformError &e) {
        MsgBox(e.description(), vbCritical);
    } catch (const std::exception &e) {
        MsgBox(QString::fromLocal8Bit(e.what()), vbCritical);
    }
    return false;
}

} // namespace kvx

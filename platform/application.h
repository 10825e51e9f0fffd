#pragma once

#include <QApplication>

namespace kvx {

// The program's application object. An error that escapes an event handler
// is shown and the program goes on: an exception through Qt's event loop
// would end it and take the editor's unsaved edits with it.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace kvx

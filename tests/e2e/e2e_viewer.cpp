// End to end: the real program, copied into a program folder of its own with
// a data file, started on the X display this driver runs on (a virtual one
// under xvfb-run). Checks what a user sees and what lands on disk: the
// window's title is the site name, and closing the window (the window
// manager's close request) writes "kvx.ini", naming the file shown. How the
// window looks is checked against reference images by test_viewer.
//
//   e2e_viewer PROGRAM SAMPLE.kvx
//
// With --installed, an installed program in a folder the user cannot write:
// it starts on the sample, a file opened through the Open dialog (typed as a
// person would, with xdotool) is shown, and the next start shows it again.
//
//   e2e_viewer --installed PROGRAM OTHER.kvx

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int StartSeconds = 60; // two cores shared with other builds
constexpr int EndSeconds = 20;

bool g_failed = false;

void check(bool ok, const QString &what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", qPrintable(what));
    std::fflush(stdout);
    if (!ok)
        g_failed = true;
}

// A window that goes away while it is being looked at is no reason to stop.
int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

// Qt names its windows in _NET_WM_NAME, in UTF-8.
QString windowTitle(Display *display, Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display, "UTF8_STRING", False), &type, &format, &count, &after, &data)
            != Success
        || !data)
        return {};
    const QString title = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
    XFree(data);
    return title;
}

// The viewable window carrying the title, searched through the whole tree.
Window findWindow(Display *display, Window under, const QString &title)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, under, &attributes) && attributes.map_state == IsViewable
        && windowTitle(display, under) == title)
        return under;
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = findWindow(display, children[i], title);
    if (children)
        XFree(children);
    return found;
}

bool waitFor(int seconds, const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(seconds * 1000);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(100);
    }
    return condition();
}

// The window manager's close button: a WM_DELETE_WINDOW request.
void requestClose(Display *display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Run
{
public:
    Run(Display *display, const QString &program) : m_display(display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.setWorkingDirectory(QDir::tempPath());
        m_process.start(program, {});
    }
    ~Run()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    Window waitForWindow(const QString &title)
    {
        Window window = 0;
        waitFor(StartSeconds, [&] {
            window = findWindow(m_display, DefaultRootWindow(m_display), title);
            return window != 0 || m_process.state() == QProcess::NotRunning;
        });
        return window;
    }

    // Keys go to the window with the input focus: there is no window manager to give it.
    static bool type(Window window, const QStringList &keys)
    {
        return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                                             QString::number(window)}) == 0
               && QProcess::execute(QStringLiteral("xdotool"), keys) == 0;
    }

    bool closeAndWait(Window window)
    {
        requestClose(m_display, window);
        return m_process.waitForFinished(EndSeconds * 1000) && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0;
    }

private:
    Display *m_display;
    QProcess m_process;
};

} // namespace

int installed(Display *display, const QString &program, const QString &other)
{
    {
        Run run(display, program);
        const Window window = run.waitForWindow(QStringLiteral("KINGSBRIDGE TRUNK EXCHANGE"));
        check(window != 0, QStringLiteral("the first start shows the sample"));
        if (!window)
            return 1;
        check(run.type(window, {QStringLiteral("key"), QStringLiteral("ctrl+o")}), QStringLiteral("Ctrl+O"));
        const Window dialog = run.waitForWindow(QStringLiteral("Select an Exchange Data File"));
        check(dialog != 0, QStringLiteral("the Open dialog"));
        if (!dialog)
            return 1;
        run.type(dialog, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), other});
        run.type(dialog, {QStringLiteral("key"), QStringLiteral("Return")});
        const Window shown = run.waitForWindow(QStringLiteral("SECOND EXCHANGE"));
        check(shown != 0, QStringLiteral("the file opened is shown"));
        if (!shown)
            return 1;
        check(run.closeAndWait(shown), QStringLiteral("closing the window ends the program"));
    }
    Run run(display, program);
    const Window window = run.waitForWindow(QStringLiteral("SECOND EXCHANGE"));
    check(window != 0, QStringLiteral("the next start shows the file opened last"));
    if (window)
        check(run.closeAndWait(window), QStringLiteral("closing it ends the program"));
    return g_failed ? 1 : 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool install = argc == 4 && qstrcmp(argv[1], "--installed") == 0;
    if (argc != (install ? 4 : 3)) {
        std::fprintf(stderr, "usage: e2e_viewer PROGRAM SAMPLE.kvx\n"
                             "       e2e_viewer --installed PROGRAM OTHER.kvx\n");
        return 2;
    }
    XSetErrorHandler(ignoreXErrors);
    std::unique_ptr<Display, int (*)(Display *)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    if (install)
        return installed(display.get(), QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString sample = QString::fromLocal8Bit(argv[2]);

    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).canonicalPath();
    const QString installed = folder + QStringLiteral("/kvx410");
    const QString config = folder + QStringLiteral("/config.kvx");
    const QString settings = folder + QStringLiteral("/kvx.ini");
    check(QFile::copy(program, installed) && QFile::copy(sample, config), QStringLiteral("program folder made"));
    QFile::setPermissions(installed, QFile::permissions(installed) | QFileDevice::ExeOwner);

    Run run(display.get(), installed);
    const Window window = run.waitForWindow(QStringLiteral("KINGSBRIDGE TRUNK EXCHANGE"));
    check(window != 0, QStringLiteral("a window titled with the site name"));
    if (!window)
        return 1;
    check(!QFile::exists(settings), QStringLiteral("no kvx.ini while running"));
    check(run.closeAndWait(window), QStringLiteral("closing the window ends the program"));
    check(readAll(settings) == config.toUtf8() + "\r\n", QStringLiteral("kvx.ini names the data file shown"));

    return g_failed ? 1 : 0;
}

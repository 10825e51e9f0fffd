#include "platform/core/services.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"
#include "platform/core/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace kvx {

namespace {

struct Hooks
{
    MsgBoxHook msgBox;
    std::function<void(int)> end;
    std::function<std::pair<int, int>()> screen;
    std::optional<std::pair<int, int>> screenSize;
    std::optional<QString> appPath;
    FileDialogHook fileDialog;
    ColorDialogHook colorDialog;
};

Hooks &hooks()
{
    static Hooks h;
    return h;
}

} // namespace

void raiseError(int number, const QString &description)
{
    throw PlatformError(number, description);
}

int MsgBox(const QString &text, int style, const QString &title)
{
    const MsgBoxCall call{text, style, title.isEmpty() ? ProgramTitle : title};
    if (hooks().msgBox)
        return hooks().msgBox(call);
    // Without a window system the message goes to the error stream and the
    // first button is taken.
    std::fprintf(stderr, "%s: %s\n", qPrintable(call.title.trimmed()), qPrintable(text));
    const int buttons = style & 7;
    return buttons == 3 || buttons == 4 ? vbYes : vbOK;
}

void setMsgBoxHook(MsgBoxHook hook)
{
    hooks().msgBox = std::move(hook);
}

void End(int code)
{
    if (hooks().end)
        hooks().end(code);
    std::fflush(nullptr);
    std::_Exit(code);
}

void setEndHook(std::function<void(int)> hook)
{
    hooks().end = std::move(hook);
}

namespace Screen {
namespace {
std::pair<int, int> size()
{
    if (hooks().screenSize)
        return *hooks().screenSize;
    if (hooks().screen)
        return hooks().screen();
    return {1024 * TwipsPerPixel, 768 * TwipsPerPixel};
}
} // namespace

int Width()
{
    return size().first;
}

int Height()
{
    return size().second;
}

void setSizeTwips(int width, int height)
{
    hooks().screenSize = std::make_pair(width, height);
}

void setSizeHook(std::function<std::pair<int, int>()> hook)
{
    hooks().screenSize.reset();
    hooks().screen = std::move(hook);
}
} // namespace Screen

QString AppPath()
{
    if (hooks().appPath)
        return *hooks().appPath;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QStringLiteral(".");
}

void setAppPath(const QString &folder)
{
    hooks().appPath = folder;
}

QString InstalledDataFolder()
{
    return QDir::cleanPath(AppPath() + QStringLiteral("/../share/kvx410"));
}

namespace {
// An installed program (its data in share/kvx410 beside its bin folder), or
// one in a folder the user may not write, keeps the user's files in the
// user's folders; root's run of an installed program too.
bool usesProgramFolder()
{
    return !QFileInfo(InstalledDataFolder()).isDir() && Files::FolderWritable(AppPath());
}
} // namespace

QString SettingsFolder()
{
    if (usesProgramFolder())
        return AppPath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kvx410");
}

QString DataFolder()
{
    if (usesProgramFolder())
        return AppPath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kvx410");
}

void setFileDialogHook(FileDialogHook hook)
{
    hooks().fileDialog = std::move(hook);
}

void setColorDialogHook(ColorDialogHook hook)
{
    hooks().colorDialog = std::move(hook);
}

QStringList filterPatterns(const QString &filter)
{
    // "Desc|*.kvx|All|*.*" becomes "Desc (*.kvx)", "All (*.*)"; a description
    // that ends with its own pattern in brackets is shown once, as it stands.
    const auto compact = [](QString s) { return s.remove(QLatin1Char(' ')); };
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (compact(description).endsWith(QLatin1Char('(') + compact(pattern) + QLatin1Char(')')))
            out << description;
        else
            out << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return out;
}

bool CommonDialog::showFile(bool save)
{
    const FileDialogRequest request{save, DialogTitle, Filter, InitDir, DefaultExt, FileName};
    std::optional<QString> chosen;
    if (hooks().fileDialog)
        chosen = hooks().fileDialog(request);
    if (!chosen || chosen->isEmpty()) {
        if (CancelError)
            raiseError(ErrCancel, QStringLiteral("Cancel was selected."));
        return false;
    }
    FileName = *chosen;
    return true;
}

bool CommonDialog::ShowOpen()
{
    return showFile(false);
}

bool CommonDialog::ShowSave()
{
    return showFile(true);
}

bool CommonDialog::ShowColor()
{
    std::optional<quint32> chosen;
    if (hooks().colorDialog)
        chosen = hooks().colorDialog(Color);
    if (!chosen) {
        if (CancelError)
            raiseError(ErrCancel, QStringLiteral("Cancel was selected."));
        return false;
    }
    Color = *chosen;
    return true;
}

void reportHandlerError(const PlatformError &error)
{
    MsgBox(error.description(), vbCritical);
}

} // namespace kvx

#include "app/startup.h"

#include "art/art.h"
#include "editor/frmalter.h"
#include "model/modmain.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"
#include "platform/core/services.h"
#include "platform/qtservices.h"
#include "viewer/frmswitch.h"
#include "viewer/loadexchange.h"

#include <QApplication>

#include <optional>

namespace kvx {

namespace {

const QString DefaultDataFile = QStringLiteral("config.kvx");
const QString SettingsFile = QStringLiteral("kvx.ini");

// The sample exchange for a user's first start of an installed program: a
// copy of the installed one in the user's data folder, which Save may write.
bool copySample(const QString &to)
{
    const QString installed = Files::joinPath(InstalledDataFolder(), DefaultDataFile);
    if (Files::joinPath(DataFolder(), DefaultDataFile) == Files::joinPath(AppPath(), DefaultDataFile)
        || !Files::ExistsExact(InstalledDataFolder(), DefaultDataFile))
        return false;
    QString error;
    if (Files::CopyFile(installed, to, &error))
        return true;
    MsgBox(error, vbInformation);
    return false;
}

// The data file kvx.ini names, if there is a kvx.ini.
std::optional<Loose> settingsDataFile()
{
    const QString settings = SettingsFolder();
    if (!Files::ExistsExact(settings, SettingsFile))
        return std::nullopt;
    const Files::FileNumber fileNo;
    Files::OpenForInput(fileNo, Files::joinPath(settings, SettingsFile));
    // An empty settings file names no file, like an empty first field.
    // A path is a text: "2024" or "1.50" must not become a number.
    Loose named = Files::Reader(fileNo).atEnd() ? Loose() : Loose(Files::InputText(fileNo));
    Files::Close(fileNo);
    if (named == "")
        named = DefaultDataFile.toUtf8();
    return named;
}

} // namespace

QString startDataFile()
{
    if (const std::optional<Loose> named = settingsDataFile())
        return Files::pathFromBytes(named->text());
    if (Files::ExistsExact(DataFolder(), DefaultDataFile))
        return Files::joinPath(DataFolder(), DefaultDataFile);
    return Files::joinPath(InstalledDataFolder(), DefaultDataFile);
}

void Main()
{
    try {
        ModMain.DataFile = DefaultDataFile.toUtf8();
        if (const std::optional<Loose> named = settingsDataFile()) {
            ModMain.DataFile = *named;
        } else {
            const QString sample = Files::joinPath(DataFolder(), DefaultDataFile);
            if (!Files::ExistsExact(DataFolder(), DefaultDataFile) && !copySample(sample)) {
                MsgBox(QStringLiteral("DataFile config.kvx missing. Can't Run"), vbOKOnly);
                End();
            }
            ModMain.DataFile = Files::bytesFromPath(sample);
        }
        LoadExchange();
        frmSwitch::setEditorOpener(&frmAlter::showEditor);
        frmSwitch::get().Show();
    } catch (const PlatformError &) {
        MsgBox(QStringLiteral("Data File Currupted.  Please check or change kvx.ini file"), vbInformation);
    }
}

bool StartProgram()
{
    QApplication::setApplicationName(QStringLiteral("kvx410"));
    QApplication::setWindowIcon(Art::windowIcon());
    installQtServices();
    Main();
    return frmSwitch::isLoaded() && frmSwitch::get().isVisible();
}

} // namespace kvx

#include "app/startup.h"

#include "app/exchangefile.h"
#include "app/modeledits.h"
#include "app/modmain.h"
#include "art/art.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/qtservices.h"
#include "platform/services.h"
#include "viewer/frmswitch.h"

#include <QApplication>

namespace kvx {

namespace {

const QString DefaultDataFile = QStringLiteral("config.kvx");
const QString SettingsFile = QStringLiteral("kvx.ini");
// The room plan and the ring view make controls for every place, about two
// kilobytes a rack: a million places take two gigabytes and a few seconds.
constexpr qint64 MaxShownPlaces = 1000000;

void checkDesktop()
{
    if (Screen::Width() >= 15000)
        return;
    ModMain.Answer = MsgBox(QStringLiteral("Your Desktop Settings are not sufficient.  Please set it to 1024 x 768 mode.")
                                + QStringLiteral("\r\n")
                                + QStringLiteral(" Otherwise You cannot view properly.  Do you want to continue anyway"),
                            vbYesNoQuestion, QStringLiteral("Increase Your Desktop"));
    if (ModMain.Answer == vbNo)
        End();
}

// A rack record whose name differs from the room's grid is reported and the
// load goes on.
bool readDataFile(Exchange &fresh)
{
    ExchangeReader reader;
    reader.setNameMismatchHandler(
        [](const QByteArray &, int, int, int) { MsgBox(QStringLiteral("Error"), vbCritical); });
    try {
        const Files::FileNumber fileNo;
        ModMain.FileNo = fileNo;
        Files::OpenForInput(fileNo, Files::pathFromBytes(ModMain.DataFile.text()));
        const bool ok = reader.read(Files::Reader(fileNo), fresh);
        Files::Close(fileNo);
        return ok;
    } catch (const PlatformError &) {
        return false;
    }
}

void setRingMenus()
{
    frmSwitch &form = frmSwitch::get();
    form.MnuMAS3->setEnabled(false);
    form.MnuMAS4->setEnabled(false);
    if (ModMain.NoOfMas == 3) {
        form.MnuMAS3->setEnabled(true);
    } else if (ModMain.NoOfMas == 4) {
        form.MnuMAS3->setEnabled(true);
        form.MnuMAS4->setEnabled(true);
    }
}

} // namespace

bool LoadExchange(OnLoadFailure onFailure)
{
    checkDesktop();
    ModMain.XFactor = float(Screen::Width()) / 15360.0f;
    ModMain.YFactor = double(Screen::Height()) / 11520.0;

    Exchange fresh;
    // The MAS colours live for the whole run: a file with fewer rings leaves
    // the colours of the others as they were.
    fresh.MasColor = ModMain.MasColor;
    // At start-up the font database fills on a thread of its own meanwhile
    // (FontDatabaseAhead). The file is read here rather than on a third
    // thread: on two cores a third busy thread only slows the other two.
    QString refused;
    if (!readDataFile(fresh))
        refused = QStringLiteral("Data File Currupted. Cannot Load");
    else if (qint64(fresh.shoots()) * fresh.racks() > MaxShownPlaces)
        refused = QStringLiteral("The room of %1 shoots x %2 places is too large to show: at most %3 places. Cannot Load")
                      .arg(fresh.shoots())
                      .arg(fresh.racks())
                      .arg(MaxShownPlaces);
    if (!refused.isEmpty()) {
        MsgBox(refused, vbOKOnly);
        if (onFailure == OnLoadFailure::EndProgram)
            End();
        return false;
    }
    ModMain.adopt(std::move(fresh));
    setRingMenus();
    tellModelReplaced();
    return true;
}

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

void Main()
{
    try {
        ModMain.DataFile = DefaultDataFile.toUtf8();
        const Files::FileNumber fileNo;
        const QString settings = SettingsFolder();
        if (Files::ExistsExact(settings, SettingsFile)) {
            Files::OpenForInput(fileNo, Files::joinPath(settings, SettingsFile));
            // An empty settings file names no file, like an empty first field.
            // A path is a text: "2024" or "1.50" must not become a number.
            ModMain.DataFile = Files::Reader(fileNo).atEnd() ? Loose() : Loose(Files::InputText(fileNo));
            if (ModMain.DataFile == "")
                ModMain.DataFile = DefaultDataFile.toUtf8();
            Files::Close(fileNo);
        } else {
            const QString sample = Files::joinPath(DataFolder(), DefaultDataFile);
            if (!Files::ExistsExact(DataFolder(), DefaultDataFile) && !copySample(sample)) {
                MsgBox(QStringLiteral("DataFile config.kvx missing. Can't Run"), vbOKOnly);
                End();
            }
            ModMain.DataFile = Files::bytesFromPath(sample);
        }
        LoadExchange();
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

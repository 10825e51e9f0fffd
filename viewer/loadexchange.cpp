// Loading the data file into the model, for start-up, Open and Refresh.

#include "viewer/loadexchange.h"

#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "model/modeledits.h"
#include "model/modmain.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"
#include "platform/core/services.h"
#include "viewer/frmswitch.h"

namespace kvx {

namespace {

// The room plan and the ring view make controls for every place, about two
// kilobytes a rack: a million places take two gigabytes and a few seconds.
constexpr qint64 MaxShownPlaces = 1000000;

void checkDesktop()
{
    if (Screen::Width() >= 15000)
        return;
    ModMain.Answer =
        MsgBox(QStringLiteral("Your Desktop Settings are not sufficient.  Please set it to 1024 x 768 mode.")
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

} // namespace

QString roomTooLarge(const Exchange &x)
{
    if (qint64(x.shoots()) * x.racks() <= MaxShownPlaces)
        return {};
    return QStringLiteral("The room of %1 shoots x %2 places is too large to show: at most %3 places")
        .arg(x.shoots())
        .arg(x.racks())
        .arg(MaxShownPlaces);
}

void adoptExchange(Exchange &&fresh)
{
    ModMain.XFactor = float(Screen::Width()) / 15360.0f;
    ModMain.YFactor = double(Screen::Height()) / 11520.0;
    ModMain.adopt(std::move(fresh));
    frmSwitch::get().setRingMenus();
    tellModelReplaced();
}

bool LoadExchange(OnLoadFailure onFailure)
{
    checkDesktop();
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
    else if (!roomTooLarge(fresh).isEmpty())
        refused = roomTooLarge(fresh) + QStringLiteral(". Cannot Load");
    if (!refused.isEmpty()) {
        MsgBox(refused, vbOKOnly);
        if (onFailure == OnLoadFailure::EndProgram)
            End();
        return false;
    }
    adoptExchange(std::move(fresh));
    return true;
}

} // namespace kvx

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"

namespace kvx {

namespace {

// The settings file holds one field: a path with a comma would be read back
// only up to the comma, so such a path is written quoted.
QByteArray settingsField(const QByteArray &path)
{
    if (!path.contains(','))
        return path;
    return '"' + path + '"';
}

} // namespace

frmSwitch &frmSwitch::get()
{
    frmSwitch &form = made();
    form.Load();
    return form;
}

void frmSwitch::build()
{
    made();
}

bool frmSwitch::isLoaded()
{
    return existing() && existing()->Form::isLoaded();
}

frmSwitch::frmSwitch()
{
    setCaption(QStringLiteral("KVX 410 Switch Room"));
    createMenus();
    createControls();
    connectMenus();
    connectKeyboard();
}

void frmSwitch::Form_Load()
{
    setWidth(Screen::Width());
    setHeight(Screen::Height());
    const int levels[] = {33, 85, 109, 147, 185, 47, 85, 112, 150, 177};
    for (int i = 1; i <= 10; ++i)
        ShelfLevel[size_t(i)] = levels[i - 1];
    InitMe();
}

bool frmSwitch::Form_Unload()
{
    writeSettings();
    End();
}

void frmSwitch::writeSettings()
{
    if (ModMain.DataFile == "")
        return;
    const Files::FileNumber fileNo;
    try {
        const QString folder = SettingsFolder();
        if (!Files::MakeFolder(folder))
            raiseError(ErrPathAccess, QStringLiteral("Cannot make folder %1").arg(folder));
        Files::OpenForOutput(fileNo, Files::joinPath(folder, QStringLiteral("kvx.ini")));
        Files::PrintLine(fileNo, settingsField(ModMain.DataFile.text()));
        Files::Close(fileNo);
    } catch (const PlatformError &e) {
        // The user is told, and the program still ends.
        MsgBox(e.description(), vbInformation);
    }
}

} // namespace kvx

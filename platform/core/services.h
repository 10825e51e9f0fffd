#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace kvx {

// Everything that would wait for a person, or that depends on the machine,
// passes through these hooks. The program installs the Qt implementations at
// start-up (installQtServices); tests install their own answers.

inline constexpr int TwipsPerPixel = 15;

// The program's title, carried by every message box that has none of its own.
inline const QString ProgramTitle = QStringLiteral("KVX-410 EXCHANGE HARDWARE ");

enum MsgBoxStyle {
    vbOKOnly = 0,
    vbCritical = 16,
    vbYesNoCancelQuestion = 35,
    vbYesNoQuestion = 36,
    vbInformation = 64,
};
enum MsgBoxAnswer {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

struct MsgBoxCall
{
    QString text;
    int style = 0;
    QString title;
};
using MsgBoxHook = std::function<int(const MsgBoxCall &)>;

// Shows a message box; an empty title gives the program's title.
int MsgBox(const QString &text, int style = vbOKOnly, const QString &title = {});
void setMsgBoxHook(MsgBoxHook hook);

// Ends the program at once; never returns. The hook must not return either:
// the program's hook leaves the process, a test's hook throws ProgramEnded.
[[noreturn]] void End(int code = 0);
void setEndHook(std::function<void(int)> hook);

// Screen size in twips and the program's folder; a test may set both.
namespace Screen {
int Width();
int Height();
void setSizeTwips(int width, int height);
void setSizeHook(std::function<std::pair<int, int>()> hook);
} // namespace Screen

QString AppPath();
void setAppPath(const QString &folder);

// Where the program keeps what a run writes: its settings file, and the
// data files a user opens and saves by default. A copy of the program in a
// folder of its own that the user may write keeps both beside the program.
// An installed program (its data in InstalledDataFolder, share/kvx410 beside
// its bin folder), or one whose folder the user may not write, keeps them in
// the user's own folders ($XDG_CONFIG_HOME/kvx410, $XDG_DATA_HOME/kvx410).
QString SettingsFolder();
QString DataFolder();
QString InstalledDataFolder();

// File and colour dialogs. A hook answers nothing for Cancel.
struct FileDialogRequest
{
    bool save = false;
    QString title;
    QString filter; // description|pattern pairs joined by '|'
    QString initDir;
    QString defaultExt;
    QString fileName;
};
using FileDialogHook = std::function<std::optional<QString>(const FileDialogRequest &)>;
using ColorDialogHook = std::function<std::optional<quint32>(quint32 initial)>;
void setFileDialogHook(FileDialogHook hook);
void setColorDialogHook(ColorDialogHook hook);

// The common dialog control: set its properties, then show one of its dialogs.
class CommonDialog
{
public:
    bool CancelError = false;
    QString DialogTitle;
    QString Filter;
    QString InitDir;
    QString DefaultExt;
    QString FileName;
    quint32 Color = 0; // &HBBGGRR

    // Each returns true when something was chosen; a cancel returns false, or
    // raises ErrCancel when CancelError is set.
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();

private:
    bool showFile(bool save);
};

// Splits a filter of description|pattern pairs, as the dialogs take it.
QStringList filterPatterns(const QString &filter);

} // namespace kvx

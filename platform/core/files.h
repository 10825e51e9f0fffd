#pragma once

#include "platform/core/fields.h"

#include <QString>

class QFile;

namespace kvx {

// Sequential files by file number. Input files are read whole and handed out
// field by field; output files collect their bytes and write the file on
// disk only at Close, so a failed write never leaves a shortened file.
namespace Files {

// The largest file the program reads; nothing it writes comes near it.
constexpr qint64 MaxInputSize = 64 * 1024 * 1024;

int FreeFile();
void OpenForInput(int fileNo, const QString &path);
void OpenForOutput(int fileNo, const QString &path);
// A private file of its own in the folder, removed when it is closed. It is
// written and read back through the one handle that created it, so nobody
// can swap another file in under its name.
void OpenScratch(int fileNo, const QString &folder);
// Writes what was printed to a scratch file, and from then on reads it back
// from the start. A failure is ErrPathAccess "Cannot write file NAME: REASON".
void Rewind(int fileNo);
bool IsOpen(int fileNo);

FieldReader &Reader(int fileNo);
QByteArray InputText(int fileNo);

void Print(int fileNo, QByteArrayView bytes);
void PrintLine(int fileNo, QByteArrayView bytes = {});

// Closing an output file writes it with writeFileSafely; a failure is
// ErrPathAccess with its text and leaves the old file whole.
void Close(int fileNo);
// Closes without writing (for failure paths).
void Abandon(int fileNo);

// A free file number, abandoned if it is still open when this goes out of
// scope: whatever fails between Open and Close leaves no file open. Take the
// next number only after opening this one, as with FreeFile.
class FileNumber
{
public:
    FileNumber() : m_fileNo(FreeFile()) {}
    ~FileNumber()
    {
        if (IsOpen(m_fileNo))
            Abandon(m_fileNo);
    }
    FileNumber(const FileNumber &) = delete;
    FileNumber &operator=(const FileNumber &) = delete;
    operator int() const { return m_fileNo; }

private:
    int m_fileNo;
};

// Writes a whole file so that a failure leaves the old one whole, and says
// why in *error: "Cannot write file NAME: REASON". A file of the user's own
// with one link, in a folder the user can write, is replaced by a new file
// given its mode and group; any other regular file is rewritten in place,
// its old bytes put back if a step fails. A symbolic link writes the file it
// points to, a character device takes the bytes as they are, anything else
// is refused.
bool writeFileSafely(const QString &path, QByteArrayView bytes, QString *error);
// Opens a regular file for reading; a FIFO, socket, device or folder is
// refused at once instead of waited on. *error: the reason.
bool openRegularFile(QFile &file, const QString &path, QString *error);
// Whether the user may make files in the folder.
bool FolderWritable(const QString &folder);
// Makes the folder and those above it; false when it cannot.
bool MakeFolder(const QString &folder);
// Copies a regular file to a new place, making its folder, as a file of the
// user's own. *error: the reason.
bool CopyFile(const QString &from, const QString &to, QString *error);

// True when the folder holds a file of exactly this name, letter case included.
bool ExistsExact(const QString &folder, const QString &name);
void Kill(const QString &path);

// File names read from a file are bytes; these convert for the file system.
QString pathFromBytes(const QByteArray &bytes);
QByteArray bytesFromPath(const QString &path);
QString joinPath(const QString &folder, const QString &name);

} // namespace Files
} // namespace kvx

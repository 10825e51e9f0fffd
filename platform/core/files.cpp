#include "platform/core/files.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <map>
#include <memory>

namespace kvx::Files {

namespace {

struct OpenFile
{
    QString path;
    bool output = false;
    FieldReader reader;
    QByteArray written;
    std::unique_ptr<QTemporaryFile> scratch;
};

std::map<int, OpenFile> &table()
{
    static std::map<int, OpenFile> files;
    return files;
}

OpenFile &file(int fileNo)
{
    auto it = table().find(fileNo);
    if (it == table().end())
        raiseError(ErrBadFileNumber, QStringLiteral("Bad file name or number"));
    return it->second;
}

void checkFree(int fileNo)
{
    if (fileNo < 1 || fileNo > 511)
        raiseError(ErrBadFileNumber, QStringLiteral("Bad file name or number"));
    if (table().count(fileNo))
        raiseError(ErrFileAlreadyOpen, QStringLiteral("File already open"));
}

} // namespace

int FreeFile()
{
    int n = 1;
    while (table().count(n))
        ++n;
    return n;
}

void OpenForInput(int fileNo, const QString &path)
{
    checkFree(fileNo);
    QFile f;
    QString reason;
    if (path.isEmpty() || !openRegularFile(f, path, &reason))
        raiseError(ErrFileNotFound, QStringLiteral("Cannot open file %1: %2").arg(path, reason));
    if (f.size() > MaxInputSize)
        raiseError(ErrBadData, QStringLiteral("File too large: %1").arg(path));
    QByteArray data = f.read(MaxInputSize + 1);
    if (data.size() > MaxInputSize)
        raiseError(ErrBadData, QStringLiteral("File too large: %1").arg(path));
    table()[fileNo] = OpenFile{path, false, FieldReader(std::move(data)), {}, {}};
}

void OpenForOutput(int fileNo, const QString &path)
{
    checkFree(fileNo);
    if (path.isEmpty())
        raiseError(ErrPathAccess, QStringLiteral("Cannot write file: no file name"));
    table()[fileNo] = OpenFile{path, true, FieldReader(), {}, {}};
}

void OpenScratch(int fileNo, const QString &folder)
{
    checkFree(fileNo);
    // A missing temporary folder reads as an empty path, which must not send
    // the file to the working folder.
    auto file = std::make_unique<QTemporaryFile>(joinPath(folder, QStringLiteral("kvx-XXXXXX")));
    if (folder.isEmpty() || !file->open()) {
        raiseError(ErrPathAccess,
                   QStringLiteral("Cannot write file %1: %2")
                       .arg(QDir::toNativeSeparators(file->fileTemplate()),
                            folder.isEmpty() ? QStringLiteral("No temporary folder") : file->errorString()));
    }
    table()[fileNo] = OpenFile{file->fileName(), true, FieldReader(), {}, std::move(file)};
}

void Rewind(int fileNo)
{
    OpenFile &f = file(fileNo);
    if (!f.scratch || !f.output)
        raiseError(ErrBadFileNumber, QStringLiteral("Bad file mode"));
    QTemporaryFile &handle = *f.scratch;
    // Flushed and checked before anything is read: a full disk is reported here.
    const bool written = handle.write(f.written) == f.written.size() && handle.flush() && handle.seek(0);
    QByteArray data = written ? handle.read(f.written.size() + 1) : QByteArray();
    if (!written || data != f.written) {
        raiseError(
            ErrPathAccess,
            QStringLiteral("Cannot write file %1: %2").arg(QDir::toNativeSeparators(f.path), handle.errorString()));
    }
    f.reader = FieldReader(std::move(data));
    f.output = false;
    f.written.clear();
}

bool IsOpen(int fileNo)
{
    return table().count(fileNo) > 0;
}

FieldReader &Reader(int fileNo)
{
    OpenFile &f = file(fileNo);
    if (f.output)
        raiseError(ErrBadFileNumber, QStringLiteral("Bad file mode"));
    return f.reader;
}

QByteArray InputText(int fileNo)
{
    return Reader(fileNo).readText();
}

void Print(int fileNo, QByteArrayView bytes)
{
    OpenFile &f = file(fileNo);
    if (!f.output)
        raiseError(ErrBadFileNumber, QStringLiteral("Bad file mode"));
    f.written.append(bytes);
}

void PrintLine(int fileNo, QByteArrayView bytes)
{
    Print(fileNo, bytes);
    Print(fileNo, "\r\n");
}

void Close(int fileNo)
{
    OpenFile f = std::move(file(fileNo));
    table().erase(fileNo);
    // A scratch file never printed to the disk is only thrown away.
    if (!f.output || f.scratch)
        return;
    QString error;
    if (!writeFileSafely(f.path, f.written, &error))
        raiseError(ErrPathAccess, error);
}

void Abandon(int fileNo)
{
    table().erase(fileNo);
}

bool ExistsExact(const QString &folder, const QString &name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList found = dir.entryList({name}, QDir::Files | QDir::Hidden);
    return found.contains(name, Qt::CaseSensitive);
}

void Kill(const QString &path)
{
    if (!QFile::remove(path))
        raiseError(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path));
}

QString pathFromBytes(const QByteArray &bytes)
{
    return QFile::decodeName(bytes);
}

QByteArray bytesFromPath(const QString &path)
{
    return QFile::encodeName(path);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace kvx::Files

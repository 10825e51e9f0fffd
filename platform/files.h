#pragma once

#include "platform/fields.h"

#include <QString>

namespace kvx {

// Sequential files by file number. Input files are read whole and handed out
// field by field; output files collect their bytes and replace the file on
// disk only at Close, so a failed write never leaves a shortened file.
namespace Files {

// The largest file the program reads; nothing it writes comes near it.
constexpr qint64 MaxInputSize = 64 * 1024 * 1024;

int FreeFile();
void OpenForInput(int fileNo, const QString &path);
void OpenForOutput(int fileNo, const QString &path);
bool IsOpen(int fileNo);

FieldReader &Reader(int fileNo);
Loose InputLoose(int fileNo);
QByteArray InputText(int fileNo);
int InputLong(int fileNo);

void Print(int fileNo, QByteArrayView bytes);
void PrintLine(int fileNo, QByteArrayView bytes = {});

// Closing an output file writes it; a failure is ErrPathAccess with the
// text "Cannot write file NAME: REASON" and leaves the old file whole.
void Close(int fileNo);
// Closes without writing (for failure paths).
void Abandon(int fileNo);
void CloseAll();

// True when the folder holds a file of exactly this name, letter case included.
bool ExistsExact(const QString &folder, const QString &name);
void Kill(const QString &path);

// File names read from a file are bytes; these convert for the file system.
QString pathFromBytes(const QByteArray &bytes);
QByteArray bytesFromPath(const QString &path);
QString joinPath(const QString &folder, const QString &name);

} // namespace Files
} // namespace kvx

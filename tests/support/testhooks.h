#pragma once

#include "platform/core/errors.h"
#include "platform/core/services.h"

#include <QFile>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

namespace kvx::test {

// Screenshots for people to look at are saved as PNG without compression:
// they are not kept, and compressing them cost a third of the viewer
// suite's time.
inline constexpr int ShotQuality = 100;

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// Installs answering hooks for the life of the object: message boxes are
// recorded and answered from a queue (vbOK, or the first button, when the
// queue is empty), dialogs are answered from queues (Cancel when empty),
// and End throws ProgramEnded.
class Hooks
{
public:
    Hooks();
    ~Hooks();

    void setNextAnswer(int answer) { m_answers.push_back(answer); }
    void setNextFile(const std::optional<QString> &file) { m_files.push_back(file); }
    void setNextColor(const std::optional<quint32> &color) { m_colors.push_back(color); }

    QList<MsgBoxCall> messages;
    QList<FileDialogRequest> fileRequests;
    int colorRequests = 0;

private:
    std::deque<int> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<std::optional<quint32>> m_colors;
};

// A 64 KB tmpfs mounted on a folder for the life of the object, for writes
// that meet a full disk. Mounting needs root; mounted() says whether it worked.
class TinyDisk
{
public:
    explicit TinyDisk(const QString &folder);
    ~TinyDisk();
    TinyDisk(const TinyDisk &) = delete;
    TinyDisk &operator=(const TinyDisk &) = delete;
    bool mounted() const { return m_mounted; }
    // Takes up every block that is left.
    bool fill() const;

private:
    QString m_folder;
    bool m_mounted = false;
};

// A device that takes nothing, like /dev/full, at path. As root a node of its
// own, so that a faulty save replaces that node and never /dev/full itself.
QString fullDevice(const QString &path);

// Calls f and reports whether the program ended inside it.
template<typename F>
bool endsProgram(F &&f)
{
    try {
        f();
    } catch (const ProgramEnded &) {
        return true;
    }
    return false;
}

} // namespace kvx::test

#include "support/testhooks.h"

#include "platform/core/errors.h"

#include <QFile>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace kvx::test {

Hooks::Hooks()
{
    setMsgBoxHook([this](const MsgBoxCall &call) {
        messages.append(call);
        if (!m_answers.empty()) {
            const int a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        const int buttons = call.style & 7;
        return buttons == 3 || buttons == 4 ? int(vbYes) : int(vbOK);
    });
    setEndHook([](int code) { throw ProgramEnded{code}; });
    setFileDialogHook([this](const FileDialogRequest &request) -> std::optional<QString> {
        fileRequests.append(request);
        if (m_files.empty())
            return std::nullopt;
        const auto f = m_files.front();
        m_files.pop_front();
        return f;
    });
    setColorDialogHook([this](quint32) -> std::optional<quint32> {
        ++colorRequests;
        if (m_colors.empty())
            return std::nullopt;
        const auto c = m_colors.front();
        m_colors.pop_front();
        return c;
    });
}

Hooks::~Hooks()
{
    setMsgBoxHook({});
    setEndHook({});
    setFileDialogHook({});
    setColorDialogHook({});
}

TinyDisk::TinyDisk(const QString &folder) : m_folder(folder)
{
    m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") == 0;
}

TinyDisk::~TinyDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool TinyDisk::fill() const
{
    QFile filler(m_folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'F');
    while (filler.write(block) == block.size()) {
    }
    return filler.error() == QFileDevice::ResourceError; // ENOSPC
}

QString fullDevice(const QString &path)
{
    if (::geteuid() != 0)
        return QStringLiteral("/dev/full");
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0 ? path : QString();
}

} // namespace kvx::test

// Whole files on disk: reading a regular file without waiting on anything
// else, and writing a file so that a failure leaves the old one whole.

#include "platform/core/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kvx::Files {

namespace {

// An error number of our own beside errno's.
constexpr int NotRegular = -1;

QString reasonText(int error)
{
    return error == NotRegular ? QStringLiteral("Not a regular file") : qt_error_string(error);
}

class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(Fd &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The errno of a failed call, 0 when it succeeded.
int check(long result)
{
    return result < 0 ? errno : 0;
}

int writeAll(int fd, QByteArrayView bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

int readAll(int fd, QByteArray *out)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : 0;
        out->append(buffer, n);
    }
}

// Blocking again once the type is known: only a FIFO or a device could wait.
void setBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A save through a symbolic link writes the file it points to and keeps the link.
int resolveLinks(QByteArray *path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path->constData(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path->constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return errno;
        target.truncate(n);
        *path = target.startsWith('/') ? target : folderOf(*path) + '/' + target;
    }
    return ELOOP;
}

// The new bytes' file in the target's folder. Unnamed (O_TMPFILE) where the
// file system allows, so that a save killed midway leaves nothing behind;
// otherwise under a random name that no later save collides with.
class TempFile
{
public:
    ~TempFile()
    {
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }
    int create(const QByteArray &folder, mode_t mode);
    int fd() const { return m_fd.get(); }
    int commit(const QByteArray &target);

private:
    QByteArray randomName() const;
    int link();

    QByteArray m_folder;
    QByteArray m_name; // set while a named file is on disk
    Fd m_fd;
};

QByteArray TempFile::randomName() const
{
    return m_folder + "/.kvx-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

int TempFile::create(const QByteArray &folder, mode_t mode)
{
    m_folder = folder;
    m_fd = Fd(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (m_fd.valid())
        return 0;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return errno;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName();
        m_fd = Fd(::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode));
        if (m_fd.valid()) {
            m_name = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// An unnamed file gets a name only for the rename that follows at once.
int TempFile::link()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName();
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            m_name = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int TempFile::commit(const QByteArray &target)
{
    int error = m_name.isEmpty() ? link() : 0;
    if (error == 0)
        error = check(::rename(m_name.constData(), target.constData()));
    if (error != 0)
        return error;
    m_name.clear();
    // The rename itself reaches the disk with the folder.
    const Fd folder(::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    return 0;
}

// The new file takes the old one's group and mode; a group the user may not
// give is reported as EPERM, and the file is then written in place.
int keepOwnership(int fd, const struct stat &old)
{
    struct stat st;
    int error = check(::fstat(fd, &st));
    if (error == 0 && st.st_gid != old.st_gid)
        error = check(::fchown(fd, uid_t(-1), old.st_gid));
    return error != 0 ? error : check(::fchmod(fd, old.st_mode & 07777));
}

int replaceByRename(const QByteArray &target, QByteArrayView bytes, const struct stat *old)
{
    TempFile temp;
    // Private until it takes the old file's mode.
    int error = temp.create(folderOf(target), old ? 0600 : 0666);
    if (error == 0 && old)
        error = keepOwnership(temp.fd(), *old);
    if (error == 0)
        error = writeAll(temp.fd(), bytes);
    if (error == 0)
        error = check(::fsync(temp.fd()));
    return error != 0 ? error : temp.commit(target);
}

// Whole new bytes over a file that keeps its inode: the space is reserved
// first, and the length is cut only once the bytes are on disk.
int rewrite(int fd, QByteArrayView bytes)
{
    int error = bytes.isEmpty() ? 0 : ::posix_fallocate(fd, 0, off_t(bytes.size()));
    if (error == EOPNOTSUPP || error == EINVAL)
        error = 0; // no reservation on this file system; the writes still say when it is full
    if (error == 0)
        error = check(::lseek(fd, 0, SEEK_SET));
    if (error == 0)
        error = writeAll(fd, bytes);
    if (error == 0)
        error = check(::fsync(fd));
    if (error == 0)
        error = check(::ftruncate(fd, off_t(bytes.size())));
    return error != 0 ? error : check(::fsync(fd));
}

// A file the program may not replace (another owner, more links, a folder
// the user cannot write) is rewritten; its old bytes go back if that fails.
int rewriteInPlace(int fd, QByteArrayView bytes)
{
    QByteArray old;
    if (const int error = readAll(fd, &old))
        return error;
    const int error = rewrite(fd, bytes);
    if (error != 0)
        rewrite(fd, old);
    return error;
}

int writeExisting(const QByteArray &target, QByteArrayView bytes)
{
    // The links are followed already: one that appears meanwhile is refused.
    const Fd fd(::open(target.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
        return errno;
    setBlocking(fd.get());
    // A device such as a terminal or /dev/full has nothing to keep.
    if (S_ISCHR(st.st_mode))
        return writeAll(fd.get(), bytes);
    return S_ISREG(st.st_mode) ? rewriteInPlace(fd.get(), bytes) : NotRegular;
}

int writeResolved(const QByteArray &target, QByteArrayView bytes)
{
    struct stat st;
    if (::stat(target.constData(), &st) != 0)
        return errno == ENOENT ? replaceByRename(target, bytes, nullptr) : errno;
    // A FIFO, socket or folder is refused before anything could wait on it.
    if (!S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode))
        return NotRegular;
    if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1) {
        const int error = replaceByRename(target, bytes, &st);
        if (error != EACCES && error != EPERM)
            return error;
    }
    return writeExisting(target, bytes);
}

} // namespace

bool writeFileSafely(const QString &path, QByteArrayView bytes, QString *error)
{
    QByteArray target = QFile::encodeName(path);
    int failure = path.isEmpty() ? ENOENT : resolveLinks(&target);
    if (failure == 0)
        failure = writeResolved(target, bytes);
    if (failure == 0)
        return true;
    if (error)
        *error = QStringLiteral("Cannot write file %1: %2").arg(QDir::toNativeSeparators(path), reasonText(failure));
    return false;
}

bool openRegularFile(QFile &file, const QString &path, QString *error)
{
    // Opened without waiting, then checked on the open file itself: a FIFO
    // or a device swapped in meanwhile is refused all the same.
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    int failure = (!fd.valid() || ::fstat(fd.get(), &st) != 0) ? errno : 0;
    if (failure == 0 && !S_ISREG(st.st_mode))
        failure = NotRegular;
    if (failure == 0) {
        setBlocking(fd.get());
        if (file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            fd.release();
            return true;
        }
        failure = EIO;
    }
    if (error)
        *error = reasonText(failure);
    return false;
}

bool FolderWritable(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool MakeFolder(const QString &folder)
{
    return QDir().mkpath(folder);
}

bool CopyFile(const QString &from, const QString &to, QString *error)
{
    QFile source;
    if (!openRegularFile(source, from, error)) {
        if (error)
            *error = QStringLiteral("Cannot read file %1: %2").arg(from, *error);
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read file %1: %2").arg(from, source.errorString());
        return false;
    }
    // Written as a new file of the user's own, so a read-only original gives
    // a copy the user can save over.
    const QString folder = QFileInfo(to).path();
    if (!MakeFolder(folder)) {
        if (error)
            *error = QStringLiteral("Cannot make folder %1").arg(folder);
        return false;
    }
    return writeFileSafely(to, bytes, error);
}

} // namespace kvx::Files

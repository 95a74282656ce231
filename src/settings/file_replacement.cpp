// SPDX-License-Identifier: MIT
#include "settings/file_replacement.h"

#include "countdown/number_text.h"
#include "countdown/run_error.h"
#include "settings/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quennix {

namespace {

QLatin1String savingInfix() {
    return QLatin1String(".saving-");
}

// A save that is still running finishes within moments; one this old belongs
// to a dead process whose id some other process has taken since.
constexpr time_t kStaleAge = 60 * 60;

// An open descriptor, closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (open_)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Closes now, reporting the error a network file system may only give here.
    int close() {
        open_ = false;
        return ::close(fd_);
    }

private:
    int fd_;
    bool open_ = true;
};

// Writes every byte, across short writes; errno says why not. (A regular
// file's write is not interrupted by a signal: the handlers restart.)
bool writeAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (wrote == 0)
            errno = ENOSPC; // took nothing, yet no error: it would never end
        if (wrote <= 0)
            return false;
        bytes = bytes.sliced(wrote);
    }
    return true;
}

// The folder's own entry must reach the disk too, or after a power loss the
// rename may be undone even though the data is there. Nothing to report if
// this fails: the new file is in place either way.
void syncFolder(const QByteArray &folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The process id in a name "<name>.saving-<digits>", or 0 for any other name.
pid_t saverOf(const QString &entry, const QString &prefix) {
    if (!entry.startsWith(prefix))
        return 0;
    const QStringView digits = QStringView(entry).sliced(prefix.size());
    bool ok = false;
    const int pid = digits.toInt(&ok); // not for an empty text or one past 32 bits
    // Digits only: toInt would also take a sign or blanks.
    return ok && std::all_of(digits.begin(), digits.end(), isDigit) ? pid : 0;
}

bool processIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// The file a save by process pid writes before renaming it over path.
QString savingPath(const QString &path, pid_t pid) {
    return path + savingInfix() + QString::number(pid);
}

// Removes the files saves of path left behind when their process died (or
// that are over an hour old, should the process id have been reused). Saves in
// progress in other running processes are left alone, and so is a file that
// cannot be removed.
void removeStaleSaves(const QString &path) {
    const QFileInfo info(path);
    const QString prefix = info.fileName() + savingInfix();
    const QDir folder = info.absoluteDir();
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const time_t now = ::time(nullptr);
    for (const QString &entry : entries) {
        const pid_t pid = saverOf(entry, prefix);
        if (pid == 0 || pid == ::getpid())
            continue; // not a save's file, or our own (reused below anyway)
        const QByteArray name = QFile::encodeName(folder.filePath(entry));
        struct stat st;
        if (::lstat(name.constData(), &st) != 0) // (unlink() leaves a folder alone)
            continue;
        if (!processIsGone(pid) && now - st.st_mtime < kStaleAge)
            continue; // another running program is saving right now
        ::unlink(name.constData());
    }
}

} // namespace

void makeFolderFor(const QString &path) {
    const QString folder = QFileInfo(path).absolutePath();
    QStringList missing;
    // Up to the nearest folder that is there (at worst the root).
    for (QDir d(folder); !d.exists(); d.setPath(QFileInfo(d.path()).path()))
        missing.prepend(d.path());
    for (const QString &f : missing) {
        // Another program may make the same folder at the same moment.
        if (::mkdir(QFile::encodeName(f).constData(), 0700) != 0 &&
            !(errno == EEXIST && QFileInfo(f).isDir()))
            throw fileError(errno, FileStep::Save);
    }
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void replaceFile(const QString &path, const QByteArray &bytes) {
    // A link to the settings file elsewhere stays a link; its target is replaced.
    const QFileInfo info(path);
    QString target = path;
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        target = info.canonicalFilePath();
    const QByteArray targetName = QFile::encodeName(target);

    // Only a regular file is replaced: a folder, a FIFO, a socket, a device
    // or a link that loops is left as it is, whoever may write there.
    // Renaming would replace even a write-protected file; the user protected
    // it for a reason, so it is refused as an ordinary write would be.
    struct stat old;
    const bool existed = ::stat(targetName.constData(), &old) == 0;
    if (!existed && errno != ENOENT)
        throw fileError(errno, FileStep::Save);
    if (existed && !S_ISREG(old.st_mode))
        throw RunError::pathFileAccess();
    if (existed && ::access(targetName.constData(), W_OK) != 0)
        throw fileError(errno, FileStep::Save);

    removeStaleSaves(target);

    const QByteArray tempName = QFile::encodeName(savingPath(target, ::getpid()));
    const int fd =
        ::open(tempName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd == -1)
        throw fileError(errno, FileStep::Save);
    Descriptor file(fd);

    const auto fail = [&](int err) {
        ::unlink(tempName.constData());
        return fileError(err, FileStep::Save);
    };
    if (existed && ::fchmod(file.get(), old.st_mode & 07777) != 0)
        throw fail(errno);
    if (!writeAll(file.get(), bytes))
        throw fail(errno);
    // Some file systems only report a full disk when the data is forced out,
    // and the rename must not publish data that is still in flight.
    if (::fsync(file.get()) != 0)
        throw fail(errno);
    if (file.close() != 0)
        throw fail(errno);
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        throw fail(errno);
    syncFolder(QFile::encodeName(QFileInfo(target).absolutePath()));
}

} // namespace quennix

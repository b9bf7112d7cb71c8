#include "platform/files/dirchanges.h"

#include "platform/core/FileDescriptor.h"
#include "platform/core/errhandling.h"
#include "platform/files/NameMapping.h"
#include "platform/files/paths.h"

#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <vector>

namespace win32 {

namespace {

// How long events are gathered before they are handed on: short enough that an entry shows
// well within a blink, long enough that a burst arrives as one batch.
constexpr int kGatherMs = 25;
// While a burst goes on (the last delivery held many names), events are gathered for longer,
// so that the lists take fewer, larger batches; an entry still shows well within 300 ms.
constexpr int kBurstGatherMs = 100;
constexpr qsizetype kBurstNames = 16;
// More changed names than this are not worth looking at one by one: the folder is read again.
constexpr qsizetype kMostNames = 20000;
// The reads of one wake-up: the rest waits for the next turn of the event loop, so that a flood
// of events never holds the loop.
constexpr int kReadsPerWakeUp = 8;

constexpr uint32_t kGoneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

} // namespace

class DirectoryChangeWatch::Notifier {
public:
    Notifier(FileDescriptor fd, QString folder, DWORD filter, Handler handler, int parentWatch,
             QByteArray ownName)
        : fd_(std::move(fd)), folder_(std::move(folder)), filter_(filter),
          parentWatch_(parentWatch), ownName_(std::move(ownName)), handler_(std::move(handler)),
          notifier_(new QSocketNotifier(fd_.Get(), QSocketNotifier::Read)), timer_(new QTimer) {
        timer_->setSingleShot(true);
        timer_->setInterval(kGatherMs);
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] { ReadEvents(); });
        QObject::connect(timer_, &QTimer::timeout, [this] { Deliver(); });
    }

    ~Notifier() {
        // The watch may end from inside its own delivery, so its Qt objects go once the event
        // loop has left them; the descriptor closes now.
        notifier_->setEnabled(false);
        notifier_->disconnect();
        timer_->stop();
        timer_->disconnect();
        notifier_->deleteLater();
        timer_->deleteLater();
    }

    const QString& Folder() const { return folder_; }

    void Discard() {
        timer_->stop();
        names_.clear();
        seen_.clear();
        overflow_ = false;
    }

private:
    void ReadEvents() {
        alignas(inotify_event) char buffer[64 * 1024];
        for (int round = 0; round < kReadsPerWakeUp; ++round) {
            const ssize_t size = ::read(fd_.Get(), buffer, sizeof buffer);
            if (size <= 0)
                break;
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                Take(*event);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        if (gone_)
            notifier_->setEnabled(false);
        if (!timer_->isActive() && (gone_ || overflow_ || !names_.empty()))
            timer_->start();
    }

    void Take(const inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW)
            overflow_ = true;
        if (event.wd == parentWatch_) {
            // The folder stays alive while a process (this one, as a rule) stands in it, so
            // the kernel tells of its removal only to the parent.
            if (event.len > 0 && ownName_ == event.name)
                gone_ = true;
            return;
        }
        if (event.mask & kGoneEvents)
            gone_ = true;
        if (event.len == 0 || overflow_)
            return;
        const bool folder = event.mask & IN_ISDIR;
        if (!(filter_ & (folder ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) &&
            !(filter_ & FILE_NOTIFY_CHANGE_ATTRIBUTES && event.mask & IN_ATTRIB))
            return;
        QByteArray name(event.name, static_cast<qsizetype>(::strnlen(event.name, event.len)));
        if (seen_.contains(name))
            return;
        if (names_.size() >= kMostNames) {
            overflow_ = true;
            names_.clear();
            seen_.clear();
            return;
        }
        seen_.insert(name);
        names_.push_back(std::move(name));
    }

    void Deliver() {
        DIRECTORY_CHANGES changes;
        changes.Overflow = overflow_;
        changes.DirectoryGone = gone_;
        changes.FileNames.reserve(static_cast<qsizetype>(names_.size()));
        for (const QByteArray& name : names_)
            changes.FileNames.append(WindowsNameOf(name));
        timer_->setInterval(names_.size() > kBurstNames ? kBurstGatherMs : kGatherMs);
        names_.clear();
        seen_.clear();
        overflow_ = false;
        // The handler may end this watch, so nothing of it is touched after the call.
        const Handler handler = handler_;
        handler(changes);
    }

    FileDescriptor fd_;
    QString folder_;
    DWORD filter_;
    int parentWatch_;
    QByteArray ownName_;
    Handler handler_;
    QSocketNotifier* notifier_;
    QTimer* timer_;
    std::vector<QByteArray> names_; // in the order they first changed
    QSet<QByteArray> seen_;
    bool overflow_ = false;
    bool gone_ = false;
};

DirectoryChangeWatch::DirectoryChangeWatch() = default;

DirectoryChangeWatch::~DirectoryChangeWatch() = default;

bool DirectoryChangeWatch::Watch(const QString& folder, DWORD filter, Handler handler) {
    watch_.reset();
    const std::optional<QByteArray> posix = ToPosixPath(folder);
    if (!posix)
        return false;
    FileDescriptor fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!fd.IsValid())
        return FailWithErrno(errno);
    uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                    IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
    if (filter & FILE_NOTIFY_CHANGE_ATTRIBUTES)
        mask |= IN_ATTRIB;
    if (::inotify_add_watch(fd.Get(), posix->constData(), mask) < 0) {
        const int error = errno;
        if (error == ENOSPC)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        return FailWithErrno(error, *posix, true);
    }
    // The parent is watched for the folder's own removal or rename; a root has none, and a
    // parent that cannot be watched leaves only the folder's own events.
    QByteArray path = *posix;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    int parentWatch = -1;
    QByteArray ownName;
    if (slash >= 0 && path.size() > 1) {
        ownName = path.mid(slash + 1);
        const QByteArray parent = slash == 0 ? QByteArray("/") : path.left(slash);
        parentWatch = ::inotify_add_watch(fd.Get(), parent.constData(),
                                          IN_DELETE | IN_MOVED_FROM | IN_ONLYDIR);
    }
    watch_ = std::make_unique<Notifier>(std::move(fd), folder, filter, std::move(handler),
                                        parentWatch, std::move(ownName));
    return true;
}

void DirectoryChangeWatch::Close() {
    watch_.reset();
}

void DirectoryChangeWatch::Discard() {
    if (watch_)
        watch_->Discard();
}

QString DirectoryChangeWatch::Folder() const {
    return watch_ ? watch_->Folder() : QString();
}

} // namespace win32

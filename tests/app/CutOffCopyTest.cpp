#include "app/Zvonkar.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FatVolume.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// True when descriptor `fd` of process `pid` is open for writing.
bool OpenForWriting(pid_t pid, const char* fd) {
    QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
    if (!info.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : info.readAll().split('\n'))
        if (line.startsWith("flags:"))
            return (line.mid(6).trimmed().toInt(nullptr, 8) & O_ACCMODE) != O_RDONLY;
    return false;
}

// The size of the new file that process `pid` writes in `folder`, or -1 while it writes none.
// A killed copy's temporary that it looks at, or the destination b.wav that it holds, is no
// sign of its progress.
qint64 WrittenFileSizeIn(pid_t pid, const QString& folder) {
    const QByteArray fds = "/proc/" + QByteArray::number(pid) + "/fd/";
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    const QByteArray held = prefix + "b.wav";
    DIR* listing = ::opendir(fds.constData());
    qint64 size = -1;
    while (const dirent* entry = listing ? ::readdir(listing) : nullptr) {
        const QByteArray link = fds + entry->d_name;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(link.constData(), target, sizeof target);
        struct stat info {};
        const QByteArray path(target, qMax<ssize_t>(length, 0));
        if (path.startsWith(prefix) && path != held && OpenForWriting(pid, entry->d_name) &&
            ::stat(link.constData(), &info) == 0)
            size = info.st_size;
    }
    if (listing)
        ::closedir(listing);
    return size;
}

class CutOffCopy : public MainWindowFixture {
protected:
    void SetUp() override {
        Start();
        drives.MakeDirectory('C', "zvuky");
    }

    QStringList EntriesOf(char drive) const {
        return QDir(drives.PosixPath(drive, "kopie"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // The user walks to the folder, from another one.
    void Visit(char drive) {
        form->adresar->SetDirectory("C:\\zvuky");
        form->adresar->SetDirectory(QStringLiteral("%1:\\kopie").arg(drive));
    }

    // Copies a file of `size` bytes into drive's folder "kopie" in a child process, which is
    // stopped part-way; the child's pid.
    pid_t StartCopyAndStopMidway(char drive, qint64 size) {
        MakeSound('C', "zvuky/velky.wav", size);
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                CopySoundFile("C:\\zvuky\\velky.wav",
                              QStringLiteral("%1:\\kopie\\b.wav").arg(drive));
            } catch (const Exception& e) {
                std::fprintf(stderr, "the copy failed: %s\n", qPrintable(e.Message()));
                std::_Exit(1);
            }
            std::_Exit(0);
        }
        QElapsedTimer clock;
        clock.start();
        const QString folder = drives.PosixPath(drive, "kopie");
        while (WrittenFileSizeIn(child, folder) <= 0 && clock.elapsed() < 10000) {
        }
        ::kill(child, SIGSTOP);
        ::waitpid(child, nullptr, WUNTRACED);
        const qint64 written = WrittenFileSizeIn(child, folder);
        EXPECT_GT(written, 0) << "the copy never began";
        EXPECT_LT(written, size) << "the copy ended before it could be stopped";
        return child;
    }

    static void Kill(pid_t child) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
};

} // namespace

// Where the volume has unnamed files, a copy killed part-way never shows at the destination,
// and one over an existing file leaves that file whole.
TEST_F(CutOffCopy, AKilledCopyLeavesNothingAndTheOldFileWhole) {
    const QByteArray folder = QFile::encodeName(drives.MakeDirectory('D', "kopie"));
    if (::close(::open(folder.constData(), O_TMPFILE | O_RDWR, 0600)) != 0)
        GTEST_SKIP() << "the temporary folder's file system has no unnamed files";
    Kill(StartCopyAndStopMidway('D', qint64(128) << 20));
    Visit('D');
    EXPECT_EQ(EntriesOf('D'), QStringList());
    EXPECT_EQ(form->soubor->Items().Count(), 0);
    drives.MakeFile('D', "kopie/b.wav", "old");
    const pid_t child = StartCopyAndStopMidway('D', qint64(128) << 20);
    EXPECT_EQ(EntriesOf('D'), QStringList{"b.wav"});
    Kill(child);
    EXPECT_EQ(EntriesOf('D'), QStringList{"b.wav"});
    EXPECT_TRUE(drives.ReadFile('D', "kopie/b.wav") == QByteArray("old"));
}

// On a FAT card the copy writes under a hidden name. Once its writer is killed, the next copy
// into the folder or the next visit clears it; while a writer lives, a visit leaves it. Later
// copies complete and replace as usual.
TEST_F(CutOffCopy, OnFatAKilledCopysTemporaryGoesAtTheNextCopyOrVisitNotBefore) {
    FatVolume card(drives.PosixPath('D'), drives.Root() + "/card.img", qint64(64) << 20);
    if (!card.Mounted())
        GTEST_SKIP() << card.Problem().toStdString();
    drives.MakeDirectory('D', "kopie");
    const qint64 size = qint64(16) << 20;
    Kill(StartCopyAndStopMidway('D', size));
    const QStringList left = EntriesOf('D');
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left[0].startsWith(".zvonkar-copy-")) << left[0].toStdString();
    const pid_t child = StartCopyAndStopMidway('D', size);
    Visit('D');
    const QStringList whileWritten = EntriesOf('D');
    ASSERT_EQ(whileWritten.size(), 1);
    EXPECT_NE(whileWritten, left);
    Kill(child);
    EXPECT_EQ(EntriesOf('D'), whileWritten);
    Visit('D');
    EXPECT_EQ(EntriesOf('D'), QStringList());
    for (int pass = 0; pass < 2; ++pass)
        CopySoundFile("C:\\zvuky\\velky.wav", "D:\\kopie\\b.wav");
    EXPECT_EQ(EntriesOf('D'), QStringList{"b.wav"});
    EXPECT_TRUE(drives.ReadFile('D', "kopie/b.wav") == drives.ReadFile('C', "zvuky/velky.wav"));
}

// Only the program's own temporaries are cleared: a user's file that merely looks alike stays.
TEST_F(CutOffCopy, AVisitClearsOnlyTheProgramsStaleTemporaries) {
    for (const char* name : {".zvonkar-copy-0badf00d.tmp", ".zvonkar-copy-notes.txt", ".other.tmp",
                             "zvonkar-copy-1.tmp", "a.wav"})
        drives.MakeFile('D', QStringLiteral("kopie/") + name, "user's");
    Visit('D');
    EXPECT_EQ(EntriesOf('D'), (QStringList{".other.tmp", ".zvonkar-copy-notes.txt", "a.wav",
                                           "zvonkar-copy-1.tmp"}));
}

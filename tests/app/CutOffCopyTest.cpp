#include "app/Zvonkar.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FatVolume.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The bytes that process `pid` has written so far; a copying child writes nothing but its copy.
qint64 BytesWritten(pid_t pid) {
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    const QByteArray text = io.open(QIODevice::ReadOnly) ? io.readAll() : QByteArray();
    const qsizetype at = text.indexOf("wchar:");
    return at < 0 ? -1 : text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().toLongLong();
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
            } catch (...) {
            }
            std::_Exit(0);
        }
        QElapsedTimer clock;
        clock.start();
        // Past the first megabyte the copy's file exists, whatever else the child wrote before
        // (a warning on stderr, say).
        while (BytesWritten(child) < (qint64(1) << 20) && clock.elapsed() < 10000) {
        }
        ::kill(child, SIGSTOP);
        ::waitpid(child, nullptr, WUNTRACED);
        const qint64 written = BytesWritten(child);
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
    const FatVolume card({.At = drives.PosixPath('D')});
    if (!card.SkipReason().isEmpty())
        GTEST_SKIP() << card.SkipReason().toStdString();
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

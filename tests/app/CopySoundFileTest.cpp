#include "app/Zvonkar.h"
#include "framework/Exceptions.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray Pattern(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

template <class E> QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return QString();
}

class CopySoundFileTest : public ::testing::Test {
protected:
    TempDrives drives{{'C', "c"}, {'D', "d"}};
};

} // namespace

TEST_F(CopySoundFileTest, CopiesTheWholeContentInChunks) {
    for (qint64 size : {0, 1, 1023, 61440, 61441, 200000}) {
        const QByteArray content = Pattern(size);
        drives.MakeFile('C', "zvuky/a.wav", content);
        CopySoundFile("C:\\zvuky\\a.wav", "D:\\b.wav");
        EXPECT_EQ(drives.ReadFile('D', "b.wav"), content) << size;
        EXPECT_EQ(FilesIn(drives.PosixPath('D')), QStringList{"b.wav"});
        QFile::remove(drives.PosixPath('D', "b.wav"));
    }
}

TEST_F(CopySoundFileTest, ReplacesAnExistingDestinationAndKeepsItsLinks) {
    drives.MakeFile('C', "a.wav", Pattern(5000));
    const QString real = drives.MakeFile('D', "real/b.wav", "old content");
    ASSERT_EQ(::link(QFile::encodeName(real), QFile::encodeName(drives.PosixPath('D', "hard.wav"))),
              0);
    ASSERT_TRUE(QFile::link("real/b.wav", drives.PosixPath('D', "soft.wav")));
    // A hard link becomes a file of its own; the other name keeps what it had.
    CopySoundFile("C:\\a.wav", "D:\\hard.wav");
    EXPECT_EQ(drives.ReadFile('D', "hard.wav"), Pattern(5000));
    EXPECT_EQ(drives.ReadFile('D', "real/b.wav"), QByteArray("old content"));
    // A symbolic link gets the copy in the file it points to, and stays a link.
    CopySoundFile("C:\\a.wav", "D:\\soft.wav");
    EXPECT_TRUE(QFileInfo(drives.PosixPath('D', "soft.wav")).isSymLink());
    EXPECT_EQ(drives.ReadFile('D', "real/b.wav"), Pattern(5000));
    EXPECT_EQ(FilesIn(drives.PosixPath('D')), (QStringList{"hard.wav", "soft.wav"}));
    EXPECT_EQ(FilesIn(drives.PosixPath('D', "real")), QStringList{"b.wav"});
}

TEST_F(CopySoundFileTest, AMissingSourceCannotBeOpened) {
    EXPECT_EQ(ErrorOf<EFOpenError>([] { CopySoundFile("C:\\nothing.wav", "D:\\b.wav"); }),
              "Cannot open file C:\\nothing.wav");
    EXPECT_FALSE(drives.Exists('D', "b.wav"));
}

TEST_F(CopySoundFileTest, CopyOntoItselfFailsAndKeepsTheSource) {
    const QByteArray content = Pattern(100000);
    const QString source = drives.MakeFile('C', "a.wav", content);
    ASSERT_EQ(
        ::link(QFile::encodeName(source), QFile::encodeName(drives.PosixPath('C', "hard.wav"))), 0);
    ASSERT_TRUE(QFile::link(source, drives.PosixPath('C', "soft.wav")));
    for (const QString& destination : {QString("C:\\a.wav"), QString("C:\\A.WAV"),
                                       QString("C:\\hard.wav"), QString("C:\\soft.wav")}) {
        const QString error =
            ErrorOf<EFCreateError>([&] { CopySoundFile("C:\\a.wav", destination); });
        if (destination == "C:\\A.WAV" && error.isEmpty() && drives.Exists('C', "A.WAV"))
            continue; // a case-sensitive volume: another file, a genuine copy
        EXPECT_EQ(error, "Cannot create file " + destination);
        EXPECT_EQ(drives.ReadFile('C', "a.wav"), content) << destination.toStdString();
    }
    QStringList left = FilesIn(drives.PosixPath('C'));
    left.removeAll("A.WAV");
    left.sort();
    EXPECT_EQ(left, (QStringList{"a.wav", "hard.wav", "soft.wav"}));
}

// A read-only destination, a link to no file, and a folder that cannot take the temporary file
// (though the destination in it could be written in place) all refuse the copy.
TEST_F(CopySoundFileTest, ADestinationThatCannotBeReplacedWholeStaysAsItWas) {
    drives.MakeFile('C', "a.wav", Pattern(10));
    drives.MakeFile('D', "b.wav", "keep me");
    drives.MakeReadOnly('D', "b.wav");
    ASSERT_TRUE(QFile::link("nowhere.wav", drives.PosixPath('D', "dangling.wav")));
    drives.MakeFile('D', "full/c.wav", "keep me");
    const auto refusal = [](const QString& destination) {
        return ErrorOf<EFCreateError>([&] { CopySoundFile("C:\\a.wav", destination); });
    };
    EXPECT_EQ(refusal("D:\\b.wav"), "Cannot create file D:\\b.wav");
    EXPECT_EQ(refusal("D:\\dangling.wav"), "Cannot create file D:\\dangling.wav");
    {
        const ReadOnlyFolder readOnly(drives.PosixPath('D', "full"), {drives.Root()});
        EXPECT_EQ(refusal("D:\\full\\c.wav"), "Cannot create file D:\\full\\c.wav");
    }
    EXPECT_EQ(drives.ReadFile('D', "b.wav"), QByteArray("keep me"));
    EXPECT_EQ(drives.ReadFile('D', "full/c.wav"), QByteArray("keep me"));
    EXPECT_TRUE(QFileInfo(drives.PosixPath('D', "dangling.wav")).isSymLink());
    EXPECT_EQ(FilesIn(drives.PosixPath('D')), (QStringList{"b.wav", "dangling.wav"}));
    EXPECT_EQ(FilesIn(drives.PosixPath('D', "full")), QStringList{"c.wav"});
}

// A full disk, had without mounting anything: a child process with a small file size limit.
TEST_F(CopySoundFileTest, AFullDiskLeavesNoPartialFileAndTheOldDestination) {
    const QByteArray content = Pattern(300000);
    drives.MakeFile('C', "a.wav", content);
    drives.MakeFile('D', "old.wav", "previous");
    auto copyWithLimit = [&](const QString& destination) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString error =
            ErrorOf<EWriteError>([&] { CopySoundFile("C:\\a.wav", destination); });
        std::_Exit(error == "Stream write error" ? 0 : 1);
    };
    EXPECT_EXIT(copyWithLimit("D:\\new.wav"), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(copyWithLimit("D:\\old.wav"), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(drives.ReadFile('C', "a.wav"), content);
    EXPECT_EQ(drives.ReadFile('D', "old.wav"), QByteArray("previous"));
    EXPECT_EQ(FilesIn(drives.PosixPath('D')), QStringList{"old.wav"});
}

#include "app/Zvonkar.h"
#include "framework/Exceptions.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFile>
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

TEST_F(CopySoundFileTest, ReplacesAnExistingDestination) {
    drives.MakeFile('C', "a.wav", Pattern(5000));
    drives.MakeFile('D', "b.wav", "old content");
    CopySoundFile("C:\\a.wav", "D:\\b.wav");
    EXPECT_EQ(drives.ReadFile('D', "b.wav"), Pattern(5000));
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

TEST_F(CopySoundFileTest, AReadOnlyDestinationStaysAsItWas) {
    drives.MakeFile('C', "a.wav", Pattern(10));
    drives.MakeFile('D', "b.wav", "keep me");
    drives.MakeReadOnly('D', "b.wav");
    EXPECT_EQ(ErrorOf<EFCreateError>([] { CopySoundFile("C:\\a.wav", "D:\\b.wav"); }),
              "Cannot create file D:\\b.wav");
    EXPECT_EQ(drives.ReadFile('D', "b.wav"), QByteArray("keep me"));
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

// Share modes between processes: a second process (this test binary run again for one probe)
// tries to open, truncate or delete a file that this process holds open.
#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "platform/files/drives.h"
#include "platform/files/fileio.h"
#include "platform/files/filemanage.h"
#include "tests/support/TempDrives.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace win32;

namespace {

// The probe, run only in the child: ZVONKAR_PROBE is "open <access> <share> <disposition>
// <path>" or "delete <path>"; the exit status is the Win32 error (0 for success).
TEST(CrossProcessProbe, Run) {
    const QByteArray probe = qgetenv("ZVONKAR_PROBE");
    if (probe.isEmpty()) {
        GTEST_SKIP() << "runs only as another process's probe";
    }
    ReloadDriveMap();
    const QList<QByteArray> words = probe.split(' ');
    if (words[0] == "delete") {
        std::_Exit(DeleteFile(QString::fromUtf8(words[1])) ? 0 : int(GetLastError()));
    }
    const HANDLE file = CreateFile(QString::fromUtf8(words[4]), words[1].toUInt(nullptr, 0),
                                   words[2].toUInt(), words[3].toUInt(), 0);
    std::_Exit(file != INVALID_HANDLE_VALUE ? 0 : int(GetLastError()));
}

int RunProbe(const QString& command) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZVONKAR_PROBE", command);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=CrossProcessProbe.Run"});
    if (!child.waitForFinished(30000)) {
        return -1;
    }
    return child.exitCode();
}

class CrossProcessShare : public ::testing::Test {
protected:
    void SetUp() override { drives.MakeFile('C', "zvuk.wav", "0123456789"); }
    TempDrives drives{{'C', "c"}};
};

TEST_F(CrossProcessShare, AnotherProcessIsRefusedWhileTheFileIsHeld) {
    const QString path = drives.PosixPath('C', "zvuk.wav");
    const QString winPath = "C:\\zvuk.wav";
    const QString readAll = QString("open %1 7 %2 ").arg(GENERIC_READ);
    struct Case {
        DWORD heldShare;
        QString probe;
        int status;
    };
    const std::vector<Case> cases = {
        {FILE_SHARE_READ, readAll.arg(OPEN_EXISTING) + winPath, 0},
        {0, readAll.arg(OPEN_EXISTING) + winPath, int(ERROR_SHARING_VIOLATION)},
        {FILE_SHARE_READ, QString("open %1 7 %2 ").arg(GENERIC_WRITE).arg(OPEN_EXISTING) + winPath,
         int(ERROR_SHARING_VIOLATION)},
        {FILE_SHARE_READ | FILE_SHARE_WRITE,
         QString("open %1 0 %2 ").arg(GENERIC_READ | GENERIC_WRITE).arg(CREATE_ALWAYS) + winPath,
         int(ERROR_SHARING_VIOLATION)}, // the prober refuses sharing what the holder uses
        {0, "delete " + winPath, int(ERROR_SHARING_VIOLATION)},
        {FILE_SHARE_READ | FILE_SHARE_DELETE, "delete " + winPath, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.probe.toStdString());
        drives.MakeFile('C', "zvuk.wav", "0123456789");
        const HANDLE held = CreateFile(winPath, GENERIC_READ, c.heldShare, OPEN_EXISTING, 0);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(RunProbe(c.probe), c.status);
        if (c.status != 0) {
            EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray("0123456789"));
        }
        CloseHandle(held);
    }
}

TEST_F(CrossProcessShare, TruncationIsRefusedBeforeItHappens) {
    const HANDLE held = CreateFile("C:\\zvuk.wav", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const QString probe =
        QString("open %1 7 %2 C:\\zvuk.wav").arg(GENERIC_READ | GENERIC_WRITE).arg(CREATE_ALWAYS);
    EXPECT_EQ(RunProbe(probe), int(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray("0123456789"));
    CloseHandle(held);
    EXPECT_EQ(RunProbe(probe), 0);
    EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray(""));
}

} // namespace

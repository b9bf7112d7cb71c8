#include "app/Zvonkar.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/curdir.h"
#include "platform/registry/registry.h"
#include "tests/app/MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utime.h>

using StartUp = MainWindowFixture;

TEST_F(StartUp, FirstStartOpensTheRootOfC) {
    drives.MakeDirectory('C', "zvuky");
    Start();
    EXPECT_EQ(form->adresar->Directory(), "C:\\");
    EXPECT_EQ(form->disk->Drive(), u'c');
    EXPECT_FALSE(form->Panel2->Enabled());
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_TRUE(ErrorBoxes().isEmpty());
    win32::HKEY key = nullptr;
    EXPECT_EQ(win32::RegOpenKeyEx(win32::HKEY_CURRENT_USER, SettingsKey, 0, win32::KEY_READ, &key),
              win32::ERROR_SUCCESS);
    win32::RegCloseKey(key);
}

// Reading the settings leaves the file as it was, to the byte and the time.
TEST_F(StartUp, AStoredFolderOnAnotherDriveIsOpenedWithItsDrive) {
    MakeSound('D', "zvuky/ding.wav", 2048);
    StoreLastDir("D:\\zvuky");
    QFile settings(win32::RegistryFilePath());
    const utimbuf longAgo{1000000000, 1000000000};
    ASSERT_EQ(utime(QFile::encodeName(settings.fileName()).constData(), &longAgo), 0);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray bytes = settings.readAll();
    settings.close();
    Start();
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), bytes);
    EXPECT_EQ(QFileInfo(settings).lastModified().toSecsSinceEpoch(), 1000000000);
    EXPECT_EQ(form->adresar->Directory(), "D:\\zvuky");
    EXPECT_EQ(form->disk->Drive(), u'd');
    EXPECT_EQ(form->soubor->Directory(), "D:\\zvuky");
    EXPECT_EQ(form->soubor->Items().Count(), 1);
    EXPECT_EQ(win32::GetCurrentDirectory(), "D:\\zvuky");
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

TEST_F(StartUp, AMissingStoredFolderFallsBackToTheProgramFolder) {
    StoreLastDir("D:\\gone");
    Start();
    EXPECT_FALSE(ProgramDir.isEmpty());
    EXPECT_EQ(JoinPath(form->adresar->Directory(), "x"), ProgramDir + "x");
    EXPECT_EQ(form->disk->Drive(), u'p');
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

TEST_F(StartUp, AStoredValueOfTheWrongTypeIsReportedAndTheStartFolderKept) {
    win32::HKEY key = nullptr;
    ASSERT_EQ(win32::RegCreateKeyEx(win32::HKEY_CURRENT_USER, SettingsKey, 0, win32::KEY_ALL_ACCESS,
                                    &key, nullptr),
              win32::ERROR_SUCCESS);
    win32::RegSetValueEx(key, "LastDir", win32::REG_DWORD, QByteArray("\x05\0\0\0", 4));
    win32::RegCloseKey(key);
    drives.MakeDirectory('C', "start");
    ASSERT_TRUE(win32::SetCurrentDirectory("C:\\start"));
    Start();
    EXPECT_EQ(ErrorBoxes(), QStringList{"Invalid data type for 'LastDir'"});
    EXPECT_EQ(form->adresar->Directory(), "C:\\start");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(StartUp, AProcessOutsideEveryDriveStartsInTheProgramFolder) {
    ASSERT_TRUE(QDir::setCurrent(drives.Root()));
    ASSERT_TRUE(win32::GetCurrentDirectory().isEmpty());
    EnsureCurrentDirectoryOnDrive();
    EXPECT_EQ(JoinPath(win32::GetCurrentDirectory(), "x"), ProgramFolder() + "x");
    StoreLastDir("D:\\gone");
    Start();
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
    EXPECT_EQ(form->disk->Drive(), u'p');
}

#include "app/Zvonkar.h"
#include "framework/Exceptions.h"
#include "platform/registry/registry.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace win32;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    struct Stored {
        DWORD Type = REG_NONE;
        QByteArray Data;
    };

    std::optional<Stored> StoredValue(const QString& name) {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        Stored stored;
        const LONG result = RegQueryValueEx(key, name, &stored.Type, &stored.Data);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        return stored;
    }

    void Store(const QString& name, DWORD type, const QByteArray& data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, SettingsKey, 0, KEY_ALL_ACCESS, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(key, name, type, data), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    TempDrives drives;
};

} // namespace

TEST_F(SettingsStore, FirstReadCreatesTheKeyAndGivesTheDefault) {
    HKEY key = nullptr;
    ASSERT_NE(RegOpenKeyEx(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegString(SettingsKey, "LastDir", "C:\\"), "C:\\");
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(SettingsStore, WrittenTextCarriesTwoTrailingNuls) {
    WriteRegString(SettingsKey, "Ver", "1.0b");
    const std::optional<Stored> stored = StoredValue("Ver");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Type, REG_SZ);
    EXPECT_EQ(stored->Data, QByteArray("1.0b\0\0", 6));
    EXPECT_EQ(ReadRegString(SettingsKey, "Ver", "x"), "1.0b");
}

TEST_F(SettingsStore, TextsRoundTrip) {
    for (const QString& text : {QString("C:\\"), QString("C:\\Zvuky\\Příliš žluťoučký kůň"),
                                QString(), QString("D:\\a \"b\" \\c")}) {
        WriteRegString(SettingsKey, "LastDir", text);
        EXPECT_EQ(ReadRegString(SettingsKey, "LastDir", "default"), text);
    }
}

TEST_F(SettingsStore, ReadAcceptsBothTextTypesAndRefusesOthers) {
    Store("Plain", REG_SZ, QByteArray("C:\\A"));
    Store("Expand", REG_EXPAND_SZ, QByteArray("%HOME%\\x\0", 9));
    Store("Empty", REG_SZ, QByteArray());
    Store("Number", REG_DWORD, QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(ReadRegString(SettingsKey, "Plain", "d"), "C:\\A");
    EXPECT_EQ(ReadRegString(SettingsKey, "Expand", "d"), "%HOME%\\x");
    EXPECT_EQ(ReadRegString(SettingsKey, "Empty", "d"), "");
    EXPECT_EQ(ReadRegString(SettingsKey, "Missing", "d"), "d");
    try {
        ReadRegString(SettingsKey, "Number", "d");
        ADD_FAILURE() << "a number was read as text";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Number'");
    }
}

TEST_F(SettingsStore, ABrokenSettingsFileIsReportedAndKept) {
    const QString path = RegistryFilePath();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a settings file\n[[[\n");
    file.close();
    try {
        ReadRegString(SettingsKey, "LastDir", "C:\\");
        ADD_FAILURE() << "the broken file went unnoticed";
    } catch (const ERegistryException& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    bool kept = false;
    for (const QFileInfo& info : QFileInfo(path).dir().entryInfoList(QDir::Files)) {
        QFile candidate(info.filePath());
        if (candidate.open(QIODevice::ReadOnly) && candidate.readAll().contains("[[["))
            kept = true;
    }
    EXPECT_TRUE(kept);
    WriteRegString(SettingsKey, "LastDir", "C:\\");
    EXPECT_EQ(ReadRegString(SettingsKey, "LastDir", "x"), "C:\\");
}

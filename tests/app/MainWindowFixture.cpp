#include "tests/app/MainWindowFixture.h"

#include "app/Zvonkar.h"

#include <QCoreApplication>

MainWindowFixture::MainWindowFixture()
    : drives({{'C', "c"},
              {'D', "d"},
              {.Letter = 'E', .Folder = "e", .Kind = "cdrom", .NoMedium = true},
              {'P', QCoreApplication::applicationDirPath()}}) {}

MainWindowFixture::~MainWindowFixture() {
    form.reset();
}

void MainWindowFixture::Start() {
    form = std::make_unique<TForm1>();
    form->Show();
    QCoreApplication::processEvents();
}

void MainWindowFixture::MakeSound(char drive, const QString& relative, qint64 size) {
    drives.MakeFileOfSize(drive, relative, size);
}

void MainWindowFixture::StoreLastDir(const QString& directory) {
    WriteRegString(SettingsKey, QStringLiteral("LastDir"), directory);
}

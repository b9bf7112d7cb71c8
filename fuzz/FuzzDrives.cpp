#include "fuzz/FuzzDrives.h"

#include "platform/files/curdir.h"
#include "platform/files/drives.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FuzzDrives: cannot %s\n", what);
        std::abort();
    }
}

void MakeFile(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly) && file.write("RIFF") == 4, "create a file");
}

} // namespace

FuzzDrives::FuzzDrives() {
    Require(root.isValid(), "create the temporary folder");
    const QString c = root.path() + "/c";
    for (const char* folder : {"/WINDOWS/MEDIA", "/Zvuky/staré", "/a/b/c", "/mezera v názvu"}) {
        Require(QDir().mkpath(c + folder), "create the folders of drive C:");
    }
    MakeFile(c + "/WINDOWS/MEDIA/tada.wav");
    MakeFile(c + "/Zvuky/x.wav");
    MakeFile(c + "/a/b/soubor.txt");
    Require(QDir().mkpath(root.path() + "/n"), "create the folder of drive N:");

    const QString map = "C=" + c + ";D=" + root.path() + "/d,removable;N=" + root.path() +
                        "/n,remote,\\\\srv\\zvuky";
    qputenv("ZVONKAR_DRIVES", map.toUtf8());
    win32::ReloadDriveMap();
    Require(win32::SetCurrentDirectory(QStringLiteral("C:\\")), "enter drive C:");
}

#pragma once
// Takes from the process the right to make or remove entries in one folder, also when the tests
// run as root, whom permissions do not stop: the folder loses its write permissions and, for
// root, the process acts as the user "nobody" while the object lives, with everything below the
// `reachable` folders opened up to that user. Destruction gives both back.
//
//   ReadOnlyFolder readOnly(drives.PosixPath('D', "ro"), {drives.Root()});
//   EXPECT_FALSE(win32::CreateDirectory("D:\\ro\\new"));

#include <QString>
#include <QStringList>

class ReadOnlyFolder {
public:
    ReadOnlyFolder(const QString& folder, const QStringList& reachable);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString folder_;
    bool switchedUser_ = false;
};

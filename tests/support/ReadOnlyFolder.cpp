#include "tests/support/ReadOnlyFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

void OpenUp(const QString& root) {
    ::chmod(QFile::encodeName(root).constData(), 0777);
    QDirIterator entries(root,
                         QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        if (!QFileInfo(path).isSymLink())
            ::chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0777 : 0666);
    }
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& folder, const QStringList& reachable)
    : folder_(folder) {
    const bool root = ::geteuid() == 0;
    if (root)
        for (const QString& top : reachable)
            OpenUp(top);
    ::chmod(QFile::encodeName(folder_).constData(), 0555);
    if (root) {
        switchedUser_ = ::seteuid(kNobody) == 0;
        EXPECT_TRUE(switchedUser_) << "could not act as nobody";
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (switchedUser_ && ::seteuid(0) != 0)
        ADD_FAILURE() << "could not act as root again";
    ::chmod(QFile::encodeName(folder_).constData(), 0755);
}

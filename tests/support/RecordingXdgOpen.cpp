#include "tests/support/RecordingXdgOpen.h"

#include <QFile>
#include <thread>

namespace {

// One printf writes the whole record, so that calls running at the same time do not mix.
constexpr char kScript[] =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$@\" \"$(pwd)\" \"$(printf '\\036')\" >> '%1/calls.log'\n";

} // namespace

RecordingXdgOpen::RecordingXdgOpen() : savedPath_(qgetenv("PATH")) {
    const QString script = folder_.path() + "/xdg-open";
    QFile file(script);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QString::fromLatin1(kScript).arg(folder_.path()).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(folder_.path()) + ':' + savedPath_);
}

RecordingXdgOpen::~RecordingXdgOpen() {
    qputenv("PATH", savedPath_);
}

QString RecordingXdgOpen::Folder() const {
    return folder_.path();
}

namespace {

// Each record: the arguments, then the working directory, then the separator.
QList<QStringList> Records(const QString& folder) {
    QFile log(folder + "/calls.log");
    QList<QStringList> records;
    if (!log.open(QIODevice::ReadOnly)) {
        return records;
    }
    QStringList current;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (line == "\x1e") {
            records.append(current);
            current.clear();
        } else {
            current.append(QString::fromUtf8(line));
        }
    }
    return records;
}

} // namespace

QList<QStringList> RecordingXdgOpen::Calls() const {
    QList<QStringList> calls = Records(folder_.path());
    for (QStringList& call : calls) {
        call.removeLast();
    }
    return calls;
}

QStringList RecordingXdgOpen::WorkingDirectories() const {
    QStringList directories;
    for (const QStringList& record : Records(folder_.path())) {
        directories.append(record.last());
    }
    return directories;
}

bool RecordingXdgOpen::WaitForCalls(int count, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Records(folder_.path()).size() < count) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

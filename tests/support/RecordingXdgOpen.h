#pragma once
// Stands in for the desktop's xdg-open during a test: a small script of that name in a
// temporary folder put first on PATH, which appends every call's arguments to a log, one per
// line, and ends each call with a line holding only "\x1e". Destruction restores PATH.
//
//   RecordingXdgOpen xdgOpen;
//   win32::ShellExecute(nullptr, "open", "mailto:a@b.cz", {}, {}, 5);
//   ASSERT_TRUE(xdgOpen.WaitForCalls(1));
//   EXPECT_EQ(xdgOpen.Calls()[0], QStringList{"mailto:a@b.cz"});

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>

class RecordingXdgOpen {
public:
    RecordingXdgOpen();
    ~RecordingXdgOpen();
    RecordingXdgOpen(const RecordingXdgOpen&) = delete;
    RecordingXdgOpen& operator=(const RecordingXdgOpen&) = delete;

    // The arguments of each finished call, in the order the calls ended.
    QList<QStringList> Calls() const;
    // Waits until at least `count` calls have been recorded.
    bool WaitForCalls(int count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // The folder holding the script, which is the first entry of PATH.
    QString Folder() const;
    // Where the script was run from, for each call.
    QStringList WorkingDirectories() const;

private:
    QTemporaryDir folder_;
    QByteArray savedPath_;
};

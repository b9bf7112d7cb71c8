#pragma once
// A desktop portal of the test's own, so that the save dialog's portal path runs without a
// desktop: a private session bus (a dbus-daemon of its own, named by DBUS_SESSION_BUS_ADDRESS
// while the fake lives) on which a FileChooser answers each SaveFile with the next of the
// test's answers, and cancels when none is left. It keeps what each call asked.

#include <QDBusVirtualObject>
#include <QProcess>
#include <QVariantMap>
#include <utility>

class FakeFileChooser : public QDBusVirtualObject {
public:
    // A file type as the portal gets it: its name and its patterns, each with its kind (0 glob).
    using Filter = std::pair<QString, QList<std::pair<uint, QString>>>;
    struct Answer {
        QString Path; // the file chosen (POSIX); empty cancels
        int Type = 0; // 1-based among the file types offered; 0 names none
    };
    struct Call {
        QString Title;
        QVariantMap Options; // the plain ones
        QList<Filter> Filters;
        int OfferedType = 0; // 1-based: the file type offered first
        bool Modal = false;  // the program's windows were modal meanwhile
    };

    FakeFileChooser();
    ~FakeFileChooser() override;

    QList<Answer> Answers;
    QList<Call> Calls;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString&) const override { return {}; }

private:
    QProcess daemon;
    QByteArray savedAddress;
};

#include "tests/support/FakeFileChooser.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kConnection = QStringLiteral("fake-file-chooser");

} // namespace

FakeFileChooser::FakeFileChooser() : savedAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS")) {
    qDBusRegisterMetaType<std::pair<uint, QString>>();
    qDBusRegisterMetaType<QList<std::pair<uint, QString>>>();
    qDBusRegisterMetaType<Filter>();
    qDBusRegisterMetaType<QList<Filter>>();
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    if (!daemon.waitForReadyRead(5000)) {
        ADD_FAILURE() << "dbus-daemon did not start";
        return;
    }
    const QByteArray address = daemon.readLine().trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), kConnection);
    EXPECT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")) &&
                bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), this));
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
}

FakeFileChooser::~FakeFileChooser() {
    QDBusConnection::disconnectFromBus(kConnection);
    qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress);
    daemon.kill();
    daemon.waitForFinished();
}

bool FakeFileChooser::handleMessage(const QDBusMessage& message,
                                    const QDBusConnection& connection) {
    if (message.member() != u"SaveFile")
        return false;
    const QVariantList arguments = message.arguments();
    Call call;
    call.Title = arguments.value(1).toString();
    call.Options = qdbus_cast<QVariantMap>(arguments.value(2));
    call.Filters = qdbus_cast<QList<Filter>>(call.Options.take(QStringLiteral("filters")));
    const Filter offered = qdbus_cast<Filter>(call.Options.take(QStringLiteral("current_filter")));
    call.OfferedType = static_cast<int>(call.Filters.indexOf(offered)) + 1;
    call.Modal = QApplication::activeModalWidget() != nullptr;
    Calls.append(call);
    const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                               .arg(message.service().mid(1).replace(u'.', u'_'),
                                    call.Options.value(QStringLiteral("handle_token")).toString());
    connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(handle))));

    const Answer answer = Answers.isEmpty() ? Answer{} : Answers.takeFirst();
    QVariantMap results;
    if (!answer.Path.isEmpty())
        results.insert(QStringLiteral("uris"),
                       QStringList{QUrl::fromLocalFile(answer.Path).toString()});
    if (answer.Type > 0)
        results.insert(QStringLiteral("current_filter"),
                       QVariant::fromValue(call.Filters.value(answer.Type - 1)));
    QDBusMessage response = QDBusMessage::createSignal(
        handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << static_cast<uint>(answer.Path.isEmpty() ? 1 : 0) << results;
    connection.send(response);
    return true;
}

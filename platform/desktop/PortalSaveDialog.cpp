#include "platform/desktop/PortalSaveDialog.h"

#include "platform/core/errhandling.h"
#include "platform/files/paths.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace win32 {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kFileChooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// A file type as the portal takes it: its name and its patterns, each with its kind (0 glob).
using PortalFilter = std::pair<QString, QList<std::pair<uint, QString>>>;

void RegisterTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<std::pair<uint, QString>>();
        qDBusRegisterMetaType<QList<std::pair<uint, QString>>>();
        qDBusRegisterMetaType<PortalFilter>();
        qDBusRegisterMetaType<QList<PortalFilter>>();
        return true;
    }();
    Q_UNUSED(registered);
}

// Windows matches names ignoring letter case, a portal's globs do not: "*.wav" goes as
// "*.[wW][aA][vV]". Windows' "*.*" matches names without a dot too, which is "*".
QString PortalGlob(const QString& pattern) {
    if (pattern == u"*.*")
        return QStringLiteral("*");
    QString glob;
    for (const QChar c : pattern) {
        if (c.toLower() != c.toUpper())
            glob += u'[' + c.toLower() + c.toUpper() + u']';
        else
            glob += c;
    }
    return glob;
}

QList<PortalFilter> PortalFilters(const QList<FileFilter>& filters) {
    QList<PortalFilter> portalFilters;
    for (const FileFilter& filter : filters) {
        PortalFilter portalFilter{filter.Name, {}};
        for (const QString& part : filter.Pattern.split(u';', Qt::SkipEmptyParts))
            portalFilter.second.append({0, PortalGlob(part.trimmed())});
        portalFilters.append(portalFilter);
    }
    return portalFilters;
}

// The portal's name for the window its dialog belongs to; empty where the window system gives
// another process no handle to it.
QString ParentWindow(QWidget* owner) {
    if (!owner || QGuiApplication::platformName() != u"xcb")
        return {};
    return QStringLiteral("x11:") + QString::number(owner->window()->winId(), 16);
}

// The file a portal's answer names, its bytes as they are on disk.
QByteArray PosixPathOf(const QUrl& uri) {
    return QByteArray::fromPercentEncoding(uri.path(QUrl::FullyEncoded).toLatin1());
}

} // namespace

PortalSaveDialog::PortalSaveDialog(const SaveFileRequest& request)
    : request(request), folder(request.StartFolder()), name(request.ProposedName()),
      filterIndex(request.FilterIndex()) {
    RegisterTypes();
    // A connection of its own for each run, to the bus the environment names now: a portal
    // that comes up after the program started is still found, and nothing stays connected
    // between runs.
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty()) {
        connectionName = QDBusConnection::sessionBus().name();
    } else {
        static int runs = 0;
        connectionName = QStringLiteral("zvonkar-save-dialog-%1").arg(++runs);
        ownConnection = true;
        QDBusConnection::connectToBus(QString::fromLocal8Bit(address), connectionName);
    }
    if (!folder.isEmpty())
        windowsPath = ToWindowsPath(QFile::encodeName(folder + u'/' + name)).value_or(QString());
}

PortalSaveDialog::~PortalSaveDialog() {
    if (ownConnection)
        QDBusConnection::disconnectFromBus(connectionName);
}

QString PortalSaveDialog::FolderPath() const {
    return ToWindowsPath(QFile::encodeName(folder)).value_or(QString());
}

std::optional<SaveOutcome> PortalSaveDialog::Run() {
    if (!QDBusConnection(connectionName).isConnected())
        return std::nullopt;
    SaveOutcome outcome;
    for (;;) {
        const Answer answered = Ask();
        if (answered == Answer::Unavailable)
            return std::nullopt;
        if (answered == Answer::Cancelled)
            break;
        if (Accepts(chosen)) {
            outcome.Accepted = true;
            outcome.WindowsPath = windowsPath;
            break;
        }
    }
    outcome.FilterIndex = filterIndex;
    request.Notify(*this, WM_DESTROY);
    return outcome;
}

PortalSaveDialog::Answer PortalSaveDialog::Ask() {
    QDBusConnection bus(connectionName);
    static int requests = 0;
    const QString token = QStringLiteral("zvonkar%1").arg(++requests);
    // The portal answers on a request object named after the caller and the token; listening
    // before asking means that no answer can come first.
    QString requestPath = QStringLiteral("%1/request/%2/%3")
                              .arg(kObject, bus.baseService().mid(1).replace(u'.', u'_'), token);
    Listen(requestPath, true);

    const QList<PortalFilter> filters = PortalFilters(request.Filters());
    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("modal"), true},
        {QStringLiteral("current_name"), name},
    };
    if (!folder.isEmpty())
        options.insert(QStringLiteral("current_folder"), QFile::encodeName(folder) + '\0');
    if (!filters.isEmpty()) {
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
        options.insert(QStringLiteral("current_filter"),
                       QVariant::fromValue(filters.at(filterIndex - 1)));
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kObject, kFileChooser, QStringLiteral("SaveFile"));
    call << ParentWindow(request.Owner()) << request.Caption() << options;

    // A window that is never shown keeps the program's own windows modal meanwhile, as Qt
    // does for the dialogs of the desktop's platform theme.
    QDialog blocker(request.Owner());
    blocker.setAttribute(Qt::WA_DontShowOnScreen);
    waiting = &blocker;
    answer = opened ? Answer::Cancelled : Answer::Unavailable;
    QDBusPendingCallWatcher taken(bus.asyncCall(call));
    connect(&taken, &QDBusPendingCallWatcher::finished, &blocker, [&] {
        const QDBusPendingReply<QDBusObjectPath> reply = taken;
        if (reply.isError()) {
            blocker.reject();
            return;
        }
        if (answer == Answer::Unavailable)
            answer = Answer::Cancelled;
        // A portal older than the request tokens names its request object itself.
        if (reply.value().path() != requestPath) {
            Listen(requestPath, false);
            requestPath = reply.value().path();
            Listen(requestPath, true);
        }
        if (!opened) {
            opened = true;
            request.Notify(*this, CDN_INITDONE);
        }
    });
    QDBusServiceWatcher gone(kService, bus, QDBusServiceWatcher::WatchForUnregistration);
    connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &blocker, &QDialog::reject);
    blocker.exec();
    waiting = nullptr;
    Listen(requestPath, false);
    return answer;
}

void PortalSaveDialog::Listen(const QString& requestPath, bool listen) {
    QDBusConnection bus(connectionName);
    const QString signal = QStringLiteral("Response");
    const char* slot = SLOT(Responded(uint, QVariantMap));
    if (listen)
        bus.connect(kService, requestPath, kRequest, signal, this, slot);
    else
        bus.disconnect(kService, requestPath, kRequest, signal, this, slot);
}

void PortalSaveDialog::Responded(uint response, const QVariantMap& results) {
    if (!waiting)
        return;
    const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
    // 0 is a choice, 1 Cancel, 2 a dialog ended some other way.
    answer = response == 0 && !uris.isEmpty() ? Answer::Chosen : Answer::Cancelled;
    if (answer == Answer::Chosen) {
        chosen = QUrl(uris.first());
        const QVariant type = results.value(QStringLiteral("current_filter"));
        if (type.canConvert<QDBusArgument>()) {
            const QString typeName = qdbus_cast<PortalFilter>(type).first;
            for (qsizetype i = 0; i < request.Filters().size(); ++i) {
                if (request.Filters()[i].Name == typeName && filterIndex != i + 1) {
                    filterIndex = static_cast<int>(i) + 1;
                    request.Notify(*this, CDN_TYPECHANGE);
                    break;
                }
            }
        }
    }
    waiting->accept();
}

bool PortalSaveDialog::Accepts(const QUrl& uri) {
    QWidget* owner = request.Owner();
    if (!uri.isLocalFile()) {
        request.Refuse(owner, SaveFileRequest::NotOnAnyDriveText(uri.toDisplayString()));
        return false;
    }
    const QByteArray returned = PosixPathOf(uri);
    const QFileInfo typed(QFile::decodeName(returned));
    std::optional<SaveChoice> choice;
    if (SaveFileRequest::IsWindowsText(typed.fileName())) {
        // The portal's dialog takes "D:\kopie.wav" typed as its name for a file of that name in
        // the folder shown; the user meant the path, as the program shows paths everywhere.
        const QString shown =
            ToWindowsPath(QFile::encodeName(typed.absolutePath())).value_or(QString());
        choice = request.ResolveWindowsText(typed.fileName(), shown);
        if (!choice) {
            request.Refuse(owner, GetLastError() == ERROR_INVALID_NAME
                                      ? SaveFileRequest::InvalidNameText(typed.fileName())
                                      : SaveFileRequest::NotOnAnyDriveText(typed.fileName()));
            return false;
        }
    } else {
        choice = request.Resolve(returned);
        if (!choice) {
            // The dialog opens again in the last folder offered that lies on a drive.
            request.Refuse(owner, SaveFileRequest::NotOnAnyDriveText(typed.filePath()));
            return false;
        }
    }
    const QFileInfo info(QFile::decodeName(choice->PosixPath));
    const bool folderChanged = QFileInfo(folder) != QFileInfo(info.absolutePath());
    if (info.isDir()) {
        folder = info.absoluteFilePath();
        request.Notify(*this, CDN_FOLDERCHANGE);
        return false;
    }
    folder = info.absolutePath();
    name = info.fileName();
    if (folderChanged)
        request.Notify(*this, CDN_FOLDERCHANGE);
    if (!request.IsValidName(name)) {
        request.Refuse(owner, SaveFileRequest::InvalidNameText(name));
        return false;
    }
    windowsPath = choice->WindowsPath;
    // The portal's dialog has asked about replacing only the very file it returned.
    return request.PassesChecks(owner, *choice, choice->PosixPath == returned) &&
           request.Notify(*this, CDN_FILEOK);
}

} // namespace win32

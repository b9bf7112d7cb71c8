#pragma once
// The desktop's own save dialog for GetSaveFileName, asked for through the XDG desktop portal
// (org.freedesktop.portal.FileChooser.SaveFile on the session bus). The portal's dialog is a
// window of another process: this hands it the request's caption, folder, name and file types,
// keeps the program's windows modal until the portal answers, then makes the request's checks
// that the portal's dialog cannot make and opens that dialog again where Qt's widget dialog
// would have stayed open. The portal's dialog has already asked about replacing the file it
// returns, so that question is asked again only when the default extension changed the name.
//
// The hook hears CDN_INITDONE once the portal has taken the first request (its dialog is placed
// by the desktop: MoveFrame does nothing), CDN_TYPECHANGE and CDN_FOLDERCHANGE when an answer
// names another file type or folder than the one offered, CDN_FILEOK for a name that passed the
// checks (false opens the dialog again), and WM_DESTROY last. CDN_SELCHANGE never comes: the
// portal does not tell what the user selects while its dialog is open.

#include "platform/desktop/SaveFileRequest.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <optional>

class QDialog;

namespace win32 {

class PortalSaveDialog final : public QObject, public FileDialogWindow {
    Q_OBJECT
public:
    explicit PortalSaveDialog(const SaveFileRequest& request);
    ~PortalSaveDialog() override;

    // Runs the dialog; nothing (and no notification sent) when no portal answers on the
    // session bus, so that the caller can show a dialog of its own.
    std::optional<SaveOutcome> Run();

    QRect Frame() const override { return {}; }
    void MoveFrame(int, int) override {}
    QString FilePath() const override { return windowsPath; }
    QString FolderPath() const override;
    int FilterIndex() const override { return filterIndex; }

private Q_SLOTS:
    void Responded(uint response, const QVariantMap& results);

private:
    enum class Answer { Chosen, Cancelled, Unavailable };
    // Opens the portal's dialog once and waits for its answer.
    Answer Ask();
    void Listen(const QString& requestPath, bool listen);
    // Checks the chosen file; false when the dialog is to open again.
    bool Accepts(const QUrl& uri);

    const SaveFileRequest& request;
    QString connectionName;
    bool ownConnection = false;
    QString folder;      // offered next, POSIX text
    QString name;        // offered next
    QString windowsPath; // the name offered or chosen, as Windows text
    int filterIndex;
    bool opened = false; // the portal has taken a request
    QDialog* waiting = nullptr;
    Answer answer = Answer::Unavailable;
    QUrl chosen;
};

} // namespace win32

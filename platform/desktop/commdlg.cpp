#include "platform/desktop/commdlg.h"

#include "platform/desktop/PortalSaveDialog.h"
#include "platform/desktop/SaveFileDialog.h"
#include "platform/desktop/SaveFileRequest.h"
#include "platform/files/curdir.h"
#include "platform/files/paths.h"

#include <QApplication>
#include <QPointer>

namespace win32 {

namespace {

thread_local DWORD lastDialogError = 0;

// The folder of a full Windows path; a drive root keeps its backslash.
QString FolderOf(const QString& windowsPath) {
    const std::optional<ResolvedPath> resolved = ResolvePath(windowsPath);
    if (!resolved)
        return {};
    const qsizetype split = resolved->WindowsPath.lastIndexOf(u'\\');
    return resolved->WindowsPath.left(qMax(split, resolved->RootLength));
}

QString ExtensionOf(const QString& windowsPath) {
    const qsizetype dot = windowsPath.lastIndexOf(u'.');
    return dot > windowsPath.lastIndexOf(u'\\') ? windowsPath.mid(dot + 1) : QString();
}

} // namespace

bool GetSaveFileName(OPENFILENAME& ofn) {
    lastDialogError = 0;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        lastDialogError = CDERR_INITIALIZATION;
        return false;
    }
    const QPointer<QWidget> active = QApplication::activeWindow();
    const SaveFileRequest request(ofn);
    std::optional<SaveOutcome> outcome = PortalSaveDialog(request).Run();
    if (!outcome)
        outcome = SaveFileDialog(request).Run();
    if (active)
        active->activateWindow();
    if (!outcome->Accepted)
        return false;

    const QString& chosen = outcome->WindowsPath;
    ofn.lpstrFile = chosen;
    ofn.nFilterIndex = static_cast<DWORD>(outcome->FilterIndex);
    // No read-only box is shown, so the read-only answer is always no.
    ofn.Flags &= ~(OFN_READONLY | OFN_EXTENSIONDIFFERENT);
    const QString& defaultExt = request.DefaultExtension();
    if (!defaultExt.isEmpty() && ExtensionOf(chosen).compare(defaultExt, Qt::CaseInsensitive) != 0)
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    if (!(ofn.Flags & OFN_NOCHANGEDIR))
        SetCurrentDirectory(FolderOf(chosen));
    return true;
}

DWORD CommDlgExtendedError() {
    return lastDialogError;
}

} // namespace win32

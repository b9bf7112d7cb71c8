#pragma once
// The save-as dialog of GetSaveFileName where the session has no desktop portal: Qt's widget
// file dialog set up from the request, wide enough for its columns, with the drive roots named
// by their drives in its side bar, checking a chosen name as the request's flags ask and
// reporting to the request's hook. Paths go in and out as Windows text.

#include "platform/desktop/SaveFileRequest.h"

#include <QFileDialog>
#include <optional>

namespace win32 {

class SaveFileDialog final : public QFileDialog, public FileDialogWindow {
    Q_OBJECT
public:
    explicit SaveFileDialog(const SaveFileRequest& request);

    // Shows the dialog modally until the user accepts a name or cancels; the hook hears
    // WM_DESTROY last.
    SaveOutcome Run();

    QRect Frame() const override;
    void MoveFrame(int left, int top) override;
    QString FilePath() const override;
    QString FolderPath() const override;
    int FilterIndex() const override;

protected:
    void accept() override;
    void showEvent(QShowEvent* event) override;

private:
    // The name typed in the dialog, resolved; nothing when it cannot name a file on a drive.
    std::optional<SaveChoice> TypedChoice() const;
    QString TypedText() const;
    void ShowDrivesInSideBar();
    void WidenToFit();

    const SaveFileRequest& request;
    QString chosen;
    bool shown = false;
};

} // namespace win32

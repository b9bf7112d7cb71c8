#pragma once
// The window of GetSaveFileName: Qt's widget-based file dialog set up from the record, checking
// a chosen name as the record's flags ask (with the prompts of the desktop's own dialog) and
// reporting to the record's hook. Paths go in and out as Windows text.

#include "platform/desktop/commdlg.h"

#include <QByteArray>
#include <QFileDialog>
#include <optional>

namespace win32 {

class SaveFileDialog final : public QFileDialog, public FileDialogWindow {
    Q_OBJECT
public:
    explicit SaveFileDialog(const OPENFILENAME& ofn);

    QRect Frame() const override;
    void MoveFrame(int left, int top) override;
    QString FilePath() const override;
    QString FolderPath() const override;
    int FilterIndex() const override;

    // The accepted file as full Windows text; empty before the user accepted one.
    const QString& ChosenPath() const { return chosen; }
    // The record's default extension without a leading "*" or ".".
    const QString& DefaultExtension() const { return defaultExt; }
    // Raises a notification to the hook, if the record enabled one.
    bool Notify(int notification);

protected:
    void accept() override;
    void showEvent(QShowEvent* event) override;

private:
    struct Choice {
        QString WindowsPath;
        QByteArray PosixPath;
    };
    // The name typed in the dialog, resolved; nothing when it cannot name a file on a drive.
    std::optional<Choice> TypedChoice() const;
    QString TypedText() const;
    bool PassesChecks(const Choice& choice);
    void Refuse(const QString& text);
    bool Ask(const QString& text);

    DWORD flags;
    QString defaultExt;
    LPOFNHOOKPROC hook;
    QString chosen;
    bool shown = false;
};

} // namespace win32

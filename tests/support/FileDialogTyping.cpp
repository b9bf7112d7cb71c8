#include "tests/support/FileDialogTyping.h"

#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <optional>

void TypeFileName(QWidget* fileDialog, const QString& text) {
    fileDialog->findChild<QListView*>(QStringLiteral("listView"))->clearSelection();
    fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(text);
}

void TypeFileNameAndSave(QWidget* fileDialog, const QString& text,
                         const QList<DialogAnswerer::Action>& prompts) {
    TypeFileName(fileDialog, text);
    std::optional<DialogAnswerer> answer;
    if (!prompts.isEmpty())
        answer.emplace(prompts);
    static_cast<QDialog*>(fileDialog)->accept();
}

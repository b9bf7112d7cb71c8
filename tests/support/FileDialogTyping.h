#pragma once
// Answers the save-file dialog as a user does: types a name into its name field and saves,
// answering the prompts that saving raises.

#include "tests/support/DialogAnswerer.h"

#include <QList>
#include <QString>
#include <QWidget>

// Types into the name field. Typing into a field without the focus would add to the file
// list's selection instead of replacing it, so the selection is dropped first.
void TypeFileName(QWidget* fileDialog, const QString& text);
// Types the name and saves; each prompt that follows is answered by the next of `prompts`.
void TypeFileNameAndSave(QWidget* fileDialog, const QString& text,
                         const QList<DialogAnswerer::Action>& prompts = {});

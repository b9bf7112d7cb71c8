#pragma once
// The save-as dialog component: asks where a file is to be written, offering the folder, name
// and file types set on it, and keeps the chosen path in FileName.

#include "dialogs/TOpenDialog.h"

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    explicit TSaveDialog(QObject* owner = nullptr);

    // True when the user accepted a destination; false on Cancel, on closing the dialog and
    // when the dialog cannot be shown. FileName then holds the chosen path.
    bool Execute() override;
};

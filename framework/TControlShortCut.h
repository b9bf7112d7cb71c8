#pragma once
// Keys that press a windowless control from anywhere in its window (Delete, F2, F5 ...) as a
// click does: the control's Click runs only while the control and every control around it are
// enabled and shown and its window is the active one, so a key never reaches a command that the
// mouse could not, and a dialog open over the window keeps its own keys. An exception that
// leaves the click is shown by the application's error box.

#include <QList>
#include <QString>

class QShortcut;
class TGraphicControl;

class TControlShortCut {
public:
    explicit TControlShortCut(TGraphicControl* control) : control_(control) {}

    // Key sequences in Qt's portable text, separated by "; " ("F5; Ctrl+C"); empty for none.
    QString Keys() const;
    void SetKeys(const QString& keys);

private:
    void Press();

    TGraphicControl* control_;
    QList<QShortcut*> shortcuts_; // children of the control
};

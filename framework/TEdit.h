#pragma once
// A one-line edit field. MaxLength 0 means no limit of its own; with AutoSelect the whole text
// is selected whenever the field gets the focus from the keyboard or by the window opening.

#include "framework/Events.h"
#include "framework/TWindowHandle.h"

#include <QLineEdit>

class TEdit : public QLineEdit, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    explicit TEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    void SelectAll() { selectAll(); }
    int SelStart() const;
    int SelLength() const { return static_cast<int>(selectedText().size()); }
    QString SelText() const { return selectedText(); }

    // Raised after every change of the text, by the user or by code.
    TNotifyEvent OnChange;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    int maxLength_ = 0;
    bool autoSelect_ = true;
};

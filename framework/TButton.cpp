#include "framework/TButton.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TextLayout.h"

#include <QKeyEvent>

TButton::TButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this,
            [this] { CallEventHandler([this] { Click(); }); });
}

QChar TButton::Accelerator() const {
    const PrefixedText shown = StripPrefixes(text());
    if (shown.Underlined < 0)
        return QChar();
    return shown.Text.at(shown.Underlined).toUpper();
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        if (auto* form = qobject_cast<TForm*>(window()))
            form->SetModalResult(modalResult_);
    }
    if (OnClick)
        OnClick(this);
}

void TButton::keyPressEvent(QKeyEvent* event) {
    // Enter belongs to the form, which presses this button only when no Shift, Ctrl or Alt is
    // held; Qt's own button would press itself regardless.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPushButton::keyPressEvent(event);
}

#include "framework/TEdit.h"

#include "framework/TApplication.h"

#include <QFocusEvent>

namespace {

// Qt's own ceiling on a line edit's length.
constexpr int kUnlimited = 32767;

} // namespace

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            CallEventHandler([this] { OnChange(this); });
    });
}

void TEdit::SetMaxLength(int length) {
    maxLength_ = qMax(0, length);
    setMaxLength(maxLength_ == 0 ? kUnlimited : maxLength_);
}

int TEdit::SelStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (autoSelect_ && event->reason() != Qt::MouseFocusReason)
        selectAll();
}

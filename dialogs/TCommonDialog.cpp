#include "dialogs/TCommonDialog.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"

namespace {

void Raise(const TNotifyEvent& event, QObject* sender) {
    if (!event)
        return;
    CallEventHandler([&] { event(sender); });
}

} // namespace

TCommonDialog::TCommonDialog(QObject* owner) : QObject(owner) {}

void TCommonDialog::DoShow() {
    Raise(OnShow, this);
}

void TCommonDialog::DoClose() {
    Raise(OnClose, this);
}

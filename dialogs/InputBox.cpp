#include "dialogs/InputBox.h"

#include "dialogs/DialogUnits.h"
#include "framework/TButton.h"
#include "framework/TEdit.h"
#include "framework/TForm.h"
#include "framework/TLabel.h"
#include "framework/TStringTable.h"

#include <memory>

namespace {

constexpr int kMaxLength = 255;

TButton* AddButton(TForm& form, int caption, TModalResult result, QRect bounds) {
    auto* button = new TButton(&form);
    form.InsertComponent(button);
    button->SetCaption(LoadStr(caption));
    button->SetModalResult(result);
    button->setGeometry(bounds);
    return button;
}

} // namespace

bool QueryText(const QString& caption, const QString& prompt, QString& value) {
    auto form = std::make_unique<TForm>();
    // The box keeps the default dialog font, not the desktop's message font.
    form->SetFont(TFont());
    const TDialogUnits units(AverageCharSize(form->Font().ToQFont()));
    form->SetBorderStyle(TForm::bsDialog);
    form->SetBorderIcons(TForm::biSystemMenu);
    form->SetCaption(caption);
    form->SetClientWidth(units.Horz(180));
    form->SetClientHeight(units.Vert(63));
    form->SetPosition(TForm::poScreenCenter);

    auto* label = new TLabel(form.get());
    form->InsertComponent(label);
    label->SetCaption(prompt);
    label->move(units.Horz(8), units.Vert(8));

    auto* edit = new TEdit(form.get());
    form->InsertComponent(edit);
    edit->setGeometry(label->x(), units.Vert(19), units.Horz(164), edit->sizeHint().height());
    edit->SetMaxLength(kMaxLength);
    edit->SetText(value);
    edit->SelectAll();
    form->SetActiveControl(edit);

    const int top = units.Vert(41);
    const int width = units.Horz(50);
    const int height = units.Vert(14);
    AddButton(*form, SMsgDlgOK, mrOk, QRect(units.Horz(38), top, width, height))->SetDefault(true);
    AddButton(*form, SMsgDlgCancel, mrCancel, QRect(units.Horz(92), top, width, height))
        ->SetCancel(true);

    if (form->ShowModal() != mrOk)
        return false;
    value = edit->Text();
    return true;
}

QString PromptText(const QString& caption, const QString& prompt, const QString& defaultText) {
    QString result = defaultText;
    QueryText(caption, prompt, result);
    return result;
}

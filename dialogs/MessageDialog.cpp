#include "dialogs/MessageDialog.h"

#include "dialogs/DialogUnits.h"
#include "dialogs/TMessageForm.h"
#include "framework/TApplication.h"
#include "framework/TButton.h"
#include "framework/TCanvas.h"
#include "framework/TImage.h"
#include "framework/TLabel.h"
#include "framework/TStringTable.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QStyle>
#include <array>

namespace {

constexpr int kIconSize = 32;

struct TypeInfo {
    int Caption; // string id; 0 for the application's title
    QStyle::StandardPixmap Icon;
    bool HasIcon;
};

constexpr TypeInfo kTypes[] = {
    {SMsgDlgWarning, QStyle::SP_MessageBoxWarning, true},
    {SMsgDlgError, QStyle::SP_MessageBoxCritical, true},
    {SMsgDlgInformation, QStyle::SP_MessageBoxInformation, true},
    {SMsgDlgConfirm, QStyle::SP_MessageBoxQuestion, true},
    {0, QStyle::SP_MessageBoxInformation, false},
};

struct ButtonInfo {
    const char* Name;
    int Caption;
    TModalResult Result;
};

constexpr ButtonInfo kButtons[DialogButtonCount] = {
    {"Yes", SMsgDlgYes, mrYes},
    {"No", SMsgDlgNo, mrNo},
    {"OK", SMsgDlgOK, mrOk},
    {"Cancel", SMsgDlgCancel, mrCancel},
    {"Abort", SMsgDlgAbort, mrAbort},
    {"Retry", SMsgDlgRetry, mrRetry},
    {"Ignore", SMsgDlgIgnore, mrIgnore},
    {"All", SMsgDlgAll, mrAll},
    {"NoToAll", SMsgDlgNoToAll, mrNoToAll},
    {"YesToAll", SMsgDlgYesToAll, mrYesToAll},
    {"Help", SMsgDlgHelp, mrNone},
};

// Caption widths plus 8, measured once per process in the font of the first dialog that
// showed each button; later dialogs reuse them even if the desktop font has changed.
std::array<int, DialogButtonCount> buttonWidths{};

bool Has(DialogButtons set, DialogButton button) {
    return set & (1u << button);
}

// The default button answers Enter, the cancel button Escape; either may be missing.
int DefaultButtonOf(DialogButtons set) {
    for (const DialogButton button : {mbOK, mbYes, mbRetry}) {
        if (Has(set, button))
            return button;
    }
    return -1;
}

int CancelButtonOf(DialogButtons set) {
    for (const DialogButton button : {mbCancel, mbNo, mbOK}) {
        if (Has(set, button))
            return button;
    }
    return -1;
}

QRect ScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

} // namespace

std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, DialogType type,
                                                 DialogButtons buttons) {
    auto form = std::make_unique<TMessageForm>();
    form->SetBorderStyle(TForm::bsDialog);
    form->SetBorderIcons(TForm::biSystemMenu);

    QImage surface(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&surface);
    const QFont font = form->Font().ToQFont();
    canvas.SetQFont(font);
    const TDialogUnits units(AverageCharSize(font));
    const int horzMargin = units.Horz(8);
    const int vertMargin = units.Vert(8);
    const int horzSpacing = units.Horz(10);
    const int vertSpacing = units.Vert(10);
    const int buttonHeight = units.Vert(14);
    const int buttonSpacing = units.Horz(4);

    int buttonWidth = units.Horz(50);
    int buttonCount = 0;
    for (int b = 0; b < DialogButtonCount; ++b) {
        if (!Has(buttons, static_cast<DialogButton>(b)))
            continue;
        ++buttonCount;
        if (buttonWidths[b] == 0) {
            TRect r{0, 0, 0, 0};
            canvas.DrawText(LoadStr(kButtons[b].Caption), r, DT_CALCRECT | DT_SINGLELINE);
            buttonWidths[b] = r.Right - r.Left + 8;
        }
        buttonWidth = qMax(buttonWidth, buttonWidths[b]);
    }

    const QRect screen = ScreenGeometry();
    TRect textRect{0, 0, screen.width() / 2, 0};
    canvas.DrawText(text, textRect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    const int textWidth = textRect.Width();
    const int textHeight = textRect.Height();

    const TypeInfo& info = kTypes[type <= mtCustom ? type : mtCustom];
    const int blockWidth = info.HasIcon ? textWidth + kIconSize + horzSpacing : textWidth;
    const int blockHeight = info.HasIcon ? qMax(textHeight, kIconSize) : textHeight;
    const int rowWidth =
        buttonCount > 0 ? buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing : 0;
    const int clientWidth = qMax(blockWidth, rowWidth) + 2 * horzMargin;
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(blockHeight + buttonHeight + vertSpacing + 2 * vertMargin);
    const QSize outer = form->frameGeometry().size();
    form->move(screen.width() / 2 - outer.width() / 2, screen.height() / 2 - outer.height() / 2);

    if (info.Caption != 0)
        form->SetCaption(LoadStr(info.Caption));
    else if (const TApplication* app = Application())
        form->SetCaption(app->Title());

    if (info.HasIcon) {
        auto* image = new TImage(form.get());
        image->setObjectName(QStringLiteral("Image"));
        form->InsertComponent(image);
        image->setGeometry(horzMargin, vertMargin, kIconSize, kIconSize);
        image->SetImage(form->style()
                            ->standardIcon(info.Icon, nullptr, form.get())
                            .pixmap(kIconSize, kIconSize)
                            .toImage());
    }

    auto* message = new TLabel(form.get());
    message->setObjectName(QStringLiteral("Message"));
    form->InsertComponent(message);
    // Measured above with the label's own drawing call, so its size is not adjusted again.
    message->SetAutoSize(false);
    message->SetWordWrap(true);
    message->SetCaption(text);
    message->SetBounds(blockWidth - textWidth + horzMargin, vertMargin, textWidth, textHeight);

    const int defaultButton = DefaultButtonOf(buttons);
    const int cancelButton = CancelButtonOf(buttons);
    int x = (clientWidth - rowWidth) / 2;
    TButton* first = nullptr;
    for (int b = 0; b < DialogButtonCount; ++b) {
        if (!Has(buttons, static_cast<DialogButton>(b)))
            continue;
        auto* button = new TButton(form.get());
        button->setObjectName(QString::fromLatin1(kButtons[b].Name));
        form->InsertComponent(button);
        button->SetCaption(LoadStr(kButtons[b].Caption));
        button->SetModalResult(kButtons[b].Result);
        button->SetDefault(b == defaultButton);
        button->SetCancel(b == cancelButton);
        button->setGeometry(x, blockHeight + vertMargin + vertSpacing, buttonWidth, buttonHeight);
        if (b == mbHelp) {
            TMessageForm* owner = form.get();
            button->OnClick = [owner](QObject* sender) { owner->HelpButtonClick(sender); };
        }
        if (!first)
            first = button;
        x += buttonWidth + buttonSpacing;
    }
    form->SetActiveControl(first);
    return form;
}

TModalResult ShowMessageDialog(const QString& text, DialogType type, DialogButtons buttons,
                               int helpContext) {
    const std::unique_ptr<TMessageForm> form = BuildMessageDialog(text, type, buttons);
    form->SetHelpContext(helpContext);
    form->SetHelpFile(QString());
    form->SetPosition(TForm::poScreenCenter);
    return form->ShowModal();
}

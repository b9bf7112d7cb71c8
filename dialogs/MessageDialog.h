#pragma once
// The message dialog: a question or a report with an icon chosen by its type, the text wrapped
// to at most half the screen width and a centred row of buttons, returning the code of the
// button that closed it. Its captions are English, from the string table.

#include "framework/TModalResult.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>

class TMessageForm;

enum DialogType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// In the left-to-right order of the dialog's buttons.
enum DialogButton : int {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
};
inline constexpr int DialogButtonCount = 11;

// A set of buttons: bit n stands for the button with value n.
using DialogButtons = std::uint16_t;

constexpr DialogButtons ButtonSet(std::initializer_list<DialogButton> buttons) {
    DialogButtons set = 0;
    for (const DialogButton button : buttons)
        set = static_cast<DialogButtons>(set | (1u << button));
    return set;
}

// Shows the dialog centred on the screen, modally, and returns the code of the button pressed:
// 2 (cancel) when closed from the title bar or when the application terminates. The help
// context (0 for none) is what the Help button opens.
TModalResult ShowMessageDialog(const QString& text, DialogType type, DialogButtons buttons,
                               int helpContext);

// The dialog's window, laid out and hidden; the caller shows and destroys it.
std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, DialogType type,
                                                 DialogButtons buttons);

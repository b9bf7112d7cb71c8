#pragma once
// The input box: a small modal window asking for one line of text under a one-line prompt,
// with "OK" and "Cancel".

#include <QString>

// Shows the box with `value` in its edit field, wholly selected. After OK copies the edited
// text into `value` and returns true; otherwise leaves `value` as it was and returns false.
bool QueryText(const QString& caption, const QString& prompt, QString& value);

// The edited text after OK; `defaultText` unchanged after Cancel, Escape or the close box.
QString PromptText(const QString& caption, const QString& prompt, const QString& defaultText);

#pragma once
// The order of sorted lists: letter case ignored, in the user's locale. Sorting compares sort
// keys made once per entry, so that large lists never collate the same text twice.

#include <QCollatorSortKey>
#include <QString>

// The sort key of an entry's text. Texts whose keys compare equal differ at most in case.
QCollatorSortKey ListSortKey(const QString& text);
// Negative, zero or positive as a sorts before, with or after b.
int CompareListText(const QString& a, const QString& b);

#pragma once
// Holds a list box's view still while entries are added and removed around it: the entry at
// the top stays at the top and the selected entry stays selected, for as long as they exist.
// Made before the entries change; Restore afterwards.

#include <QPersistentModelIndex>
#include <QString>

class TCustomListBox;

class KeptView {
public:
    explicit KeptView(TCustomListBox& list);

    // Scrolls the old top entry back to the top (the same row when it went). When the selected
    // entry went, selects another of its text (a re-read lists it anew) or none, rather than
    // the neighbour the view would move to; true when none is left.
    bool Restore();

private:
    TCustomListBox& list_;
    QPersistentModelIndex top_;
    int topRow_;
    QString topText_;
    QPersistentModelIndex selected_;
    QString selectedText_;
};

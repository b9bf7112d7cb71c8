#pragma once
// The entries of a list box or combo box: text with an optional glyph, as a Qt list model that
// the views show. Entries keep their order of insertion or, when Sorted, the order of
// ListCollation. Assign fills the list in one batch, sorted once, so that a list of 100,000
// entries costs O(n log n) and the views lay it out once. The list holds the texts only; sort
// keys are made while sorting and then dropped.

#include "framework/ListCollation.h"

#include <QAbstractListModel>
#include <QString>
#include <functional>
#include <vector>

class TBitmap;

// An entry on its way into a list.
struct TListEntry {
    QString Text;
    const TBitmap* Glyph = nullptr;
};

class TListItems : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TListItems(QObject* parent = nullptr);
    ~TListItems() override;

    bool Sorted() const { return sorted_; }
    // Turning sorting on sorts the present entries.
    void SetSorted(bool sorted);

    // Adds an entry and returns its position: the end of the list, or its sorted position
    // (after the entries that compare equal) when Sorted.
    int Add(const QString& text, const TBitmap* glyph = nullptr);
    // Replaces all entries by `entries`, shown to the views at once. When Sorted they are
    // sorted, equal ones keeping their order, as adding them one by one would place them.
    // `keys`, when not empty, are the entries' sort keys (ListSortKey of each text), for a
    // caller that made them already.
    void Assign(std::vector<TListEntry> entries, std::vector<TListSortKey> keys = {});
    // Removes the entries at the positions `removed` and adds `added`, each in its sorted place
    // (after the entries that compare equal) when Sorted, else at the end. A few are removed
    // and added one by one, which views follow row by row; more are merged in one pass over
    // the list, as moving the entries behind each of hundreds would hold up the window, and
    // views are then reset once (they keep no selection).
    void Update(std::vector<int> removed, std::vector<TListEntry> added);
    // Puts an entry at `index` (0 to Count()), for an unsorted list whose owner keeps the order.
    void Insert(int index, const QString& text, const TBitmap* glyph = nullptr);
    // Removes the entry at `index`; EListError outside the list.
    void Delete(int index);
    void Clear();
    int Count() const;
    // Raise EListError "List index out of bounds (%d)" for an index outside the list.
    QString Text(int index) const;
    const TBitmap* Glyph(int index) const;
    // The first entry whose whole text equals `text` ignoring case; -1 when there is none.
    int IndexOf(const QString& text) const;
    // The positions of the entries whose text is exactly `text`, in order; in a sorted list
    // found by a binary search, so that a single name is looked up in a list of 100,000 at once.
    std::vector<int> FindAll(const QString& text) const;
    // How an entry's text reads on screen, where it may differ from the text the list keeps (a
    // file name drawn with look-alikes): what the entry is drawn with, and what the views'
    // type-ahead and accessibility see. The text itself unless set.
    void SetShownText(std::function<QString(const QString&)> shown);
    QString ShownText(int index) const;
    // What an entry is, beyond its text: the hint shown while the pointer rests on it and its
    // accessible description. Asked for each time the views need it, so that it may be costly
    // and is never stale; nothing unless set.
    void SetDescription(std::function<QString(int index)> description);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void CheckIndex(int index) const;
    // The entries in sorted order, equal ones in their present order.
    static std::vector<TListEntry> SortedEntries(std::vector<TListEntry> entries,
                                                 std::vector<TListSortKey> keys);

    std::vector<TListEntry> entries_;
    std::function<QString(const QString&)> shown_;
    std::function<QString(int)> description_;
    bool sorted_ = false;
};

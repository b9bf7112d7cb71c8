#pragma once
// The entries of a list box or combo box: text with an optional glyph, as a Qt list model that
// the views show. Entries keep their order of insertion or, when Sorted, the order of
// ListCollation. BeginUpdate/EndUpdate gather many adds and show them at once; each add still
// reports its sorted position, so that reading 100,000 entries stays O(n log n).

#include "framework/ListCollation.h"

#include <QAbstractListModel>
#include <QString>
#include <memory>
#include <vector>

class TBitmap;

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
    void Clear();
    int Count() const;
    // Raise EListError "List index out of bounds (%d)" for an index outside the list.
    QString Text(int index) const;
    const TBitmap* Glyph(int index) const;
    // The first entry whose whole text equals `text` ignoring case; -1 when there is none.
    int IndexOf(const QString& text) const;

    // Between BeginUpdate and the matching EndUpdate, adds are gathered and the views see them
    // all at EndUpdate (a list that was not empty is then reset, dropping the views' selection).
    void BeginUpdate();
    void EndUpdate();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Entry {
        QString Text;
        const TBitmap* Glyph = nullptr;
        TListSortKey Key; // made while Sorted
    };
    class RankIndex;

    void CheckIndex(int index) const;
    // Shows the gathered adds to the views; the batch itself goes on.
    void Flush() const;
    void FlushEntries();

    std::vector<Entry> entries_;
    std::vector<Entry> pending_;
    std::unique_ptr<RankIndex> ranks_; // ranks of all entries while a sorted batch runs
    bool sorted_ = false;
    int updateCount_ = 0;
};

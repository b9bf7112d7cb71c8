#include "framework/TListItems.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <numeric>

TListItems::TListItems(QObject* parent) : QAbstractListModel(parent) {}

TListItems::~TListItems() = default;

void TListItems::SetSorted(bool sorted) {
    if (sorted_ == sorted)
        return;
    sorted_ = sorted;
    if (!sorted || entries_.size() < 2)
        return;
    beginResetModel();
    entries_ = SortedEntries(std::move(entries_), {});
    endResetModel();
}

int TListItems::Add(const QString& text, const TBitmap* glyph) {
    int position = Count();
    if (sorted_) {
        const TListSortKey key = ListSortKey(text);
        const auto at = std::upper_bound(entries_.begin(), entries_.end(), key,
                                         [](const TListSortKey& k, const TListEntry& e) {
                                             return k.Compare(ListSortKey(e.Text)) < 0;
                                         });
        position = static_cast<int>(at - entries_.begin());
    }
    beginInsertRows(QModelIndex(), position, position);
    entries_.insert(entries_.begin() + position, TListEntry{text, glyph});
    endInsertRows();
    return position;
}

void TListItems::Assign(std::vector<TListEntry> entries, std::vector<TListSortKey> keys) {
    if (sorted_)
        entries = SortedEntries(std::move(entries), std::move(keys));
    // Emptied first and then filled, so that views see the same signals as for a cleared list
    // that gets new entries (a combo box keeps no selection through them).
    if (!entries_.empty())
        Clear();
    if (entries.empty())
        return;
    beginInsertRows(QModelIndex(), 0, static_cast<int>(entries.size()) - 1);
    entries_ = std::move(entries);
    endInsertRows();
}

std::vector<TListEntry> TListItems::SortedEntries(std::vector<TListEntry> entries,
                                                  std::vector<TListSortKey> keys) {
    if (keys.size() != entries.size()) {
        keys.clear();
        keys.reserve(entries.size());
        for (const TListEntry& entry : entries)
            keys.push_back(ListSortKey(entry.Text));
    }
    // The positions are sorted rather than the entries, so that each entry moves once.
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&keys](int a, int b) {
        const int c = keys[a].Compare(keys[b]);
        return c < 0 || (c == 0 && a < b);
    });
    keys = {};
    std::vector<TListEntry> sorted;
    sorted.reserve(entries.size());
    for (int index : order)
        sorted.push_back(std::move(entries[index]));
    return sorted;
}

void TListItems::Clear() {
    beginResetModel();
    entries_ = {};
    endResetModel();
}

int TListItems::Count() const {
    return static_cast<int>(entries_.size());
}

QString TListItems::Text(int index) const {
    CheckIndex(index);
    return entries_[index].Text;
}

const TBitmap* TListItems::Glyph(int index) const {
    CheckIndex(index);
    return entries_[index].Glyph;
}

int TListItems::IndexOf(const QString& text) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Text.compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void TListItems::SetShownText(std::function<QString(const QString&)> shown) {
    shown_ = std::move(shown);
    if (!entries_.empty())
        Q_EMIT dataChanged(index(0), index(Count() - 1));
}

QString TListItems::ShownText(int index) const {
    CheckIndex(index);
    return shown_ ? shown_(entries_[index].Text) : entries_[index].Text;
}

void TListItems::SetDescription(std::function<QString(int index)> description) {
    description_ = std::move(description);
}

int TListItems::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant TListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return ShownText(index.row());
    if ((role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) && description_)
        return description_(index.row());
    return {};
}

void TListItems::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

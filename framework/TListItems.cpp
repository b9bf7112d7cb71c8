#include "framework/TListItems.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <numeric>

namespace {

// More changes than this at once are merged into the list in one pass.
constexpr std::size_t kChangesOneByOne = 16;

} // namespace

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

void TListItems::Update(std::vector<int> removed, std::vector<TListEntry> added) {
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    if (removed.size() + added.size() <= kChangesOneByOne) {
        for (auto at = removed.rbegin(); at != removed.rend(); ++at)
            Delete(*at);
        for (const TListEntry& entry : added)
            Add(entry.Text, entry.Glyph);
        return;
    }
    // Where each added entry goes in the present list, as Add would place it; entries bound for
    // one place go in their own sorted order.
    struct Place {
        int Position;
        TListSortKey Key;
        std::size_t Added;
    };
    std::vector<Place> places;
    places.reserve(added.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
        TListSortKey key = ListSortKey(added[i].Text);
        int position = Count();
        if (sorted_)
            position =
                static_cast<int>(std::upper_bound(entries_.begin(), entries_.end(), key,
                                                  [](const TListSortKey& k, const TListEntry& e) {
                                                      return k.Compare(ListSortKey(e.Text)) < 0;
                                                  }) -
                                 entries_.begin());
        places.push_back({position, std::move(key), i});
    }
    std::sort(places.begin(), places.end(), [this](const Place& a, const Place& b) {
        if (a.Position != b.Position)
            return a.Position < b.Position;
        const int c = sorted_ ? a.Key.Compare(b.Key) : 0;
        return c < 0 || (c == 0 && a.Added < b.Added);
    });
    beginResetModel();
    std::vector<TListEntry> merged;
    merged.reserve(entries_.size() + added.size());
    auto place = places.begin();
    auto gone = removed.begin();
    for (int i = 0;; ++i) {
        for (; place != places.end() && place->Position == i; ++place)
            merged.push_back(std::move(added[place->Added]));
        if (i == Count())
            break;
        if (gone != removed.end() && *gone == i)
            ++gone;
        else
            merged.push_back(std::move(entries_[static_cast<std::size_t>(i)]));
    }
    entries_ = std::move(merged);
    endResetModel();
}

void TListItems::Insert(int index, const QString& text, const TBitmap* glyph) {
    if (index != Count())
        CheckIndex(index);
    beginInsertRows(QModelIndex(), index, index);
    entries_.insert(entries_.begin() + index, TListEntry{text, glyph});
    endInsertRows();
}

void TListItems::Delete(int index) {
    CheckIndex(index);
    beginRemoveRows(QModelIndex(), index, index);
    entries_.erase(entries_.begin() + index);
    endRemoveRows();
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

std::vector<int> TListItems::FindAll(const QString& text) const {
    std::vector<int> found;
    auto from = entries_.begin();
    auto to = entries_.end();
    if (sorted_) {
        // Entries of an equal key sit together, in the order they came.
        const TListSortKey key = ListSortKey(text);
        from = std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const TListEntry& e, const TListSortKey& k) {
                                    return ListSortKey(e.Text).Compare(k) < 0;
                                });
        to = std::upper_bound(from, entries_.end(), key,
                              [](const TListSortKey& k, const TListEntry& e) {
                                  return k.Compare(ListSortKey(e.Text)) < 0;
                              });
    }
    for (auto at = from; at != to; ++at)
        if (at->Text == text)
            found.push_back(static_cast<int>(at - entries_.begin()));
    return found;
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

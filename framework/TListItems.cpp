#include "framework/TListItems.h"

#include "framework/Exceptions.h"
#include "framework/ListCollation.h"

#include <algorithm>
#include <ext/pb_ds/assoc_container.hpp>
#include <ext/pb_ds/tree_policy.hpp>

namespace {

bool KeyLess(const TListSortKey& a, const TListSortKey& b) {
    return a.Compare(b) < 0;
}

} // namespace

// An order-statistic tree of the sort keys of a batch: each insert tells how many keys sort
// before the new one in O(log n). A sequence number places a key after its equals.
class TListItems::RankIndex {
public:
    int Insert(const TListSortKey& key) {
        const Node node{key, next_++};
        const int rank = static_cast<int>(tree_.order_of_key(node));
        tree_.insert(node);
        return rank;
    }

private:
    struct Node {
        TListSortKey Key;
        quint64 Sequence;
    };
    struct NodeLess {
        bool operator()(const Node& a, const Node& b) const {
            const int c = a.Key.Compare(b.Key);
            return c < 0 || (c == 0 && a.Sequence < b.Sequence);
        }
    };
    __gnu_pbds::tree<Node, __gnu_pbds::null_type, NodeLess, __gnu_pbds::rb_tree_tag,
                     __gnu_pbds::tree_order_statistics_node_update>
        tree_;
    quint64 next_ = 0;
};

TListItems::TListItems(QObject* parent) : QAbstractListModel(parent) {}

TListItems::~TListItems() = default;

void TListItems::SetSorted(bool sorted) {
    if (sorted_ == sorted)
        return;
    FlushEntries();
    sorted_ = sorted;
    if (updateCount_ > 0)
        ranks_ = sorted ? std::make_unique<RankIndex>() : nullptr;
    beginResetModel();
    for (Entry& entry : entries_) {
        entry.Key = TListSortKey();
        if (sorted) {
            entry.Key = ListSortKey(entry.Text);
            if (ranks_)
                ranks_->Insert(entry.Key);
        }
    }
    if (sorted)
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return KeyLess(a.Key, b.Key); });
    endResetModel();
}

int TListItems::Add(const QString& text, const TBitmap* glyph) {
    Entry entry{text, glyph, TListSortKey()};
    if (sorted_)
        entry.Key = ListSortKey(text);
    if (updateCount_ > 0) {
        const int position = ranks_ ? ranks_->Insert(entry.Key) : Count();
        pending_.push_back(std::move(entry));
        return position;
    }
    int position = static_cast<int>(entries_.size());
    if (sorted_) {
        const auto at = std::upper_bound(
            entries_.begin(), entries_.end(), entry.Key,
            [](const TListSortKey& key, const Entry& e) { return KeyLess(key, e.Key); });
        position = static_cast<int>(at - entries_.begin());
    }
    beginInsertRows(QModelIndex(), position, position);
    entries_.insert(entries_.begin() + position, std::move(entry));
    endInsertRows();
    return position;
}

void TListItems::Clear() {
    beginResetModel();
    entries_.clear();
    pending_.clear();
    if (ranks_)
        ranks_ = std::make_unique<RankIndex>();
    endResetModel();
}

int TListItems::Count() const {
    return static_cast<int>(entries_.size() + pending_.size());
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
    Flush();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Text.compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0 && sorted_) {
        ranks_ = std::make_unique<RankIndex>();
        for (const Entry& entry : entries_)
            ranks_->Insert(entry.Key);
    }
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    FlushEntries();
    ranks_.reset();
}

int TListItems::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant TListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(entries_.size()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return entries_[index.row()].Text;
    return {};
}

void TListItems::CheckIndex(int index) const {
    Flush();
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TListItems::Flush() const {
    // Reading an entry in the middle of a batch shows the adds so far; the views are told,
    // so they stay consistent with what the reader sees.
    const_cast<TListItems*>(this)->FlushEntries();
}

void TListItems::FlushEntries() {
    if (pending_.empty())
        return;
    if (sorted_)
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const Entry& a, const Entry& b) { return KeyLess(a.Key, b.Key); });
    if (entries_.empty()) {
        beginInsertRows(QModelIndex(), 0, static_cast<int>(pending_.size()) - 1);
        entries_ = std::move(pending_);
        pending_.clear();
        endInsertRows();
        return;
    }
    if (!sorted_) {
        const int first = static_cast<int>(entries_.size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(pending_.size()) - 1);
        std::move(pending_.begin(), pending_.end(), std::back_inserter(entries_));
        pending_.clear();
        endInsertRows();
        return;
    }
    beginResetModel();
    std::vector<Entry> merged;
    merged.reserve(entries_.size() + pending_.size());
    // Earlier entries go first among equals, as each of the later ones was added after them.
    std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
               std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end()),
               std::back_inserter(merged),
               [](const Entry& a, const Entry& b) { return KeyLess(a.Key, b.Key); });
    entries_ = std::move(merged);
    pending_.clear();
    endResetModel();
}

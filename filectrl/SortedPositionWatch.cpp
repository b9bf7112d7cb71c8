#include "filectrl/SortedPositionWatch.h"

#include <iterator>

bool SortedPositionWatch::Lands(const TListSortKey& key) {
    const auto size = static_cast<int>(smallest_.size());
    // Behind the smallest position_ + 1 keys the entry lands later still, and changes nothing.
    if (size > position_ && !(key < *smallest_.rbegin()))
        return false;
    // It lands at the position when exactly position_ of the keys so far sort before it or
    // equal it. With position_ + 1 keys kept the largest sorts after it (tested above), so the
    // one before the largest decides; with position_ keys kept, the largest does.
    bool lands = false;
    if (size == position_ + 1)
        lands = position_ == 0 || !(key < *std::prev(smallest_.end(), 2));
    else if (size == position_)
        lands = position_ == 0 || !(key < *smallest_.rbegin());
    smallest_.insert(key);
    if (static_cast<int>(smallest_.size()) > position_ + 1)
        smallest_.erase(std::prev(smallest_.end()));
    return lands;
}

#pragma once
// Follows entries as a sorted list would take them one by one, and tells when one lands at a
// given position (after the entries that compare equal to it), without placing them all: it
// keeps only the keys of the first position + 1 entries in sorted order. The file list shows
// the hourglass once an entry lands at position 100 while it reads a folder in one batch.

#include "framework/ListCollation.h"

#include <set>

class SortedPositionWatch {
public:
    explicit SortedPositionWatch(int position) : position_(position) {}

    // Whether an entry with this key, added after all entries seen so far, lands at the
    // position.
    bool Lands(const TListSortKey& key);

private:
    int position_;
    // The smallest position_ + 1 keys seen so far.
    std::multiset<TListSortKey> smallest_;
};

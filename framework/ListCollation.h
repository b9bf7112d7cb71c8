#pragma once
// The order of sorted lists: letter case ignored, in the user's locale. A list filled in one
// batch is sorted by keys made once per entry, so that a large list never collates the same
// text twice.

#include <QByteArray>
#include <QCollatorSortKey>
#include <QString>
#include <cstring>
#include <memory>

// The sort key of an entry's text. Keys that compare equal belong to texts that differ at most
// in letter case.
class TListSortKey {
public:
    int Compare(const TListSortKey& other) const {
        if (collated_)
            return CompareCollated(other);
        const qsizetype common = qMin(bytes_.size(), other.bytes_.size());
        const int c = common ? std::memcmp(bytes_.constData(), other.bytes_.constData(),
                                           static_cast<std::size_t>(common))
                             : 0;
        if (c != 0)
            return c;
        return bytes_.size() < other.bytes_.size() ? -1 : bytes_.size() > other.bytes_.size();
    }
    bool operator<(const TListSortKey& other) const { return Compare(other) < 0; }

private:
    friend TListSortKey ListSortKey(const QString& text);
    int CompareCollated(const TListSortKey& other) const;
    // In the C locale the key is the case-folded text's UTF-8, compared bytewise: QCollator's
    // order there, without an opaque key to chase on every comparison. Elsewhere QCollator's
    // key.
    QByteArray bytes_;
    std::shared_ptr<const QCollatorSortKey> collated_;
};

TListSortKey ListSortKey(const QString& text);
// Negative, zero or positive as a sorts before, with or after b.
int CompareListText(const QString& a, const QString& b);

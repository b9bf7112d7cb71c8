#include "framework/ListCollation.h"

#include <QCollator>
#include <QLocale>

namespace {

struct ListCollator {
    ListCollator() : collator(QLocale()) {
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Qt's C-locale keys are the raw UTF-8 bytes and ignore the case setting, so there the
        // text is case-folded first: code-point order without case, as the C locale means.
        cLocale = collator.locale().language() == QLocale::C;
    }
    QCollator collator;
    bool cLocale;
};

const ListCollator& Collator() {
    static thread_local const ListCollator collator;
    return collator;
}

QByteArray FoldedUtf8(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return text.toCaseFolded().toUtf8();
        *out++ = static_cast<char>(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
    }
    return bytes;
}

} // namespace

int TListSortKey::CompareCollated(const TListSortKey& other) const {
    return other.collated_ ? collated_->compare(*other.collated_) : 1;
}

TListSortKey ListSortKey(const QString& text) {
    const ListCollator& c = Collator();
    TListSortKey key;
    if (c.cLocale)
        key.bytes_ = FoldedUtf8(text);
    else
        key.collated_ = std::make_shared<const QCollatorSortKey>(c.collator.sortKey(text));
    return key;
}

int CompareListText(const QString& a, const QString& b) {
    return ListSortKey(a).Compare(ListSortKey(b));
}

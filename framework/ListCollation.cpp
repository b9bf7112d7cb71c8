#include "framework/ListCollation.h"

#include <QCollator>
#include <QLocale>

namespace {

struct ListCollator {
    ListCollator() : collator(QLocale()) {
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Qt's C-locale keys are the raw UTF-8 bytes and ignore the case setting, so there the
        // text is case-folded first: code-point order without case, as the C locale means.
        foldCase = collator.locale().language() == QLocale::C;
    }
    QCollator collator;
    bool foldCase;
};

const ListCollator& Collator() {
    static thread_local const ListCollator collator;
    return collator;
}

} // namespace

QCollatorSortKey ListSortKey(const QString& text) {
    const ListCollator& c = Collator();
    return c.collator.sortKey(c.foldCase ? text.toCaseFolded() : text);
}

int CompareListText(const QString& a, const QString& b) {
    return ListSortKey(a).compare(ListSortKey(b));
}

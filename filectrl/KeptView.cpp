#include "filectrl/KeptView.h"

#include "framework/TCustomListBox.h"

KeptView::KeptView(TCustomListBox& list)
    : list_(list), top_(list.Items().index(list.TopIndex())), topRow_(list.TopIndex()) {
    if (top_.isValid())
        topText_ = list.Items().Text(topRow_);
    const int selected = list.ItemIndex();
    if (selected >= 0) {
        selected_ = list.Items().index(selected);
        selectedText_ = list.Items().Text(selected);
    }
}

bool KeptView::Restore() {
    TListItems& items = list_.Items();
    const auto firstOf = [&items](const QString& text) {
        const std::vector<int> found = items.FindAll(text);
        return found.empty() ? -1 : found.front();
    };
    bool lost = false;
    if (!selectedText_.isEmpty() && !selected_.isValid()) {
        const int again = firstOf(selectedText_);
        list_.SetItemIndex(again);
        lost = again < 0;
    }
    int top = top_.isValid() ? top_.row() : -1;
    if (top < 0 && !topText_.isEmpty())
        top = firstOf(topText_);
    if (top < 0)
        top = qMin(topRow_, items.Count() - 1);
    list_.SetTopIndex(top);
    return lost;
}

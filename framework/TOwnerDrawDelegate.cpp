#include "framework/TOwnerDrawDelegate.h"

#include "framework/TCanvas.h"

#include <QPainter>

TOwnerDrawDelegate::TOwnerDrawDelegate(std::function<int()> itemHeight, PaintEntry paintEntry,
                                       QObject* parent)
    : QAbstractItemDelegate(parent), itemHeight_(std::move(itemHeight)),
      paintEntry_(std::move(paintEntry)) {}

void TOwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected)
        state |= odSelected;
    if (option.state & QStyle::State_HasFocus)
        state |= odFocused;
    if (!(option.state & QStyle::State_Enabled))
        state |= odDisabled;
    painter->save();
    paintEntry_(*painter, index.row(), option.rect, state);
    painter->restore();
}

QSize TOwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), itemHeight_());
}

void PrepareEntryCanvas(TCanvas& canvas, const QFont& font, TColor windowColor,
                        TOwnerDrawState state) {
    const bool selected = state & odSelected;
    canvas.Brush.Color = selected ? clHighlight : windowColor;
    canvas.Brush.Clear = false;
    if (state & odDisabled)
        canvas.Font.SetColor(clGrayText);
    else
        canvas.Font.SetColor(selected ? clHighlightText : clWindowText);
    // After the colour: a change of the canvas's TFont replaces the Qt font.
    canvas.SetQFont(font);
}

void DrawFocusRect(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            painter.fillRect(x, y, 1, 1, Qt::white);
    };
    for (int x = left; x <= right; ++x) {
        dot(x, top);
        if (bottom != top)
            dot(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        dot(left, y);
        if (right != left)
            dot(right, y);
    }
    painter.restore();
}

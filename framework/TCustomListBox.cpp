#include "framework/TCustomListBox.h"

#include "framework/TApplication.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kFrameWidth = 2;

// The character a key gives, as the desktop's character message would carry it; 0 for keys
// that give none (arrows, function keys) and for Tab, which moves the focus instead.
QChar CharOfKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QChar();
    default:
        return event->text().isEmpty() ? QChar() : event->text().at(0);
    }
}

} // namespace

TCustomListBox::TCustomListBox(QWidget* parent) : QListView(parent), items_(new TListItems(this)) {
    setModel(items_);
    setItemDelegate(
        new TOwnerDrawDelegate([this] { return itemHeight_; },
                               [this](QPainter& p, int index, const QRect& r, TOwnerDrawState s) {
                                   PaintEntry(p, index, r, s);
                               },
                               this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setDragEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrameWidth);
    viewport()->setAutoFillBackground(false);
    resize(121, 97);
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::ItemIndex() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TCustomListBox::SetItemIndex(int index) {
    if (index < 0 || index >= items_->Count()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex at = items_->index(index);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
}

bool TCustomListBox::Selected(int index) const {
    return index >= 0 && index == ItemIndex();
}

int TCustomListBox::TopIndex() const {
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void TCustomListBox::SetTopIndex(int index) {
    if (index < 0 || index >= items_->Count())
        return;
    // Laid out first, so that the scroll range already counts entries just added.
    doItemsLayout();
    scrollTo(items_->index(index), QAbstractItemView::PositionAtTop);
}

void TCustomListBox::SetItemHeight(int height) {
    if (height <= 0 || height == itemHeight_)
        return;
    itemHeight_ = height;
    verticalScrollBar()->setSingleStep(1);
    doItemsLayout();
    ApplyIntegralHeight();
    viewport()->update();
}

void TCustomListBox::SetIntegralHeight(bool integral) {
    if (integral == integralHeight_)
        return;
    integralHeight_ = integral;
    ApplyIntegralHeight();
}

void TCustomListBox::SetSorted(bool sorted) {
    items_->SetSorted(sorted);
}

void TCustomListBox::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        viewport()->update();
    }
}

TCanvas& TCustomListBox::Canvas() {
    return canvas_ ? *canvas_ : measuring_.With(font());
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    canvas.TextOut(rect.Left + 2, rect.Top, items_->ShownText(index));
}

void TCustomListBox::Click() {
    if (OnClick)
        OnClick(this);
}

void TCustomListBox::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomListBox::KeyPress(QChar& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TCustomListBox::CreateWnd() {
    ApplyIntegralHeight();
}

void TCustomListBox::PaintEntry(QPainter& painter, int index, const QRect& rect,
                                TOwnerDrawState state) {
    if (!hasFocus())
        state &= ~odFocused;
    TCanvas canvas(painter);
    PrepareEntryCanvas(canvas, font(), color_, state);
    TCanvas* previous = canvas_;
    canvas_ = &canvas;
    const TRect itemRect{0, rect.top(), viewport()->width(), rect.top() + itemHeight_};
    // An entry that cannot be drawn stays blank.
    CallPaintHandler(this, [&] { DrawItem(index, itemRect, state); });
    canvas_ = previous;
    if (state & odFocused)
        DrawFocusRect(painter, itemRect.ToQRect());
}

void TCustomListBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), ToQColor(color_));
    }
    QListView::paintEvent(event);
}

bool TCustomListBox::event(QEvent* event) {
    if (event->type() == QEvent::Paint) {
        PaintFrame();
        return true;
    }
    return QListView::event(event);
}

void TCustomListBox::PaintFrame() {
    // The sunken client edge of the old desktop: shadow over dark shadow at the top and left,
    // highlight over light at the bottom and right.
    QPainter p(this);
    const int w = width();
    const int h = height();
    const QColor shadow = ToQColor(clBtnShadow);
    const QColor dark = ToQColor(cl3DDkShadow);
    const QColor highlight = ToQColor(clBtnHighlight);
    const QColor light = ToQColor(cl3DLight);
    p.fillRect(0, 0, w - 1, 1, shadow);
    p.fillRect(0, 0, 1, h - 1, shadow);
    p.fillRect(0, h - 1, w, 1, highlight);
    p.fillRect(w - 1, 0, 1, h, highlight);
    p.fillRect(1, 1, w - 3, 1, dark);
    p.fillRect(1, 1, 1, h - 3, dark);
    p.fillRect(1, h - 2, w - 2, 1, light);
    p.fillRect(w - 2, 1, 1, h - 2, light);
}

void TCustomListBox::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    ApplyIntegralHeight();
}

void TCustomListBox::ApplyIntegralHeight() {
    // A height that someone else set is the one asked for; the integral height is derived
    // from it, so a later change of the item height starts again from what was asked.
    if (height() != appliedHeight_)
        requestedHeight_ = height();
    int target = requestedHeight_;
    if (integralHeight_) {
        const int frame = 2 * frameWidth();
        target = qMax(0, requestedHeight_ - frame) / itemHeight_ * itemHeight_ + frame;
    }
    appliedHeight_ = target;
    if (target != height())
        resize(width(), target);
}

void TCustomListBox::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        CallEventHandler([this] { FontChanged(); });
        viewport()->update();
    }
}

void TCustomListBox::mousePressEvent(QMouseEvent* event) {
    afterDoubleClick_ = false;
    // Only the left button on an entry selects; a press below the last entry keeps the
    // selection, as the old list box does.
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    tracking_ = true;
    QListView::mousePressEvent(event);
}

void TCustomListBox::mouseMoveEvent(QMouseEvent* event) {
    if (tracking_)
        QListView::mouseMoveEvent(event);
    else
        event->accept();
}

void TCustomListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!tracking_ || event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    tracking_ = false;
    QListView::mouseReleaseEvent(event);
    if (afterDoubleClick_)
        afterDoubleClick_ = false;
    else
        CallEventHandler([this] { Click(); });
}

void TCustomListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    const int before = ItemIndex();
    tracking_ = true;
    QListView::mouseDoubleClickEvent(event);
    // The second press of a double click is no click of its own, unless it moved the
    // selection.
    afterDoubleClick_ = true;
    CallEventHandler([this, before] {
        if (ItemIndex() != before)
            Click();
        DblClick();
    });
}

void TCustomListBox::keyPressEvent(QKeyEvent* event) {
    const QChar original = CharOfKey(event);
    QChar key = original;
    if (!key.isNull()) {
        // A handler that failed has had the key; the list does not act on it too.
        if (!CallEventHandler([this, &key] { KeyPress(key); }) || key.isNull() ||
            key.unicode() == 13) {
            event->accept();
            return;
        }
    }
    const int before = ItemIndex();
    // With nothing selected the first arrow key selects the first entry, rather than the one
    // after the entry that merely holds the focus.
    if (before < 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (key != original) {
        QKeyEvent changed(event->type(), 0, event->modifiers(), QString(key));
        QListView::keyPressEvent(&changed);
        event->setAccepted(changed.isAccepted());
    } else {
        QListView::keyPressEvent(event);
    }
    if (ItemIndex() != before)
        CallEventHandler([this] { Click(); });
}

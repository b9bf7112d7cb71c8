#include "framework/TCustomComboBox.h"

#include "framework/TApplication.h"

#include <QAbstractItemView>
#include <QListView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace {

constexpr int kBorders = 6; // 3 pixels above and below the selection field

} // namespace

TCustomComboBox::TCustomComboBox(QWidget* parent)
    : QComboBox(parent), items_(new TListItems(this)) {
    setModel(items_);
    auto* delegate =
        new TOwnerDrawDelegate([this] { return itemHeight_; },
                               [this](QPainter& p, int index, const QRect& r, TOwnerDrawState s) {
                                   PaintEntry(p, index, r, s);
                               },
                               this);
    setItemDelegate(delegate);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    setEditable(false);
    setMaxVisibleItems(8);
    setFocusPolicy(Qt::StrongFocus);
    // Qt selects the first entry of a list that gets its first entries; the old drop-down
    // list keeps no selection until one is made.
    connect(items_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this] { hadSelection_ = currentIndex() >= 0; });
    connect(items_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!hadSelection_)
            setCurrentIndex(-1);
    });
    connect(this, &QComboBox::activated, this,
            [this] { CallEventHandler([this] { UserSelected(); }); });
    setFixedHeight(itemHeight_ + kBorders);
    resize(145, height());
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::Clear() {
    items_->Clear();
    setCurrentIndex(-1);
    update();
}

QString TCustomComboBox::Text() const {
    const int index = currentIndex();
    return index >= 0 && index < items_->Count() ? items_->Text(index) : QString();
}

void TCustomComboBox::SetItemIndex(int index) {
    setCurrentIndex(index >= 0 && index < items_->Count() ? index : -1);
}

void TCustomComboBox::SetItemHeight(int height) {
    if (height <= 0 || height == itemHeight_)
        return;
    itemHeight_ = height;
    setFixedHeight(itemHeight_ + kBorders);
    view()->doItemsLayout();
    update();
}

void TCustomComboBox::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

TCanvas& TCustomComboBox::Canvas() {
    return canvas_ ? *canvas_ : measuring_.With(font());
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    canvas.TextOut(rect.Left + 2, rect.Top, items_->ShownText(index));
}

void TCustomComboBox::Click() {
    if (OnClick)
        OnClick(this);
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::UserSelected() {
    // Qt has already made the picked entry current, which is also the field's text.
    Click();
    Change();
}

void TCustomComboBox::PaintEntry(QPainter& painter, int index, const QRect& rect,
                                 TOwnerDrawState state) {
    TCanvas canvas(painter);
    PrepareEntryCanvas(canvas, font(), color_, state);
    TCanvas* previous = canvas_;
    canvas_ = &canvas;
    // An entry that cannot be drawn stays blank.
    CallPaintHandler(this, [&] {
        if (index >= 0 && index < items_->Count())
            DrawItem(index, TRect::FromQRect(rect), state);
        else
            canvas.FillRect(TRect::FromQRect(rect));
    });
    canvas_ = previous;
    if (state & odFocused)
        DrawFocusRect(painter, rect);
}

void TCustomComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    TOwnerDrawState state = odComboBoxEdit;
    if (hasFocus())
        state |= odSelected | odFocused;
    if (!isEnabled())
        state |= odDisabled;
    painter.save();
    PaintEntry(painter, currentIndex(), field, state);
    painter.restore();
}

void TCustomComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        CallEventHandler([this] { FontChanged(); });
}

void TCustomComboBox::wheelEvent(QWheelEvent* event) {
    // The wheel does not pick drives behind the user's back; it scrolls whatever is beneath.
    event->ignore();
}

void TCustomComboBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QComboBox::mouseDoubleClickEvent(event);
    if (OnDblClick)
        CallEventHandler([this] { OnDblClick(this); });
}

void TCustomComboBox::showPopup() {
    // A list whose drop-down handler failed is not dropped down.
    if (OnDropDown && !CallEventHandler([this] { OnDropDown(this); }))
        return;
    QComboBox::showPopup();
}

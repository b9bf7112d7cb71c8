#pragma once
// The combo box base of the program's drop-down lists: a Qt combo box in drop-down-list style
// (no typing) over TListItems, with owner-drawn entries of a fixed height in the list and in the
// selection field. A user's pick, by mouse or keyboard, runs the old desktop's sequence: the
// text becomes the entry's, then Click(), then OnChange. Setting ItemIndex from code raises
// nothing; the list starts without a selection, also after entries are added.

#include "framework/Events.h"
#include "framework/TCanvas.h"
#include "framework/TColor.h"
#include "framework/TListItems.h"
#include "framework/TMeasuringCanvas.h"
#include "framework/TOwnerDrawDelegate.h"
#include "framework/TRect.h"
#include "framework/TWindowHandle.h"

#include <QComboBox>

class TCustomComboBox : public QComboBox, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TCustomComboBox(QWidget* parent = nullptr);
    ~TCustomComboBox() override;

    TListItems& Items() { return *items_; }
    const TListItems& Items() const { return *items_; }
    // Removes every entry and the text.
    void Clear();

    // The text of the selection field: the selected entry's text, empty without a selection.
    QString Text() const;
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);

    // Height of each entry; the control is this plus its 3-pixel borders high.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int count) { setMaxVisibleItems(count); }
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Drops the list down, raising OnDropDown first.
    void showPopup() override;

    // The canvas DrawItem paints on; outside painting, one that measures with the font.
    TCanvas& Canvas();

    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnDropDown;

protected:
    // Draws entry `index` in `rect` on Canvas(), set up for `state` (odComboBoxEdit in the
    // selection field). The default fills the rectangle and writes the text 2 pixels in.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void Click();
    virtual void Change();
    // After a change of the font, its own or taken from its parent.
    virtual void FontChanged() {}
    void CreateWnd() override {}

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PaintEntry(QPainter& painter, int index, const QRect& rect, TOwnerDrawState state);
    void UserSelected();

    TListItems* items_;
    TCanvas* canvas_ = nullptr;
    TMeasuringCanvas measuring_;
    int itemHeight_ = 16;
    TColor color_ = clWindow;
    bool hadSelection_ = false;
};

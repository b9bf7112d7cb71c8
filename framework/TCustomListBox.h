#pragma once
// The list box base of the program's lists: a Qt list view over TListItems with owner-drawn
// entries of a fixed height, single selection, optional sorting and the classic look (white
// window, navy selection, sunken two-pixel frame, dotted focus rectangle). Keyboard navigation,
// type-ahead, scrolling and accessibility are Qt's; the base adds the event order of the old
// desktop: OnClick for every selection the user makes (and a click on the selected entry),
// OnDblClick, and OnKeyPress before the key is acted on.

#include "framework/Events.h"
#include "framework/TCanvas.h"
#include "framework/TColor.h"
#include "framework/TListItems.h"
#include "framework/TMeasuringCanvas.h"
#include "framework/TOwnerDrawDelegate.h"
#include "framework/TRect.h"
#include "framework/TWindowHandle.h"

#include <QListView>

class TCustomListBox : public QListView, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE SetIntegralHeight)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TCustomListBox(QWidget* parent = nullptr);
    ~TCustomListBox() override;

    TListItems& Items() { return *items_; }
    const TListItems& Items() const { return *items_; }

    // The selected entry, -1 for none. Setting it from code raises no event.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;
    // The entry shown at the top of the list; setting it scrolls the list there.
    int TopIndex() const;
    void SetTopIndex(int index);

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    // The height shrinks to a whole number of entries plus the frame.
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool integral);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool sorted);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The canvas DrawItem paints on; outside painting, one that measures with the list's font.
    TCanvas& Canvas();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TKeyPressEvent OnKeyPress;

protected:
    // Draws entry `index` in `rect` on Canvas(), whose brush and font colour are already those
    // of the state. The default fills the rectangle and writes the text 2 pixels in.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void Click();
    virtual void DblClick();
    // Raised for a character key (Enter is 13) before the list acts on it; setting the key to
    // 0 swallows it.
    virtual void KeyPress(QChar& key);
    // After a change of the list's font, its own or taken from its parent.
    virtual void FontChanged() {}
    void CreateWnd() override;

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PaintEntry(QPainter& painter, int index, const QRect& rect, TOwnerDrawState state);
    void PaintFrame();
    void ApplyIntegralHeight();

    TListItems* items_;
    TCanvas* canvas_ = nullptr; // the painting canvas while an entry is drawn
    TMeasuringCanvas measuring_;
    int itemHeight_ = 16;
    bool integralHeight_ = false;
    int requestedHeight_ = 0;
    int appliedHeight_ = -1;
    TColor color_ = clWindow;
    bool tracking_ = false; // a left-button press on an entry, until its release
    bool afterDoubleClick_ = false;
};

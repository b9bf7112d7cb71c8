#pragma once
// Owner drawing of list and combo box entries: the views paint every entry through their
// control's DrawItem, on a TCanvas prepared the classic way (brush and text in the highlight
// colours for the selected entry, in the window colours otherwise), with the dotted focus
// rectangle around the focused entry. Every entry has the control's fixed item height.

#include "framework/TColor.h"

#include <QAbstractItemDelegate>
#include <QFont>
#include <QRect>
#include <functional>

class QPainter;
class TCanvas;

// The state bits an entry is drawn in.
enum TOwnerDrawStateBit : int {
    odSelected = 0x1,
    odGrayed = 0x2,
    odDisabled = 0x4,
    odChecked = 0x8,
    odFocused = 0x10,
    odComboBoxEdit = 0x1000,
};
using TOwnerDrawState = int;

class TOwnerDrawDelegate : public QAbstractItemDelegate {
    Q_OBJECT

public:
    using PaintEntry =
        std::function<void(QPainter& painter, int index, const QRect& rect, TOwnerDrawState)>;

    TOwnerDrawDelegate(std::function<int()> itemHeight, PaintEntry paintEntry, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::function<int()> itemHeight_;
    PaintEntry paintEntry_;
};

// Sets the canvas up for an entry in `state`: brush colour, text colour and font.
void PrepareEntryCanvas(TCanvas& canvas, const QFont& font, TColor windowColor,
                        TOwnerDrawState state);
// Inverts every other pixel of the rectangle's outline, as the desktop marks the focus.
void DrawFocusRect(QPainter& painter, const QRect& rect);

#pragma once
// The caption of a text control and how it is placed: its alignment, whether "&" marks an
// accelerator, and whether the control takes the size of its text. A label and a static text
// share it; each tells through AdjustBounds and RepaintCaption what a change means for it.

#include <QString>

class TCaptionSettings {
public:
    virtual ~TCaptionSettings() = default;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Sizes the control to its text whenever the text or how it is measured changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // When false, "&" is shown as it is.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

protected:
    // The values of the controls' own TAlignment enums.
    enum { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    int CaptionAlignment() const { return alignment_; }
    void SetCaptionAlignment(int alignment);
    // DT_RIGHT or DT_CENTER as the alignment asks, and DT_NOPREFIX unless "&" marks accelerators.
    unsigned CaptionFlags() const;
    // With AutoSize, takes the size the caption needs.
    virtual void AdjustBounds() = 0;
    virtual void RepaintCaption() = 0;

private:
    QString caption_;
    int alignment_ = AlignLeft;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
};

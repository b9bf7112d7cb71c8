#include "framework/TCaptionSettings.h"

#include "framework/DrawTextFlags.h"

void TCaptionSettings::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    AdjustBounds();
    RepaintCaption();
}

void TCaptionSettings::SetAutoSize(bool autoSize) {
    if (autoSize_ == autoSize)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCaptionSettings::SetShowAccelChar(bool show) {
    if (showAccelChar_ == show)
        return;
    showAccelChar_ = show;
    AdjustBounds();
    RepaintCaption();
}

void TCaptionSettings::SetCaptionAlignment(int alignment) {
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    RepaintCaption();
}

unsigned TCaptionSettings::CaptionFlags() const {
    unsigned flags = showAccelChar_ ? 0u : unsigned(DT_NOPREFIX);
    if (alignment_ == AlignRight)
        flags |= DT_RIGHT;
    else if (alignment_ == AlignCenter)
        flags |= DT_CENTER;
    return flags;
}

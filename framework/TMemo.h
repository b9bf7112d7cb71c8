#pragma once
// A multi-line text field: its Lines, read-only or editable, with the scroll bars asked for and
// either the sunken 3-D frame (Ctl3D) or a flat one-pixel border.

#include "framework/TColor.h"
#include "framework/TWindowHandle.h"

#include <QPlainTextEdit>
#include <QStringList>

class TMemo : public QPlainTextEdit, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)

public:
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    explicit TMemo(QWidget* parent = nullptr);

    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    QString Text() const { return toPlainText(); }
    void SetText(const QString& text) { setPlainText(text); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool ctl3D);
    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void SetWordWrap(bool wrap);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

private:
    TScrollStyle scrollBars_ = ssNone;
    bool ctl3D_ = true;
    TColor color_ = clWindow;
};

#pragma once
// A label that works as a hyperlink: its caption underlined in a link colour that changes under
// the pointer and while it is pressed, and a click released over it asks the desktop to open its
// address (or, without one, the caption itself).

#include "framework/TColor.h"
#include "framework/TLabel.h"

#include <QString>

class TURLLabel : public TLabel {
    Q_OBJECT
    Q_PROPERTY(uint ColorNormal READ ColorNormal WRITE SetColorNormal)
    Q_PROPERTY(uint ColorMoveOver READ ColorMoveOver WRITE SetColorMoveOver)
    Q_PROPERTY(uint ColorClick READ ColorClick WRITE SetColorClick)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)

public:
    // The address a new label opens.
    static const QString DefaultURL;

    explicit TURLLabel(QWidget* parent = nullptr);

    // Setting a colour stores it only; it shows at the next change of the font colour.
    TColor ColorNormal() const { return colorNormal_; }
    void SetColorNormal(TColor color) { colorNormal_ = color; }
    TColor ColorMoveOver() const { return colorMoveOver_; }
    void SetColorMoveOver(TColor color) { colorMoveOver_ = color; }
    TColor ColorClick() const { return colorClick_; }
    void SetColorClick(TColor color) { colorClick_ = color; }
    // Handed to the shell unchanged; when empty, the caption is.
    QString URL() const { return url_; }
    void SetURL(const QString& url) { url_ = url; }

    // A press on the label has not been released yet.
    bool Clicking() const { return clicking_; }

    // A link, whose press action opens the address as a click does.
    QAccessible::Role AccessibleRole() const override { return QAccessible::Link; }
    void AccessiblePress() override { Open(); }

protected:
    void MouseDown(TMouseButton button, int shift, int x, int y) override;
    void MouseUp(TMouseButton button, int shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void Open();

    TColor colorNormal_ = clBlue;
    TColor colorMoveOver_ = clBlue;
    TColor colorClick_ = clRed;
    bool clicking_ = false;
    QString url_;
};

#pragma once
// The about box: product name, the maker's logo, the mail link and the thanks. Made hidden at
// start-up and shown modally on every confirmed exit.

#include "framework/TForm.h"

class TSpeedButton;
class TPanel;
class TImage;
class TLabel;
class TURLLabel;
class TMemo;

class TAboutBox : public TForm {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    TSpeedButton* SpeedButton1;
    TPanel* Panel1;
    TImage* ProgramIcon;
    TLabel* ProductName;
    TLabel* Label2;
    TURLLabel* URLLabel1;
    TMemo* Memo1;

    Q_INVOKABLE void SpeedButton1Click(QObject* sender);

    // Bits per pixel of the display, read once when the first box is made; on 8 or fewer the
    // logo is decoded to a palette of 236 colours. Tests may set it before making a box.
    static int DisplayDepth;
};

// The about box, once made.
extern TAboutBox* AboutBox;

#pragma once
// The main window: drive selector, directory list, file list, size display and the two panels
// of glyph buttons, built from its layout, with the handlers that link the browsing controls,
// play and measure the selected file, change files, and guard the shutdown.

#include "framework/TForm.h"

class TFileListBox;
class TDriveComboBox;
class TDirectoryListBox;
class TStaticText;
class TPanel;
class TTransparentButton;
class TSaveDialog;

class TForm1 : public TForm {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    TFileListBox* soubor;
    TDriveComboBox* disk;
    TDirectoryListBox* adresar;
    TStaticText* Velikost;
    TPanel* Panel1;
    TTransparentButton* TransparentButton2;
    TTransparentButton* TransparentButton1;
    TPanel* Panel2;
    TTransparentButton* TransparentButton3;
    TTransparentButton* TransparentButton4;
    TTransparentButton* TransparentButton5;
    TSaveDialog* SaveDialog1;
    TTransparentButton* TransparentButton6;

    // Start-up and shutdown.
    Q_INVOKABLE void FormCreate(QObject* sender);
    Q_INVOKABLE void FormShow(QObject* sender);
    Q_INVOKABLE void FormCloseQuery(QObject* sender, bool& canClose);
    // Browsing and playback.
    Q_INVOKABLE void AdresarChange(QObject* sender);
    Q_INVOKABLE void diskChange(QObject* sender);
    Q_INVOKABLE void souborClick(QObject* sender);
    Q_INVOKABLE void souborSelectedGone(QObject* sender);
    Q_INVOKABLE void TransparentButton2Click(QObject* sender);
    // File operations.
    Q_INVOKABLE void TransparentButton3Click(QObject* sender);
    Q_INVOKABLE void TransparentButton4Click(QObject* sender);
    Q_INVOKABLE void TransparentButton5Click(QObject* sender);
    // Quit and help.
    Q_INVOKABLE void TransparentButton1Click(QObject* sender);
    Q_INVOKABLE void TransparentButton6Click(QObject* sender);
};

// The main window, once made.
extern TForm1* Form1;

#include "about/TAboutBox.h"

#include "about/JpegDecoder.h"
#include "controls/ControlsClasses.h"
#include "controls/TURLLabel.h"
#include "framework/Exceptions.h"
#include "framework/TImage.h"
#include "framework/TLabel.h"
#include "framework/TLayoutLoader.h"
#include "framework/TMemo.h"
#include "framework/TPanel.h"
#include "framework/TSpeedButton.h"
#include "framework/TStringTable.h"

#include <QGuiApplication>
#include <QScreen>

TAboutBox* AboutBox = nullptr;
int TAboutBox::DisplayDepth = 0;

namespace {

QImage DecodeLogo(const QByteArray& data) {
    const JpegDecodeResult result = DecodeJpeg(data, TAboutBox::DisplayDepth <= 8);
    if (result.ErrorCode != 0)
        throw EJPEG(
            LoadStr(65331).replace(QStringLiteral("%d"), QString::number(result.ErrorCode)));
    return result.Image;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : TForm(parent) {
    RegisterControlsClasses();
    if (DisplayDepth == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        DisplayDepth = screen ? screen->depth() : 24;
    }
    TLayoutLoader::LoadForm(this, QStringLiteral("AboutBox"));
    SpeedButton1 = Component<TSpeedButton>(QStringLiteral("SpeedButton1"));
    Panel1 = Component<TPanel>(QStringLiteral("Panel1"));
    ProgramIcon = Component<TImage>(QStringLiteral("ProgramIcon"));
    ProductName = Component<TLabel>(QStringLiteral("ProductName"));
    Label2 = Component<TLabel>(QStringLiteral("Label2"));
    URLLabel1 = Component<TURLLabel>(QStringLiteral("URLLabel1"));
    Memo1 = Component<TMemo>(QStringLiteral("Memo1"));
    ProgramIcon->SetPictureDecoder(DecodeLogo);
    SetActiveControl(Memo1);
    if (!AboutBox)
        AboutBox = this;
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this)
        AboutBox = nullptr;
}

void TAboutBox::SpeedButton1Click(QObject*) {
    Close();
}

#include "about/TAboutBox.h"
#include "controls/TURLLabel.h"
#include "framework/TApplication.h"
#include "framework/TImage.h"
#include "framework/TLabel.h"
#include "framework/TMemo.h"
#include "framework/TPanel.h"
#include "framework/TSpeedButton.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/QtPrinters.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Placement {
    const char* name;
    const char* className;
    int left, top, width, height;
};

} // namespace

TEST(AboutBox, LayoutHasEveryComponentWhereItBelongs) {
    TAboutBox box;
    EXPECT_EQ(box.Caption(), "O programu");
    EXPECT_EQ(box.ClientWidth(), 247);
    EXPECT_EQ(box.ClientHeight(), 269);
    EXPECT_EQ(box.BorderStyle(), TForm::bsDialog);
    EXPECT_EQ(box.Position(), TForm::poScreenCenter);
    // Labels size themselves to their text, so only their positions are fixed.
    const Placement table[] = {
        {"SpeedButton1", "TSpeedButton", 104, 247, 40, 18},
        {"Panel1", "TPanel", 8, 3, 233, 238},
        {"ProgramIcon", "TImage", 8, 37, 214, 94},
        {"ProductName", "TLabel", 23, 3, -1, -1},
        {"Label2", "TLabel", 26, 150, -1, -1},
        {"URLLabel1", "TURLLabel", 78, 150, -1, -1},
        {"Memo1", "TMemo", 10, 169, 212, 63},
    };
    for (const Placement& p : table) {
        auto* widget = qobject_cast<QWidget*>(box.FindComponent(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        EXPECT_STREQ(widget->metaObject()->className(), p.className);
        EXPECT_EQ(widget->x(), p.left) << p.name;
        EXPECT_EQ(widget->y(), p.top) << p.name;
        if (p.width >= 0) {
            EXPECT_EQ(widget->width(), p.width) << p.name;
            EXPECT_EQ(widget->height(), p.height) << p.name;
        }
    }
    EXPECT_EQ(box.ProductName->Caption(), " Zvonkar pro Windows 95");
    EXPECT_EQ(box.Label2->Caption(), "E-mail:");
    EXPECT_TRUE(box.URLLabel1->URL().startsWith("mailto: "));
    EXPECT_EQ(box.URLLabel1->URL(), "mailto: " + box.URLLabel1->Caption());
    EXPECT_EQ(box.URLLabel1->ColorMoveOver(), clRed);
    EXPECT_EQ(box.URLLabel1->ColorClick(), clPurple);
    const QStringList lines = box.Memo1->Lines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), "Poděkování:");
    EXPECT_EQ(lines.last(), "... za morální podporu");
    EXPECT_TRUE(box.Memo1->ReadOnly());
}

TEST(AboutBox, TheLogoIsDecodedOnTheFirstPaint) {
    TAboutBox box;
    EXPECT_TRUE(box.ProgramIcon->Image().isNull());
    box.grab();
    ASSERT_FALSE(box.ProgramIcon->Image().isNull());
    EXPECT_EQ(box.ProgramIcon->Image().size(), QSize(263, 115));
}

TEST(AboutBox, FewColourDisplaysGetA236ColourPalette) {
    const int saved = TAboutBox::DisplayDepth;
    TAboutBox::DisplayDepth = 8;
    {
        TAboutBox box;
        box.grab();
        EXPECT_EQ(box.ProgramIcon->Image().format(), QImage::Format_Indexed8);
        EXPECT_LE(box.ProgramIcon->Image().colorCount(), 236);
    }
    TAboutBox::DisplayDepth = saved;
}

TEST(AboutBox, ABrokenLogoIsReportedAndTheBoxStillWorks) {
    ErrorBoxRecorder errors;
    TAboutBox box;
    box.ProgramIcon->SetPictureData(QByteArray("\xFF\xD8 not really a picture", 22));
    box.grab();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Texts().size(), 1);
    EXPECT_TRUE(errors.Texts().first().startsWith("JPEG error #"))
        << errors.Texts().first().toStdString();
    box.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(errors.Texts().size(), 1);
    QTimer::singleShot(0, [&] { box.SpeedButton1Click(&box); });
    box.ShowModal();
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, EnterAndEscapeDoNothingTheOkButtonCloses) {
    TAboutBox box;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        QWidget* focus = box.focusWidget();
        EXPECT_TRUE(focus == box.Memo1 || box.Memo1->isAncestorOf(focus))
            << (focus ? focus->metaObject()->className() : "none");
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Escape);
        stayedOpen = box.isVisible();
        const QPoint centre = box.SpeedButton1->rect().center();
        QTest::mousePress(box.SpeedButton1, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(box.SpeedButton1, Qt::LeftButton, {}, centre);
    });
    box.ShowModal();
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.Memo1->Lines().size(), 10);
}

#include "controls/TURLLabel.h"
#include "tests/support/RecordingXdgOpen.h"

#include <QCursor>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kParent = 0x30A060;

class PaintedParent : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor::fromRgb(kParent));
    }
};

// A shown window with one link label at (10, 10) and the desktop's opener replaced by a
// recorder.
struct LinkWindow {
    LinkWindow() {
        window.resize(200, 80);
        label = new TURLLabel(&window);
        label->move(10, 10);
        QCursor::setPos(QPoint(700, 500));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    TColor Color() const { return label->Font().Color(); }
    QPoint Inside() const { return {label->Width() / 2, label->Height() / 2}; }
    QPoint Outside() const { return {label->Width() + 20, label->Height() / 2}; }
    void Move(QPoint at) { QTest::mouseMove(label, at); }
    void Press(QPoint at, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mousePress(label, which, {}, at);
    }
    void Release(QPoint at, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mouseRelease(label, which, {}, at);
    }
    // Whether the window shows some of the label's pixels in that colour.
    bool Shows(QRgb color) {
        const QImage image = window.grab(label->geometry()).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == color)
                    return true;
        return false;
    }
    // Whether the shell was asked to open anything within a short while.
    bool Opened() const { return xdgOpen.WaitForCalls(1, std::chrono::milliseconds(300)); }

    RecordingXdgOpen xdgOpen;
    PaintedParent window;
    TURLLabel* label;
};

} // namespace

TEST(TURLLabel, NewLabelIsABlueUnderlinedClickMe) {
    LinkWindow w;
    EXPECT_EQ(w.label->Caption(), "Click me!");
    EXPECT_EQ(w.Color(), clBlue);
    EXPECT_EQ(w.label->Font().Style(), static_cast<int>(TFontStyle::fsUnderline));
    EXPECT_EQ(w.label->ColorNormal(), clBlue);
    EXPECT_EQ(w.label->ColorMoveOver(), clBlue);
    EXPECT_EQ(w.label->ColorClick(), clRed);
    EXPECT_EQ(w.label->URL(), TURLLabel::DefaultURL);
    EXPECT_FALSE(w.label->URL().isEmpty());
    EXPECT_FALSE(w.label->Clicking());

    // Drawn in blue, with one row of blue (the underline) nearly as wide as the text.
    const QImage image = w.label->grab().toImage();
    int widestRun = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF ? run + 1 : 0;
            widestRun = std::max(widestRun, run);
        }
    }
    EXPECT_GE(widestRun, w.label->Width() - 2);
}

TEST(TURLLabel, ColoursFollowThePointerAndThePress) {
    LinkWindow w;
    w.label->SetColorMoveOver(clRed);
    w.label->SetColorClick(clPurple);
    w.label->SetURL(QStringLiteral("mailto: zvonkar@example.com"));
    EXPECT_EQ(w.Color(), clBlue);
    w.Move(w.Inside());
    EXPECT_EQ(w.Color(), clRed);
    w.Press(w.Inside());
    EXPECT_EQ(w.Color(), clPurple);
    EXPECT_TRUE(w.label->Clicking());
    w.Move(w.Outside());
    EXPECT_EQ(w.Color(), clBlue);
    w.Move(w.Inside());
    EXPECT_EQ(w.Color(), clPurple);
    w.Release(w.Inside());
    EXPECT_EQ(w.Color(), clRed);
    EXPECT_FALSE(w.label->Clicking());
    ASSERT_TRUE(w.xdgOpen.WaitForCalls(1));
    // The address goes to the shell unchanged, the space after the scheme included.
    EXPECT_EQ(w.xdgOpen.Calls(), (QList<QStringList>{{"mailto: zvonkar@example.com"}}));
    EXPECT_TRUE(w.Shows(0xFF0000));
    w.Move(w.Outside());
    EXPECT_EQ(w.Color(), clBlue);
    EXPECT_TRUE(w.Shows(0x0000FF));
    EXPECT_FALSE(w.Shows(0xFF0000));
}

TEST(TURLLabel, ReleasedOutsideOpensNothing) {
    LinkWindow w;
    w.Move(w.Inside());
    w.Press(w.Inside());
    w.Move(w.Outside());
    w.Release(w.Outside());
    EXPECT_EQ(w.Color(), clBlue);
    EXPECT_FALSE(w.label->Clicking());
    EXPECT_FALSE(w.Opened());
}

TEST(TURLLabel, RightAndBottomEdgesCountAsInside) {
    struct Case {
        int dx, dy; // from the label's bottom-right corner (Width, Height)
        bool inside;
    };
    const Case cases[] = {
        {0, 0, true},
        {-1, -1, true},
        {1, 0, false},
        {0, 1, false},
    };
    for (const Case& c : cases) {
        LinkWindow w;
        w.label->SetURL(QString());
        w.label->SetColorMoveOver(clRed);
        const QPoint at(w.label->Width() + c.dx, w.label->Height() + c.dy);
        w.Move(w.Inside());
        w.Press(w.Inside());
        w.Move(at);
        w.Release(at);
        EXPECT_EQ(w.Opened(), c.inside) << c.dx << "," << c.dy;
        EXPECT_EQ(w.Color(), c.inside ? clRed : clBlue) << c.dx << "," << c.dy;
    }
    LinkWindow w;
    w.Move({0, 0});
    w.Press({0, 0});
    w.Move({-1, 0});
    w.Release({-1, 0});
    EXPECT_FALSE(w.Opened());
}

TEST(TURLLabel, WithoutAnAddressTheCaptionIsOpened) {
    for (const char* caption : {"Click me!", "a&b c", "  leading"}) {
        LinkWindow w;
        w.label->SetURL(QString());
        w.label->SetCaption(QString::fromUtf8(caption));
        w.Move(w.Inside());
        w.Press(w.Inside());
        w.Release(w.Inside());
        ASSERT_TRUE(w.xdgOpen.WaitForCalls(1)) << caption;
        EXPECT_EQ(w.xdgOpen.Calls(), (QList<QStringList>{{QString::fromUtf8(caption)}}));
    }
}

TEST(TURLLabel, AnyMouseButtonClicksTheLink) {
    LinkWindow w;
    w.label->SetURL(QStringLiteral("https://example.com/zvonkar"));
    w.Move(w.Inside());
    w.Press(w.Inside(), Qt::RightButton);
    EXPECT_EQ(w.Color(), clRed);
    w.Release(w.Inside(), Qt::RightButton);
    ASSERT_TRUE(w.xdgOpen.WaitForCalls(1));
    EXPECT_EQ(w.xdgOpen.Calls(), (QList<QStringList>{{"https://example.com/zvonkar"}}));
}

TEST(TURLLabel, SettingAColourShowsOnlyAtTheNextChange) {
    LinkWindow w;
    w.label->Font().SetColor(clGreen);
    w.label->SetColorNormal(clBlack);
    w.label->SetColorMoveOver(clRed);
    EXPECT_EQ(w.Color(), clGreen);
    w.Move(w.Inside());
    EXPECT_EQ(w.Color(), clRed);
    w.Move(w.Outside());
    EXPECT_EQ(w.Color(), clBlack);
}

TEST(TURLLabel, PropertiesAreReachableByName) {
    TURLLabel label;
    EXPECT_TRUE(label.setProperty("ColorClick", QVariant::fromValue<uint>(clPurple)));
    EXPECT_TRUE(label.setProperty("URL", QStringLiteral("mailto: a@b.cz")));
    EXPECT_EQ(label.ColorClick(), clPurple);
    EXPECT_EQ(label.URL(), "mailto: a@b.cz");
}

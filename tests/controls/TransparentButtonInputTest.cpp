#include "ButtonWindow.h"
#include "framework/TPopupMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

using namespace button_test;

namespace {

// Every event the button raises, as a line of text, in order.
struct Recorder {
    explicit Recorder(TTransparentButton* button) {
        button->OnMouseDown = [this](QObject*, TMouseButton b, int, int x, int y) {
            log << QStringLiteral("down %1 %2,%3").arg(b).arg(x).arg(y);
        };
        button->OnMouseMove = [this](QObject*, int, int x, int y) {
            log << QStringLiteral("move %1,%2").arg(x).arg(y);
        };
        button->OnMouseUp = [this](QObject*, TMouseButton b, int, int x, int y) {
            log << QStringLiteral("up %1 %2,%3").arg(b).arg(x).arg(y);
        };
        button->OnClick = [this, button](QObject* sender) {
            EXPECT_EQ(sender, button);
            log << (button->PressedLook() ? QStringLiteral("click pressed")
                                          : QStringLiteral("click"));
        };
        button->OnMouseEnter = [this](QObject*) { log << QStringLiteral("enter"); };
        button->OnMouseExit = [this](QObject*) { log << QStringLiteral("exit"); };
    }
    int Count(const QString& prefix) const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const QString& line) { return line.startsWith(prefix); }));
    }
    QStringList log;
};

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void TypeText(QWidget* widget, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, 0, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

TEST(TransparentButtonInput, EachPressMoveAndReleaseRaisesItsEventOnce) {
    ButtonWindow w;
    Recorder r(w.button);
    w.Hover({20, 20});
    w.Press({20, 20});
    EXPECT_TRUE(w.button->PressTracked());
    EXPECT_TRUE(w.button->MouseHeld());
    EXPECT_TRUE(w.button->PressedLook());
    QTest::mouseMove(w.button, QPoint(22, 21));
    w.Release({22, 21});
    // The click comes while the button still looks pressed, before the release handling.
    EXPECT_EQ(r.log, (QStringList{"enter", "move 20,20", "down 0 20,20", "move 22,21",
                                  "click pressed", "up 0 22,21"}));
    EXPECT_FALSE(w.button->PressTracked());
    EXPECT_FALSE(w.button->MouseHeld());
    EXPECT_FALSE(w.button->PressedLook());
    EXPECT_TRUE(w.button->MouseInside());
}

TEST(TransparentButtonInput, DraggingOffShowsReleasedAndRaisesNoClick) {
    ButtonWindow w;
    Recorder r(w.button);
    w.Hover();
    w.Press();
    QTest::mouseMove(w.button, QPoint(60, 20));
    EXPECT_FALSE(w.button->PressedLook());
    EXPECT_FALSE(w.button->MouseInside());
    EXPECT_EQ(w.Pixel(w.Look(), 0, 0), kParent);
    QTest::mouseMove(w.button, QPoint(25, 20));
    EXPECT_TRUE(w.button->PressedLook());
    EXPECT_TRUE(w.button->MouseInside());
    QTest::mouseMove(w.button, QPoint(20, 45));
    w.Release({20, 45});
    EXPECT_EQ(r.Count("click"), 0);
    EXPECT_EQ(r.Count("up"), 1);
    EXPECT_EQ(r.Count("enter"), 2);
    EXPECT_EQ(r.Count("exit"), 2);
    EXPECT_FALSE(w.button->PressTracked());
}

TEST(TransparentButtonInput, ADownButtonStaysPressedAndStillClicks) {
    ButtonWindow w;
    Recorder r(w.button);
    w.button->SetDown(true);
    EXPECT_TRUE(w.button->PressedLook());
    EXPECT_TRUE(w.button->MouseHeld());
    EXPECT_FALSE(w.button->PressTracked());
    w.Hover();
    w.Press();
    w.Release();
    EXPECT_EQ(r.Count("click"), 1);
    EXPECT_EQ(r.Count("up"), 0);
    EXPECT_TRUE(w.button->PressedLook());
    EXPECT_FALSE(w.button->PressTracked());
    w.button->SetDown(false);
    EXPECT_FALSE(w.button->PressedLook());
    EXPECT_FALSE(w.button->MouseHeld());
}

TEST(TransparentButtonInput, RightButtonPressesButNeverClicks) {
    ButtonWindow w;
    Recorder r(w.button);
    w.Hover();
    w.Press({20, 20}, Qt::RightButton);
    EXPECT_TRUE(w.button->PressedLook());
    QTest::mouseMove(w.button, QPoint(60, 20));
    EXPECT_FALSE(w.button->PressedLook());
    QTest::mouseMove(w.button, QPoint(20, 20));
    w.Release({20, 20}, Qt::RightButton);
    EXPECT_EQ(r.Count("down 1"), 1);
    EXPECT_EQ(r.Count("up 1"), 1);
    EXPECT_EQ(r.Count("click"), 0);
    EXPECT_FALSE(w.button->PressedLook());
    EXPECT_FALSE(w.button->PressTracked());
}

TEST(TransparentButtonInput, ASecondButtonIsIgnoredAndTheFirstReleaseEndsTracking) {
    ButtonWindow w;
    Recorder r(w.button);
    w.Hover();
    SendMouse(w.button, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w.button, QEvent::MouseButtonPress, {20, 20}, Qt::RightButton,
              Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(r.Count("down"), 1);
    SendMouse(w.button, QEvent::MouseButtonRelease, {20, 20}, Qt::RightButton, Qt::LeftButton);
    EXPECT_FALSE(w.button->PressTracked());
    EXPECT_FALSE(w.button->PressedLook());
    SendMouse(w.button, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(r.Count("up"), 1);
}

TEST(TransparentButtonInput, TheSecondPressOfADoubleClickIsAnOrdinaryPress) {
    ButtonWindow w;
    Recorder r(w.button);
    w.Hover();
    SendMouse(w.button, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w.button, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    SendMouse(w.button, QEvent::MouseButtonDblClick, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w.button, QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(r.log, (QStringList{"enter", "move 20,20", "down 0 20,20", "click pressed",
                                  "up 0 20,20", "down 0 20,20", "click pressed", "up 0 20,20"}));
}

namespace {

// Closes the popup menu once it is open, noting where it opened.
void ClosePopupWhenOpen(QPoint* openedAt) {
    QTimer::singleShot(10, [openedAt] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) {
            ClosePopupWhenOpen(openedAt);
            return;
        }
        *openedAt = popup->pos();
        popup->close();
    });
}

} // namespace

TEST(TransparentButtonInput, AnyPressOpensThePopupMenuAndRaisesNoClick) {
    for (Qt::MouseButton which : {Qt::LeftButton, Qt::RightButton}) {
        ButtonWindow w;
        Recorder r(w.button);
        TPopupMenu menu;
        auto* item = new TMenuItem;
        item->SetCaption(QStringLiteral("Položka"));
        menu.Items()->Add(item);
        w.button->SetPopUpMenu(&menu);
        QPoint openedAt(-1, -1);
        ClosePopupWhenOpen(&openedAt);
        w.Hover();
        w.Press({20, 20}, which);
        EXPECT_EQ(openedAt, w.button->mapToGlobal(QPoint(0, 40)));
        EXPECT_FALSE(w.button->PressedLook());
        EXPECT_FALSE(w.button->PressTracked());
        w.Release({20, 20}, which);
        EXPECT_EQ(r.Count("click"), 0);
        EXPECT_EQ(r.Count("down"), 1);
        EXPECT_EQ(r.Count("up"), 1);
    }
}

TEST(TransparentButtonInput, ADestroyedPopupMenuIsForgotten) {
    ButtonWindow w;
    Recorder r(w.button);
    auto* menu = new TPopupMenu;
    w.button->SetPopUpMenu(menu);
    delete menu;
    EXPECT_EQ(w.button->PopUpMenu(), nullptr);
    w.Hover();
    w.Press();
    w.Release();
    EXPECT_EQ(r.Count("click"), 1);
}

TEST(TransparentButtonInput, AMovableButtonFollowsThePointer) {
    ButtonWindow w;
    w.button->SetMovable(true);
    w.Hover({10, 10});
    w.Press({10, 10});
    QTest::mouseMove(w.button, QPoint(15, 13));
    EXPECT_EQ(w.button->pos(), QPoint(15, 13));
    QTest::mouseMove(w.button, QPoint(8, 10));
    EXPECT_EQ(w.button->pos(), QPoint(13, 13));
    w.Release({10, 10});
    QTest::mouseMove(w.button, QPoint(30, 30));
    EXPECT_EQ(w.button->pos(), QPoint(13, 13));
}

TEST(TransparentButtonInput, TheCaptionsAcceleratorClicksTheButton) {
    struct Case {
        const char* caption;
        const char* typed;
        bool enabled;
        Qt::KeyboardModifiers modifiers;
        int clicks;
    };
    const Case cases[] = {
        {"&Play", "p", true, {}, 1},
        {"&Play", "P", true, {}, 1},
        {"&Play", "p", true, Qt::AltModifier, 1},
        {"&Play", "p", true, Qt::ControlModifier, 0},
        {"&Play", "l", true, {}, 0},
        {"Pl&ay", "A", true, {}, 1},
        {"&Šum", "š", true, {}, 1},
        {"&Play", "p", false, {}, 0},
        {"Play&", "p", true, {}, 0},
        {"Play", "p", true, {}, 0},
    };
    for (const Case& c : cases) {
        ButtonWindow w;
        Recorder r(w.button);
        w.button->SetCaption(QString::fromUtf8(c.caption));
        w.button->SetEnabled(c.enabled);
        TypeText(&w.window, QString::fromUtf8(c.typed), c.modifiers);
        EXPECT_EQ(r.Count("click"), c.clicks) << c.caption << " " << c.typed;
    }
}

TEST(TransparentButtonInput, AcceleratorKeysTheFocusedControlUsesDoNotClick) {
    ButtonWindow w;
    Recorder r(w.button);
    w.button->SetCaption(QStringLiteral("&Play"));
    auto* edit = new QLineEdit(&w.window);
    edit->setGeometry(60, 60, 60, 20);
    edit->show();
    TypeText(edit, QStringLiteral("p"));
    EXPECT_EQ(edit->text(), "p");
    EXPECT_EQ(r.Count("click"), 0);
}

TEST(TransparentButtonInput, ButtonsInADisabledPanelTakeNoInput) {
    ButtonWindow w;
    auto* panel = new QWidget(&w.window);
    panel->setGeometry(60, 0, 60, 60);
    w.button->setParent(panel);
    w.button->SetBounds(5, 5, 40, 40);
    w.button->SetCaption(QStringLiteral("&Play"));
    w.button->SetGlyphImage(TestGlyph());
    panel->show();
    w.button->show();
    Recorder r(w.button);
    auto look = [&] { return w.window.grab().toImage().copy(65, 5, 40, 40); };
    w.Hover();
    ASSERT_TRUE(w.button->MouseInside());
    EXPECT_EQ(look().pixel(4 + 8, 4 + 8) & 0xFFFFFF, kRed);
    // Disabling the panel under the pointer lets the button go, as a handler of its own click
    // does after a delete.
    panel->setEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.button->MouseInside());
    EXPECT_TRUE(w.button->Enabled());
    w.Away();
    w.Hover();
    w.Press();
    w.Release();
    TypeText(&w.window, QStringLiteral("p"));
    EXPECT_EQ(r.log, (QStringList{"enter", "move 20,20", "exit"}));
    // Its look is that of an enabled button: the gray glyph, not the embossed one.
    EXPECT_EQ(look().pixel(4 + 8, 4 + 8) & 0xFFFFFF, Gray(28));

    panel->setEnabled(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.button->MouseInside());
    EXPECT_EQ(look().pixel(4 + 8, 4 + 8) & 0xFFFFFF, kRed);
}

TEST(TransparentButtonInput, HiddenButtonsIgnoreTheirAccelerator) {
    ButtonWindow w;
    Recorder r(w.button);
    w.button->SetCaption(QStringLiteral("&Play"));
    w.button->SetVisible(false);
    TypeText(&w.window, QStringLiteral("p"));
    EXPECT_EQ(r.Count("click"), 0);
}

TEST(TransparentButtonInput, DisablingAHoveredPressedButtonClearsItsState) {
    ButtonWindow w;
    Recorder r(w.button);
    w.button->SetGlyphImage(TestGlyph());
    w.Hover();
    w.Press();
    ASSERT_TRUE(w.button->PressedLook());
    ASSERT_TRUE(w.button->MouseInside());
    w.button->SetEnabled(false);
    EXPECT_FALSE(w.button->PressedLook());
    EXPECT_FALSE(w.button->MouseHeld());
    EXPECT_FALSE(w.button->PressTracked());
    EXPECT_FALSE(w.button->MouseInside());
    const QImage look = w.Look();
    EXPECT_EQ(w.Pixel(look, 0, 0), kParent);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), kShadow);
    r.log.clear();
    w.Release();
    w.Away();
    w.Hover();
    EXPECT_TRUE(r.log.isEmpty()) << r.log.join(", ").toStdString();
    w.button->SetEnabled(true);
    w.Away();
    w.Hover();
    EXPECT_EQ(r.Count("enter"), 1);
}

TEST(TransparentButtonInput, NumGlyphsFollowsTheGlyphsWidth) {
    struct Case {
        int width;
        int before;
        int after;
    };
    const Case cases[] = {
        {32, 3, 1}, {64, 1, 2}, {96, 1, 3}, {128, 1, 4}, {160, 3, 1}, {100, 3, 3}, {100, 1, 1},
    };
    for (const Case& c : cases) {
        TTransparentButton button;
        button.SetNumGlyphs(c.before);
        QImage glyph(c.width, 32, QImage::Format_RGB32);
        glyph.fill(Qt::white);
        button.SetGlyphImage(glyph);
        EXPECT_EQ(button.NumGlyphs(), c.after) << c.width;
        EXPECT_EQ(button.GlyphImages().Count(), c.after + 2) << c.width;
        EXPECT_EQ(button.GlyphImages().Width(), c.width / c.after) << c.width;
        EXPECT_EQ(button.GlyphImages().Height(), 32) << c.width;
    }
}

TEST(TransparentButtonInput, NumGlyphsStaysInItsRangeAndEmptyGlyphsChangeNothing) {
    TTransparentButton button;
    button.SetGlyphImage(BlockGlyph({kRed, kGreen}));
    ASSERT_EQ(button.GlyphImages().Count(), 4);
    button.SetGlyphImage(QImage());
    EXPECT_EQ(button.NumGlyphs(), 2);
    EXPECT_EQ(button.GlyphImages().Count(), 4);
    button.SetNumGlyphs(0);
    EXPECT_EQ(button.NumGlyphs(), 1);
    button.SetNumGlyphs(9);
    EXPECT_EQ(button.NumGlyphs(), 4);
}

TEST(TransparentButtonInput, DrawingIntoTheGlyphPreparesTheImagesAgain) {
    TTransparentButton button;
    button.SetGlyphImage(BlockGlyph({kRed}));
    button.Glyph().Image().fill(Qt::blue);
    button.Glyph().Image().setPixel(0, 31, qRgb(255, 255, 255));
    button.Glyph().Changed();
    EXPECT_EQ(button.GrayGlyph().Image().pixel(16, 16) & 0xFFFFFF, Gray(76));
    EXPECT_EQ(qAlpha(button.GlyphImages().MaskedImage(0).pixel(0, 31)), 0);
    EXPECT_EQ(button.GlyphImages().MaskedImage(0).pixel(16, 16), 0xFF0000FFu);
}

TEST(TransparentButtonInput, EachImageIsMaskedByItsOwnBottomLeftColour) {
    // Bottom-left green (gray 150); a gray pixel of that same level; a red pixel.
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    glyph.setPixel(0, 3, qRgb(0, 255, 0));
    glyph.setPixel(1, 1, qRgb(150, 150, 150));
    glyph.setPixel(2, 2, qRgb(255, 0, 0));
    TTransparentButton button;
    button.SetGlyphImage(glyph);
    const TImageList& images = button.GlyphImages();
    ASSERT_EQ(images.Count(), 3);
    auto opaque = [&](int index, int x, int y) {
        return qAlpha(images.MaskedImage(index).pixel(x, y)) != 0;
    };
    EXPECT_FALSE(opaque(0, 0, 3));
    EXPECT_TRUE(opaque(0, 1, 1));
    EXPECT_TRUE(opaque(0, 0, 0)); // white is opaque here: it is not the key
    EXPECT_FALSE(opaque(1, 0, 3));
    EXPECT_FALSE(opaque(1, 1, 1)); // same gray as the key
    EXPECT_TRUE(opaque(1, 2, 2));
    EXPECT_EQ(button.GrayGlyph().Image().pixel(2, 2) & 0xFFFFFF, Gray(28));
}

TEST(TransparentButtonInput, PropertiesAreReachableByName) {
    TTransparentButton button;
    EXPECT_TRUE(button.setProperty("Glyph", BlockGlyph({kRed, kGreen, kBlue})));
    EXPECT_TRUE(button.setProperty("FrameStyle", "fsMono"));
    EXPECT_TRUE(button.setProperty("TextAlign", "ttaBottomLeft"));
    EXPECT_TRUE(button.setProperty("BorderWidth", 4u));
    EXPECT_TRUE(button.setProperty("Hint", QStringLiteral("Smazat soubor")));
    EXPECT_EQ(button.NumGlyphs(), 3);
    EXPECT_EQ(button.FrameStyle(), TTransparentButton::fsMono);
    EXPECT_EQ(button.TextAlign(), TTransparentButton::ttaBottomLeft);
    EXPECT_EQ(button.BorderWidth(), 4u);
    EXPECT_EQ(button.Hint(), "Smazat soubor");
    EXPECT_EQ(button.property("Glyph").value<QImage>().width(), 96);
}

TEST(TransparentButtonInput, NewButtonHasItsInitialValues) {
    TTransparentButton button;
    EXPECT_EQ(button.geometry(), QRect(0, 0, 40, 40));
    EXPECT_EQ(button.NumGlyphs(), 1);
    EXPECT_TRUE(button.AutoGray());
    EXPECT_TRUE(button.ShowPressed());
    EXPECT_TRUE(button.Transparent());
    EXPECT_EQ(button.BorderWidth(), 1u);
    EXPECT_EQ(button.Spacing(), 2);
    EXPECT_EQ(button.TextAlign(), TTransparentButton::ttaCenter);
    EXPECT_EQ(button.FrameStyle(), TTransparentButton::fsExplorer);
    EXPECT_FALSE(button.Down());
    EXPECT_FALSE(button.Movable());
    EXPECT_FALSE(button.WordWrap());
    EXPECT_TRUE(button.Caption().isEmpty());
    EXPECT_TRUE(button.Glyph().Empty());
    EXPECT_EQ(button.PopUpMenu(), nullptr);
    EXPECT_EQ(button.GlyphImages().Width(), 40);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

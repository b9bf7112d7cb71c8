#include "framework/TPanel.h"
#include "framework/TStaticText.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kFace = 0xFFC0C0C0;
constexpr QRgb kShadow = 0xFF808080;
constexpr QRgb kHighlight = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

struct Probe {
    int x, y;
    QRgb color;
};

} // namespace

TEST(PanelBevels, RingsFromOutsideIn) {
    const struct {
        const char* name;
        TPanel::TBevelCut outer, inner;
        int bevelWidth, borderWidth;
        TColor color;
        std::vector<Probe> probes; // on a 40 x 20 panel
    } cases[] = {
        {"raised outer only",
         TPanel::bvRaised,
         TPanel::bvNone,
         1,
         0,
         clBtnFace,
         {{0, 0, kHighlight},
          {38, 0, kHighlight},
          {39, 0, kShadow},
          {0, 18, kHighlight},
          {0, 19, kShadow},
          {39, 19, kShadow},
          {1, 1, kFace},
          {38, 18, kFace}}},
        {"raised outer, lowered inner (main window panels)",
         TPanel::bvRaised,
         TPanel::bvLowered,
         1,
         0,
         clBtnFace,
         {{0, 0, kHighlight},
          {39, 10, kShadow},
          {1, 1, kShadow},
          {37, 1, kShadow},
          {38, 1, kHighlight},
          {1, 18, kHighlight},
          {38, 18, kHighlight},
          {2, 2, kFace}}},
        {"lowered outer, raised inner in the window colour (about box)",
         TPanel::bvLowered,
         TPanel::bvRaised,
         1,
         0,
         clWindow,
         {{0, 0, kShadow},
          {39, 0, kHighlight},
          {0, 19, kHighlight},
          {1, 1, kHighlight},
          {38, 18, kShadow},
          {2, 2, kHighlight},
          {20, 10, kHighlight}}},
        {"border between the bevels, two pixels wide bevels",
         TPanel::bvLowered,
         TPanel::bvLowered,
         2,
         1,
         clWindow,
         {{0, 0, kShadow},
          {1, 1, kShadow},
          {2, 2, kHighlight},
          {3, 3, kShadow},
          {4, 4, kShadow},
          {36, 4, kHighlight},
          {35, 15, kHighlight},
          {5, 5, kHighlight}}},
        {"no bevels",
         TPanel::bvNone,
         TPanel::bvNone,
         1,
         0,
         clBtnFace,
         {{0, 0, kFace}, {39, 19, kFace}}},
    };
    for (const auto& c : cases) {
        TPanel panel;
        panel.resize(40, 20);
        panel.SetBevelOuter(c.outer);
        panel.SetBevelInner(c.inner);
        panel.SetBevelWidth(c.bevelWidth);
        panel.SetBorderWidth(c.borderWidth);
        panel.SetColor(c.color);
        const QImage image = Render(panel);
        for (const Probe& p : c.probes)
            EXPECT_EQ(image.pixel(p.x, p.y), p.color)
                << c.name << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST(PanelEnabled, ADisabledPanelKeepsItsChildrensOwnFlags) {
    TPanel panel;
    TPanel child(&panel);
    panel.SetEnabled(false);
    EXPECT_FALSE(child.isEnabled()) << "no input reaches a control on a disabled panel";
    EXPECT_TRUE(child.Enabled()) << "but its own flag is still set";
    panel.SetEnabled(true);
    child.SetEnabled(false);
    EXPECT_FALSE(child.Enabled());
}

TEST(StaticTextBorder, SunkenSingleAndNone) {
    const struct {
        TStaticText::TStaticBorderStyle style;
        std::vector<Probe> probes; // on a 140 x 20 text
    } cases[] = {
        {TStaticText::sbsSunken,
         {{0, 0, kShadow},
          {138, 0, kShadow},
          {139, 0, kHighlight},
          {0, 18, kShadow},
          {0, 19, kHighlight},
          {139, 19, kHighlight},
          {1, 1, kFace}}},
        {TStaticText::sbsSingle, {{0, 0, kBlack}, {139, 19, kBlack}, {1, 1, kFace}}},
        {TStaticText::sbsNone, {{0, 0, kFace}, {139, 19, kFace}}},
    };
    for (const auto& c : cases) {
        TStaticText text;
        text.SetAutoSize(false);
        text.resize(140, 20);
        text.SetBorderStyle(c.style);
        const QImage image = Render(text);
        for (const Probe& p : c.probes)
            EXPECT_EQ(image.pixel(p.x, p.y), p.color)
                << "style " << c.style << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST(StaticTextCaption, IsCentredInTheFontColourAndAutoSizeFitsTheBorder) {
    TStaticText text;
    text.SetBorderStyle(TStaticText::sbsSunken);
    text.SetCaption("1234 Kb");
    const QFontMetrics metrics(text.font());
    EXPECT_EQ(text.size(), QSize(metrics.horizontalAdvance("1234 Kb") + 2, metrics.height() + 2));

    text.SetAutoSize(false);
    text.resize(140, 20);
    text.SetAlignment(TStaticText::taCenter);
    QFont bold = text.font();
    bold.setPixelSize(16);
    bold.setBold(true);
    text.setFont(bold);
    QPalette palette = text.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    text.setPalette(palette);
    const QImage image = Render(text);
    int left = 140, right = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 140; ++x)
            if (image.pixel(x, y) == 0xFFFF0000) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    ASSERT_GE(right, 0) << "no red text drawn";
    EXPECT_NEAR(left - 1, 138 - right, 2) << "the text is centred between the borders";
    EXPECT_NEAR(right + 1 - left, QFontMetrics(bold).horizontalAdvance("1234 Kb"), 3)
        << "the text is drawn in the control's own font";
}

TEST(StaticTextLoaded, AutoSizeWinsOverTheStoredSize) {
    TStaticText text;
    text.SetCaption("0 Kb");
    text.resize(140, 20);
    text.Loaded();
    EXPECT_EQ(text.width(), QFontMetrics(text.font()).horizontalAdvance("0 Kb"));
}

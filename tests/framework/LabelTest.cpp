#include "framework/TLabel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QToolTip>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kParent = 0xFF30A060; // a colour no label draws by itself

// A shown parent painted in a colour of its own, so that what a label leaves undrawn shows.
struct Surface {
    Surface() {
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(kParent));
        parent.setPalette(palette);
        parent.resize(200, 80);
        label = new TLabel(&parent);
        label->Font().SetName("MS Sans Serif");
        label->Font().SetHeight(-11);
        label->Font().SetColor(clBlack);
        parent.show();
    }
    QImage Render() { return label->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QFontMetrics Metrics() const { return QFontMetrics(label->Font().ToQFont()); }

    QWidget parent;
    TLabel* label;
};

int CountColor(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return count;
}

// Rows holding at least one pixel of the colour: first and last, or -1.
std::pair<int, int> RowsWith(const QImage& image, QRgb color) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) {
                if (first < 0)
                    first = y;
                last = y;
            }
    return {first, last};
}

} // namespace

TEST(TLabel, NewLabelHasTheStandardValues) {
    TLabel label;
    EXPECT_EQ(label.Caption(), "");
    EXPECT_TRUE(label.AutoSize());
    EXPECT_FALSE(label.Transparent());
    EXPECT_FALSE(label.WordWrap());
    EXPECT_TRUE(label.ShowAccelChar());
    EXPECT_TRUE(label.ParentColor());
    EXPECT_TRUE(label.ParentFont());
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    EXPECT_EQ(label.Layout(), tlTop);
    EXPECT_EQ(label.Width(), 65);
    EXPECT_EQ(label.Height(), 17);
}

TEST(TLabel, AutoSizeFitsTheShownText) {
    struct Case {
        const char* caption;
        bool showAccelChar;
        const char* measured; // the text whose extent the label takes
    };
    const Case cases[] = {
        {"Hello", true, "Hello"}, {"&File", true, "File"}, {"&File", false, "&File"},
        {"a&&b", true, "a&b"},    {"", true, " "},         {"&", true, " "},
    };
    for (const Case& c : cases) {
        Surface s;
        s.label->SetShowAccelChar(c.showAccelChar);
        s.label->SetCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(s.label->Width(), s.Metrics().horizontalAdvance(QString::fromUtf8(c.measured)))
            << c.caption;
        EXPECT_EQ(s.label->Height(), s.Metrics().height()) << c.caption;
    }
}

TEST(TLabel, AutoSizeFollowsFontAndLineBreaks) {
    Surface s;
    s.label->SetCaption("one\ntwo lines");
    EXPECT_EQ(s.label->Height(), 2 * s.Metrics().height());
    EXPECT_EQ(s.label->Width(), s.Metrics().horizontalAdvance("two lines"));
    s.label->Font().SetHeight(-20);
    EXPECT_EQ(s.label->Height(), 2 * s.Metrics().height());
    EXPECT_EQ(s.label->Width(), s.Metrics().horizontalAdvance("two lines"));
}

TEST(TLabel, RightJustifiedAutoSizeKeepsTheRightEdge) {
    Surface s;
    s.label->SetAutoSize(false);
    s.label->SetBounds(20, 5, 100, 17);
    s.label->SetAlignment(taRightJustify);
    s.label->SetCaption("abc");
    s.label->SetAutoSize(true);
    EXPECT_EQ(s.label->Left() + s.label->Width(), 120);
    EXPECT_EQ(s.label->Width(), s.Metrics().horizontalAdvance("abc"));
}

TEST(TLabel, WordWrapBreaksWithinTheWidth) {
    Surface s;
    s.label->SetAutoSize(false);
    s.label->SetWidth(80);
    s.label->SetWordWrap(true);
    s.label->SetCaption("several short words that cannot fit on one line");
    s.label->SetAutoSize(true);
    EXPECT_LE(s.label->Width(), 80);
    EXPECT_GT(s.label->Width(), 0);
    EXPECT_GE(s.label->Height(), 3 * s.Metrics().height());
    EXPECT_EQ(s.label->Height() % s.Metrics().height(), 0);
}

TEST(TLabel, WithoutAutoSizeTheBoundsStay) {
    Surface s;
    s.label->SetAutoSize(false);
    s.label->SetBounds(1, 2, 30, 40);
    s.label->SetCaption("a long caption that does not fit");
    EXPECT_EQ(s.label->geometry(), QRect(1, 2, 30, 40));
}

TEST(TLabel, BackgroundIsTheParentsUnlessAColourIsSet) {
    struct Case {
        bool setColor;
        bool transparent;
        QRgb background;
    };
    const Case cases[] = {
        {false, false, kParent},
        {false, true, kParent},
        {true, false, 0xFF00FFFF}, // clAqua
        {true, true, kParent},
    };
    for (const Case& c : cases) {
        Surface s;
        s.label->SetAutoSize(false);
        s.label->SetBounds(0, 0, 60, 20);
        if (c.setColor)
            s.label->SetColor(clAqua);
        s.label->SetTransparent(c.transparent);
        EXPECT_EQ(s.label->ParentColor(), !c.setColor);
        const QImage image = s.Render();
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, c.background & 0xFFFFFF);
        EXPECT_EQ(image.pixel(59, 19) & 0xFFFFFF, c.background & 0xFFFFFF);
    }
}

TEST(TLabel, TextIsDrawnInTheFontColour) {
    Surface s;
    s.label->Font().SetColor(clRed);
    s.label->SetCaption("Text");
    const QImage image = s.Render();
    EXPECT_GT(CountColor(image, 0xFF0000), 10);
    EXPECT_EQ(CountColor(image, 0xFF0000) + CountColor(image, kParent),
              image.width() * image.height());
}

TEST(TLabel, DisabledTextIsEmbossed) {
    Surface s;
    s.label->SetCaption("Text");
    s.label->SetEnabled(false);
    const QImage image = s.Render();
    const int shadow = CountColor(image, 0x808080);
    const int highlight = CountColor(image, 0xFFFFFF);
    EXPECT_GT(shadow, 10);
    EXPECT_GT(highlight, 0);
    EXPECT_EQ(CountColor(image, 0x000000), 0);
    // The highlight copy lies one pixel right and down, so it starts one row lower.
    EXPECT_EQ(RowsWith(image, 0xFFFFFF).first, RowsWith(image, 0x808080).first + 1);
}

TEST(TLabel, LayoutPlacesTheTextVertically) {
    Surface s;
    s.label->Font().SetColor(clBlack);
    s.label->SetCaption("Xy");
    const int lineHeight = s.Metrics().height();
    s.label->SetAutoSize(false);
    s.label->SetHeight(lineHeight + 20);
    const auto top = RowsWith(s.Render(), 0x000000);
    s.label->SetLayout(tlCenter);
    const auto centre = RowsWith(s.Render(), 0x000000);
    s.label->SetLayout(tlBottom);
    const auto bottom = RowsWith(s.Render(), 0x000000);
    EXPECT_EQ(centre.first - top.first, 10);
    EXPECT_EQ(bottom.first - top.first, 20);
}

TEST(TLabel, AlignmentPlacesTheTextHorizontally) {
    Surface s;
    s.label->SetCaption("I");
    const int textWidth = s.label->Width();
    s.label->SetAutoSize(false);
    s.label->SetWidth(textWidth + 40);
    auto firstColumn = [&] {
        const QImage image = s.Render();
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0)
                    return x;
        return -1;
    };
    const int left = firstColumn();
    s.label->SetAlignment(taCenter);
    EXPECT_EQ(firstColumn() - left, 20);
    s.label->SetAlignment(taRightJustify);
    EXPECT_EQ(firstColumn() - left, 40);
}

TEST(TLabel, ParentFontFollowsTheParentUntilTheFontIsSet) {
    QWidget parent;
    QFont parentFont("DejaVu Sans");
    parentFont.setPixelSize(17);
    parent.setFont(parentFont);
    TLabel label(&parent);
    EXPECT_TRUE(label.ParentFont());
    EXPECT_EQ(label.Font().Height(), -17);

    parentFont.setPixelSize(19);
    parentFont.setBold(true);
    parent.setFont(parentFont);
    EXPECT_EQ(label.Font().Height(), -19);
    EXPECT_TRUE(label.Font().HasStyle(TFontStyle::fsBold));

    label.Font().SetHeight(-12);
    EXPECT_FALSE(label.ParentFont());
    parentFont.setPixelSize(25);
    parent.setFont(parentFont);
    EXPECT_EQ(label.Font().Height(), -12);
    EXPECT_EQ(label.font().pixelSize(), 12);

    // Following the parent again takes its whole font, colour included.
    label.Font().SetColor(clRed);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::red));
    label.SetParentFont(true);
    EXPECT_EQ(label.Font().Height(), -25);
    EXPECT_EQ(ToQColor(label.Font().Color()), parent.palette().color(QPalette::WindowText));
}

TEST(TLabel, OwnEnabledStaysWhenTheParentIsDisabled) {
    QWidget parent;
    TLabel label(&parent);
    parent.setEnabled(false);
    EXPECT_TRUE(label.Enabled());
    EXPECT_FALSE(label.isEnabled());
    label.SetEnabled(false);
    parent.setEnabled(true);
    EXPECT_FALSE(label.Enabled());
    EXPECT_FALSE(label.isEnabled());
    label.SetEnabled(true);
    EXPECT_TRUE(label.isEnabled());
}

TEST(TLabel, HintsShowAsTheParentOrTheLabelSays) {
    QWidget parent;
    TLabel label(&parent);
    label.SetHint("Short|long");
    EXPECT_FALSE(label.ShowHint());
    parent.setProperty("ShowHint", true);
    EXPECT_TRUE(label.ShowHint());
    label.SetShowHint(false);
    EXPECT_FALSE(label.ParentShowHint());
    EXPECT_FALSE(label.ShowHint());
    label.SetShowHint(true);
    EXPECT_TRUE(label.ShowHint());
    EXPECT_EQ(label.Hint(), "Short|long");

    parent.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), label.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&label, &help);
    EXPECT_EQ(QToolTip::text(), "Short");
    QToolTip::hideText();
}

TEST(TLabel, PropertiesAreReachableByName) {
    TLabel label;
    EXPECT_TRUE(label.setProperty("Caption", "abc"));
    EXPECT_TRUE(label.setProperty("Alignment", "taCenter"));
    EXPECT_TRUE(label.setProperty("Layout", "tlBottom"));
    EXPECT_TRUE(label.setProperty("WordWrap", true));
    EXPECT_TRUE(label.setProperty("Color", QVariant::fromValue<uint>(clWindow)));
    EXPECT_TRUE(label.setProperty("Left", 7));
    EXPECT_EQ(label.Caption(), "abc");
    EXPECT_EQ(label.Alignment(), taCenter);
    EXPECT_EQ(label.Layout(), tlBottom);
    EXPECT_TRUE(label.WordWrap());
    EXPECT_EQ(label.Color(), clWindow);
    EXPECT_EQ(label.Left(), 7);
}

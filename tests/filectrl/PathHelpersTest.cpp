#include "filectrl/PathHelpers.h"

#include "framework/Exceptions.h"
#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

struct PieceCase {
    const char* path;
    const char* drive;
    const char* last;
    const char* directory;
    const char* extension;
};

class Drives : public ::testing::Test {
protected:
    Drives()
        : drives({{'C', "c"},
                  {'D', "d"},
                  {'E', "e", "cdrom", "", true},
                  {'N', "n", "remote", "\\\\srv\\sh"}}) {
        drives.MakeDirectory('C', "WINDOWS/MEDIA");
        drives.MakeDirectory('C', "WINDOWS/SUB");
        drives.MakeFile('C', "WINDOWS/ding.wav", "RIFF");
        drives.MakeDirectory('D', "zvuky");
        drives.MakeDirectory('N', "dir");
    }
    TempDrives drives;
};

} // namespace

TEST(PathPieces, SplitDrivesNamesDirectoriesAndExtensions) {
    const PieceCase cases[] = {
        {"C:\\WINDOWS\\ding.wav", "C:", "ding.wav", "C:\\WINDOWS\\", ".wav"},
        {"C:\\", "C:", "", "C:\\", ""},
        {"C:ding", "C:", "ding", "C:", ""},
        {"\\\\srv\\sh\\dir\\a.b.c", "\\\\srv\\sh", "a.b.c", "\\\\srv\\sh\\dir\\", ".c"},
        {"\\\\srv\\sh", "\\\\srv\\sh", "sh", "\\\\srv\\", ""},
        {"dir.d\\name", "", "name", "dir.d\\", ""},
        {"name", "", "name", "", ""},
        {"", "", "", "", ""},
    };
    for (const PieceCase& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(DrivePart(path), QString::fromUtf8(c.drive)) << c.path;
        EXPECT_EQ(LastComponent(path), QString::fromUtf8(c.last)) << c.path;
        EXPECT_EQ(DirectoryPart(path), QString::fromUtf8(c.directory)) << c.path;
        EXPECT_EQ(ExtensionOf(path), QString::fromUtf8(c.extension)) << c.path;
    }
    EXPECT_EQ(RootOf("C:\\A\\B"), "C:\\");
    EXPECT_EQ(RootOf("\\\\srv\\sh\\d"), "\\\\srv\\sh\\");
}

TEST(PathPieces, JoinAndDepth) {
    EXPECT_EQ(JoinPath("C:\\", "x.wav"), "C:\\x.wav");
    EXPECT_EQ(JoinPath("C:\\A", "x.wav"), "C:\\A\\x.wav");
    EXPECT_EQ(JoinPath("\\\\srv\\sh\\", "x"), "\\\\srv\\sh\\x");
    const std::pair<const char*, int> depths[] = {
        {"C:\\", 1}, {"C:\\A\\B", 2}, {"\\\\s\\sh\\d", 4}, {"C:", 0}};
    for (const auto& [path, depth] : depths)
        EXPECT_EQ(PathDepth(path), depth) << path;
}

TEST(PathPieces, FileNamesCompareByTheVolumesCaseRule) {
    EXPECT_TRUE(SameFileName("C:\\Zvuky", "c:\\ZVUKY", false));
    EXPECT_FALSE(SameFileName("C:\\Zvuky", "C:\\zvuky", true));
    EXPECT_TRUE(SameFileName("C:\\Zvuky", "c:\\Zvuky", true));
    EXPECT_FALSE(SameFileName("a", "b", false));
}

TEST_F(Drives, IsExistingDirectoryOnlyForReadableDirectories) {
    EXPECT_TRUE(IsExistingDirectory("C:\\WINDOWS"));
    EXPECT_TRUE(IsExistingDirectory("C:"));
    EXPECT_TRUE(IsExistingDirectory("\\\\srv\\sh\\dir"));
    EXPECT_FALSE(IsExistingDirectory("C:\\WINDOWS\\ding.wav"));
    EXPECT_FALSE(IsExistingDirectory("C:\\nowhere"));
    EXPECT_FALSE(IsExistingDirectory("E:\\"));
    EXPECT_FALSE(IsExistingDirectory("Q:\\"));
}

TEST_F(Drives, ChangeDirectoryRaisesThePlatformsErrorCode) {
    ChangeDirectory("C:\\WINDOWS");
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS");
    ChangeDirectory("MEDIA");
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS\\MEDIA");
    const std::pair<const char*, int> failures[] = {
        {"C:\\nowhere\\deeper", 3}, {"E:", 21}, {"Q:", 15}};
    for (const auto& [path, code] : failures) {
        try {
            ChangeDirectory(path);
            FAIL() << path;
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), code) << path;
        }
    }
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS\\MEDIA");
}

TEST_F(Drives, SplitPathEntryResolvesAndNeverMovesTheCurrentDirectory) {
    win32::SetCurrentDirectory("D:\\zvuky");
    win32::SetCurrentDirectory("C:\\WINDOWS");
    struct Case {
        const char* text;
        char drive;
        const char* directory;
        const char* file;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\MEDIA", 'C', "\\WINDOWS\\MEDIA", ""},
        {"C:\\WINDOWS\\MEDIA\\*.wav", 'C', "\\WINDOWS\\MEDIA", "*.wav"},
        {"C:\\WINDOWS\\ding.wav", 'C', "\\WINDOWS", "ding.wav"},
        {"C:\\", 'C', "\\", ""},
        {"D:", 'D', "\\zvuky", ""},
        {"[SUB]", 'C', "\\WINDOWS\\SUB", ""},
        {"MEDIA", 'C', "\\WINDOWS\\MEDIA", ""},
        {"\\\\srv\\sh\\dir", 0, "\\\\srv\\sh\\dir", ""},
        {"c:\\WINDOWS\\MEDIA\\x?.wav", 'c', "\\WINDOWS\\MEDIA", "x?.wav"},
    };
    for (const Case& c : cases) {
        const PathEntry entry = SplitPathEntry(QString::fromUtf8(c.text));
        EXPECT_EQ(entry.Drive, QChar(c.drive)) << c.text;
        EXPECT_EQ(entry.Directory, QString::fromUtf8(c.directory)) << c.text;
        EXPECT_EQ(entry.FilePart, QString::fromUtf8(c.file)) << c.text;
        EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS") << c.text;
    }
}

TEST_F(Drives, SplitPathEntryOfAMissingNameRaisesAndRestoresTheDirectory) {
    win32::SetCurrentDirectory("C:\\WINDOWS");
    for (const char* text :
         {"C:\\WINDOWS\\missing", "C:\\windows\\MEDIA", "C:\\nowhere\\x.wav", "E:\\x"}) {
        try {
            SplitPathEntry(QString::fromUtf8(text));
            FAIL() << text;
        } catch (const EInOutError& e) {
            EXPECT_TRUE(e.ErrorCode() == 2 || e.ErrorCode() == 3 || e.ErrorCode() == 21)
                << text << " " << e.ErrorCode();
        }
        EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS") << text;
    }
}

TEST(ShortenPath, DropsLeadingDirectoriesThenTheDriveDownToTheName) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    const QString path = "C:\\WINDOWS\\MEDIA\\SUB\\x";
    const QStringList steps = {
        path, "C:\\...\\MEDIA\\SUB\\x", "C:\\...\\SUB\\x", "C:\\...\\x", "...\\x", "x"};
    for (const QString& step : steps)
        EXPECT_EQ(ShortenPathToWidth(path, canvas, canvas.TextWidth(step)), step);
    EXPECT_EQ(ShortenPathToWidth(path, canvas, 0), "x") << "even a name too wide stays";
    EXPECT_EQ(ShortenPathToWidth("x", canvas, 0), "x");
}

TEST(ShortenPath, DropFirstDirectorySteps) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\", ""},
        {"\\A\\B\\", "\\...\\B\\"},
        {"\\...\\B\\C\\", "\\...\\C\\"},
        {"\\...\\B\\", "\\...\\"},
        {"...\\", ""},
        {"A\\B\\", "...\\B\\"},
        {"A", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DropFirstDirectory(in), QString::fromUtf8(out)) << in;
}

TEST(EntryGlyph, CentredVerticallyWithItsKeyColourInTheBrushColour) {
    TBitmap glyph(3, 4);
    glyph.Image().fill(QColor(0, 0, 255));
    glyph.SetPixel(1, 1, clRed);
    struct Case {
        TRect rect;
        int top;
    };
    const Case cases[] = {{{0, 0, 10, 10}, 3}, {{0, 5, 10, 16}, 8}, {{0, 0, 10, 4}, 0}};
    for (const Case& c : cases) {
        QImage image(12, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            TCanvas canvas(&image);
            canvas.Brush.Color = clHighlight;
            DrawEntryGlyph(canvas, c.rect, glyph, 4);
        }
        EXPECT_EQ(QColor(image.pixel(4, c.top)), QColor(0, 0, 128)) << c.top;
        EXPECT_EQ(QColor(image.pixel(5, c.top + 1)), QColor(255, 0, 0)) << c.top;
        EXPECT_EQ(QColor(image.pixel(6, c.top + 3)), QColor(0, 0, 128)) << c.top;
        EXPECT_EQ(QColor(image.pixel(4, c.top + 4)), QColor(255, 255, 255)) << c.top;
        EXPECT_EQ(QColor(image.pixel(3, c.top)), QColor(255, 255, 255)) << c.top;
    }
}

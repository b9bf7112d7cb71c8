// The hint of a file list entry: what the sound under the pointer is, read from its header.
#include "filectrl/TFileListBox.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/audition/WavVariants.h"

#include <QAccessible>
#include <QFile>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <map>
#include <sndfile.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// What the hint tells of each variant the audition benchmark plays, by its file.
const std::map<std::string, const char*> kVariantHints = {
    {"v_u8.wav", "0:00,50 · 8 kHz · 8 bitů · mono"},
    {"v_16.wav", "0:00,50 · 22,05 kHz · 16 bitů · stereo"},
    {"v_24.wav", "0:00,50 · 96 kHz · 24 bitů · stereo"},
    {"v_32.wav", "0:00,50 · 44,1 kHz · 32 bitů · stereo"},
    {"v_f32.wav", "0:00,50 · 48 kHz · 32 bitů float · mono"},
    {"v_f64.wav", "0:00,50 · 32 kHz · 64 bitů float · stereo"},
    {"v_alaw.wav", "0:00,50 · 8 kHz · A-law · mono"},
    {"v_ulaw.wav", "0:00,50 · 8 kHz · µ-law · mono"},
    {"v_ima.wav", "0:00,50 · 11,025 kHz · IMA ADPCM · mono"},
    {"v_ms.wav", "0:00,50 · 22,05 kHz · MS ADPCM · stereo"},
    {"v_gsm.wav", "0:00,50 · 8 kHz · GSM 6.10 · mono"},
    {"v_192.wav", "0:00,50 · 192 kHz · 16 bitů · stereo"},
    {"v_51.wav", "0:00,50 · 48 kHz · 16 bitů · 6 kanálů"},
    {"v_rf64.wav", "0:00,50 · 44,1 kHz · 16 bitů · stereo"},
};

// The counts and lengths that read differently.
struct Extra {
    const char* file;
    audition::WavSpec wav;
    double seconds;
    const char* hint;
};
const Extra kExtras[] = {
    {"w_3.wav",
     {8000, 3, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16},
     0.5,
     "0:00,50 · 8 kHz · 16 bitů · 3 kanály"},
    {"w_long.wav",
     {8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
     61.254,
     "1:01,25 · 8 kHz · 8 bitů · mono"},
};

bool WriteWave(const QString& path, const audition::WavSpec& wav, double seconds) {
    return audition::WriteWav(path, wav, static_cast<std::size_t>(std::lround(wav.rate * seconds)),
                              [](std::size_t frame, int channel) {
                                  return 0.5 * std::sin(0.1 * static_cast<double>(frame + channel));
                              });
}

class SoundHintTest : public MainWindowFixture {
protected:
    QString Folder() { return drives.PosixPath('C', "zvuky"); }

    // What the list shows after the pointer has rested on the entry named `name`: the hint,
    // as Qt asks for it once the hint delay has passed.
    QString HintOver(const QString& name) {
        TFileListBox* list = form->soubor;
        const int row = list->Items().IndexOf(name);
        if (row < 0)
            return QStringLiteral("<no entry %1>").arg(name);
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QToolTip::hideText();
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    QString DescriptionOf(const QString& name) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form->soubor);
        QAccessibleInterface* cell =
            list->tableInterface()->cellAt(form->soubor->Items().IndexOf(name), 0);
        return cell ? cell->text(QAccessible::Description) : QString();
    }
};

} // namespace

TEST_F(SoundHintTest, EachWaveVariantTellsItsLengthRateSamplesAndChannels) {
    drives.MakeDirectory('C', "zvuky");
    std::vector<std::pair<QString, QString>> expected;
    for (const audition::WavVariant& v : audition::WavVariants()) {
        ASSERT_TRUE(kVariantHints.count(v.file)) << "no hint written down for " << v.file;
        ASSERT_TRUE(WriteWave(Folder() + u'/' + v.file, v.wav, audition::kVariantSeconds));
        expected.emplace_back(v.file, QString::fromUtf8(kVariantHints.at(v.file)));
    }
    for (const Extra& e : kExtras) {
        ASSERT_TRUE(WriteWave(Folder() + u'/' + e.file, e.wav, e.seconds)) << e.file;
        expected.emplace_back(e.file, QString::fromUtf8(e.hint));
    }
    StoreLastDir("C:\\zvuky");
    Start();
    for (const auto& [file, hint] : expected) {
        EXPECT_EQ(HintOver(file), hint) << file.toStdString();
        EXPECT_EQ(DescriptionOf(file), hint) << file.toStdString();
    }
    QToolTip::hideText();
}

TEST_F(SoundHintTest, FilesThatDoNotDecodeSaySoAndTheHintIsReadAfresh) {
    MakeSound('C', "zvuky/prazdny.wav", 0);
    const char header[] = "RIFF\x10\0\0\0WAVEfmt nesmysl";
    drives.MakeFile('C', "zvuky/text.wav", QByteArray(header, sizeof header - 1));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Folder() + "/roura.wav").constData(), 0644), 0);
    ASSERT_TRUE(WriteWave(Folder() + "/zmena.wav", {8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16}, 1));
    drives.MakeDirectory('C', "zvuky/slozka.wav");
    StoreLastDir("C:\\zvuky");
    Start();
    form->soubor->SetFileType(form->soubor->FileType() | TFileListBox::ftDirectory);
    // A named pipe is not waited on: the hint comes at once.
    for (const char* name : {"prazdny.wav", "text.wav", "roura.wav"})
        EXPECT_EQ(HintOver(name), QString::fromUtf8("neznámý formát")) << name;
    EXPECT_EQ(DescriptionOf("[slozka.wav]"), QString());
    EXPECT_EQ(HintOver("zmena.wav"), QString::fromUtf8("0:01,00 · 8 kHz · 16 bitů · mono"));
    // Another program rewrites the file while it is listed: the next hint tells the new sound.
    ASSERT_TRUE(
        WriteWave(Folder() + "/zmena.wav", {48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT}, 2.5));
    EXPECT_EQ(HintOver("zmena.wav"),
              QString::fromUtf8("0:02,50 · 48 kHz · 32 bitů float · stereo"));
    QToolTip::hideText();
}

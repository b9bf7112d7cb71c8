// The hint of a file list entry: what the sound under the pointer is, read from its header.
#include "filectrl/TFileListBox.h"
#include "tests/app/MainWindowFixture.h"

#include <QAccessible>
#include <QFile>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <sndfile.h>
#include <sys/stat.h>
#include <vector>

namespace {

struct Variant {
    const char* file;
    int format;
    int rate;
    int channels;
    double seconds;
    const char* hint;
};

// The variants the audition benchmark plays, and the counts and lengths that read differently.
const Variant kVariants[] = {
    {"v_u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 0.5, "0:00,50 · 8 kHz · 8 bitů · mono"},
    {"v_16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 2, 0.5,
     "0:00,50 · 22,05 kHz · 16 bitů · stereo"},
    {"v_24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 96000, 2, 0.5,
     "0:00,50 · 96 kHz · 24 bitů · stereo"},
    {"v_32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 44100, 2, 0.5,
     "0:00,50 · 44,1 kHz · 32 bitů · stereo"},
    {"v_f32.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, 0.5,
     "0:00,50 · 48 kHz · 32 bitů float · mono"},
    {"v_f64.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 32000, 2, 0.5,
     "0:00,50 · 32 kHz · 64 bitů float · stereo"},
    {"v_alaw.wav", SF_FORMAT_WAV | SF_FORMAT_ALAW, 8000, 1, 0.5, "0:00,50 · 8 kHz · A-law · mono"},
    {"v_ulaw.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 8000, 1, 0.5, "0:00,50 · 8 kHz · µ-law · mono"},
    {"v_ima.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 11025, 1, 0.5,
     "0:00,50 · 11,025 kHz · IMA ADPCM · mono"},
    {"v_ms.wav", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 22050, 2, 0.5,
     "0:00,50 · 22,05 kHz · MS ADPCM · stereo"},
    {"v_gsm.wav", SF_FORMAT_WAV | SF_FORMAT_GSM610, 8000, 1, 0.5,
     "0:00,50 · 8 kHz · GSM 6.10 · mono"},
    {"v_192.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 192000, 2, 0.5,
     "0:00,50 · 192 kHz · 16 bitů · stereo"},
    {"v_51.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 48000, 6, 0.5,
     "0:00,50 · 48 kHz · 16 bitů · 6 kanálů"},
    {"v_rf64.wav", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 44100, 2, 0.5,
     "0:00,50 · 44,1 kHz · 16 bitů · stereo"},
    {"w_3.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 8000, 3, 0.5,
     "0:00,50 · 8 kHz · 16 bitů · 3 kanály"},
    {"w_long.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 61.254,
     "1:01,25 · 8 kHz · 8 bitů · mono"},
};

bool WriteWave(const QString& path, int format, int rate, int channels, double seconds) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = static_cast<sf_count_t>(std::lround(rate * seconds));
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.5f * static_cast<float>(std::sin(0.1 * static_cast<double>(i)));
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
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
    for (const Variant& v : kVariants)
        ASSERT_TRUE(WriteWave(Folder() + u'/' + v.file, v.format, v.rate, v.channels, v.seconds))
            << v.file;
    StoreLastDir("C:\\zvuky");
    Start();
    for (const Variant& v : kVariants) {
        EXPECT_EQ(HintOver(v.file), QString::fromUtf8(v.hint)) << v.file;
        EXPECT_EQ(DescriptionOf(v.file), QString::fromUtf8(v.hint)) << v.file;
    }
    QToolTip::hideText();
}

TEST_F(SoundHintTest, FilesThatDoNotDecodeSaySoAndTheHintIsReadAfresh) {
    MakeSound('C', "zvuky/prazdny.wav", 0);
    const char header[] = "RIFF\x10\0\0\0WAVEfmt nesmysl";
    drives.MakeFile('C', "zvuky/text.wav", QByteArray(header, sizeof header - 1));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Folder() + "/roura.wav").constData(), 0644), 0);
    ASSERT_TRUE(WriteWave(Folder() + "/zmena.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 1));
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
    ASSERT_TRUE(WriteWave(Folder() + "/zmena.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 2, 2.5));
    EXPECT_EQ(HintOver("zmena.wav"),
              QString::fromUtf8("0:02,50 · 48 kHz · 32 bitů float · stereo"));
    QToolTip::hideText();
}

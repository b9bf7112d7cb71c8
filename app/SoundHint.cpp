#include "app/SoundHint.h"

#include "platform/sound/soundfacts.h"

#include <QStringList>

namespace {

// m:ss,cc, rounded to the nearest hundredth of a second.
QString LengthText(std::int64_t frames, int rate) {
    const std::int64_t hundredths = (frames * 100 + rate / 2) / rate;
    return QStringLiteral("%1:%2,%3")
        .arg(hundredths / 6000)
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// "44,1 kHz", "8 kHz", "11,025 kHz": the kilohertz with as many decimals as the rate needs.
QString RateText(int rate) {
    QString text = QString::number(rate / 1000);
    if (const int rest = rate % 1000) {
        QString decimals = QStringLiteral("%1").arg(rest, 3, 10, QLatin1Char('0'));
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u',' + decimals;
    }
    return text + QStringLiteral(" kHz");
}

QString EncodingText(win32::SoundEncoding encoding) {
    using win32::SoundEncoding;
    switch (encoding) {
    case SoundEncoding::Pcm8:
        return QStringLiteral("8 bitů");
    case SoundEncoding::Pcm16:
        return QStringLiteral("16 bitů");
    case SoundEncoding::Pcm24:
        return QStringLiteral("24 bitů");
    case SoundEncoding::Pcm32:
        return QStringLiteral("32 bitů");
    case SoundEncoding::Float32:
        return QStringLiteral("32 bitů float");
    case SoundEncoding::Float64:
        return QStringLiteral("64 bitů float");
    case SoundEncoding::ImaAdpcm:
        return QStringLiteral("IMA ADPCM");
    case SoundEncoding::MsAdpcm:
        return QStringLiteral("MS ADPCM");
    case SoundEncoding::ALaw:
        return QStringLiteral("A-law");
    case SoundEncoding::MuLaw:
        return QStringLiteral("µ-law");
    case SoundEncoding::Gsm610:
        return QStringLiteral("GSM 6.10");
    case SoundEncoding::Other:
        break;
    }
    return {};
}

// Czech counts: "3 kanály" for two to four, "5 kanálů" from five on.
QString ChannelsText(int channels) {
    if (channels == 1)
        return QStringLiteral("mono");
    if (channels == 2)
        return QStringLiteral("stereo");
    return QString::number(channels) +
           (channels <= 4 ? QStringLiteral(" kanály") : QStringLiteral(" kanálů"));
}

} // namespace

QString SoundHint(const QString& path) {
    const std::optional<win32::SoundFacts> facts = win32::GetSoundFacts(path);
    if (!facts)
        return QStringLiteral("neznámý formát");
    QStringList parts{LengthText(facts->frames, facts->rate), RateText(facts->rate)};
    // A codec without a name of its own is left out rather than misnamed.
    if (const QString encoding = EncodingText(facts->encoding); !encoding.isEmpty())
        parts.append(encoding);
    parts.append(ChannelsText(facts->channels));
    return parts.join(QStringLiteral(" · "));
}

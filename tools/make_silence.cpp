// Writes "ticho.wav": a tenth of a second of silence, 8-bit mono PCM at 11,025 Hz. Playing it
// replaces whatever sound is playing, which is how the stop button ends playback.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void put16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_silence OUTPUT.wav\n");
        return 2;
    }
    const std::uint32_t rate = 11025;
    const std::uint32_t samples = rate / 10;
    std::vector<unsigned char> wav;
    putTag(wav, "RIFF");
    put32(wav, 36 + samples);
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1); // PCM
    put16(wav, 1); // mono
    put32(wav, rate);
    put32(wav, rate); // bytes per second
    put16(wav, 1);    // block align
    put16(wav, 8);    // bits per sample
    putTag(wav, "data");
    put32(wav, samples);
    wav.insert(wav.end(), samples, 0x80); // unsigned 8-bit silence
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(wav.data(), 1, wav.size(), f) != wav.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}

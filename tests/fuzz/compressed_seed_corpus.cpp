// Writes the seed files of the FLAC, Ogg and MP3 reader fuzzers: a fraction of
// a second of a stereo and of a mono tone in each format, and a two-link Ogg
// chain. Built and run only by scripts/build-fuzz.sh.
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

bool WriteTone(const std::string& path, int format, int channels, int rateHz, double seconds)
{
    SF_INFO info{};
    info.samplerate = rateHz;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    const auto frames = static_cast<sf_count_t>(rateHz * seconds);
    std::vector<double> samples(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i)
    {
        samples[i] = 0.5 * std::sin(0.05 * static_cast<double>(i / channels));
    }
    sf_writef_double(file, samples.data(), frames);
    return sf_close(file) == 0;
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        return 2;
    }
    const std::string out = argv[1];
    struct Format
    {
        const char* name;
        int code;
    };
    const Format formats[] = {
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    bool ok = true;
    for (const Format& format : formats)
    {
        const std::string folder = out + "/corpus-" + format.name + "/";
        ok = WriteTone(folder + "stereo." + format.name, format.code, 2, 44100, 0.02) && ok;
        ok = WriteTone(folder + "mono." + format.name, format.code, 1, 22050, 0.02) && ok;
    }
    const std::string link = out + "/corpus-ogg/stereo.ogg";
    std::ofstream(out + "/corpus-ogg/chain.ogg", std::ios::binary) << Bytes(link) << Bytes(link);
    return ok ? 0 : 1;
}

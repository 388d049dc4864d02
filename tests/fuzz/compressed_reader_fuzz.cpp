// libFuzzer harness for the FLAC, Ogg and MP3 path through ReadAudioFile: any
// byte string under the name given by FUZZ_EXTENSION (".flac", ".ogg", ".mp3")
// must either read or fail with a runtime error; never crash or hang.
// Built only by scripts/build-fuzz.sh, never by the normal build.
#include "engine/io/audio_file_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#ifndef FUZZ_EXTENSION
#error "FUZZ_EXTENSION must name the reader, for example \".flac\""
#endif

namespace
{

struct InputFile
{
    int fd = -1;
    std::string path;
};

// The reader picks its decoder by the name's extension: a link with that
// extension in a private folder names an in-memory file, which keeps the
// fuzzer off the disk.
const InputFile& Input()
{
    static const InputFile input = []
    {
        InputFile file;
        file.fd = ::memfd_create("reader-fuzz-input", 0);
        char folder[] = "/tmp/reader-fuzz-XXXXXX";
        if (file.fd < 0 || ::mkdtemp(folder) == nullptr)
        {
            std::abort();
        }
        file.path = std::string(folder) + "/input" + FUZZ_EXTENSION;
        const std::string target = "/proc/self/fd/" + std::to_string(file.fd);
        if (::symlink(target.c_str(), file.path.c_str()) != 0)
        {
            std::abort();
        }
        return file;
    }();
    return input;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const InputFile& input = Input();
    if (::ftruncate(input.fd, 0) != 0 ||
        ::pwrite(input.fd, data, size, 0) != static_cast<ssize_t>(size))
    {
        std::abort();
    }
    try
    {
        const AudioBuffer buffer =
            ReadAudioFile(std::wstring(input.path.begin(), input.path.end()));
        if (buffer.samples.size() % 2 != 0 || buffer.samples.empty() || buffer.sampleRate <= 0)
        {
            std::abort();
        }
    }
    catch (const std::runtime_error&)
    {
    }
    return 0;
}

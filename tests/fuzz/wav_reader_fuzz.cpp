// libFuzzer harness for the WAV reader: any byte string must either read or fail
// with a runtime error; never crash, hang or allocate far beyond its own size.
// Built only by scripts/build-fuzz.sh, never by the normal build.
#include "engine/io/wav_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

// The reader takes a path; an in-memory file keeps the fuzzer off the disk.
int InputFile()
{
    static const int fd = ::memfd_create("wav-fuzz-input", 0);
    if (fd < 0)
    {
        std::abort();
    }
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = InputFile();
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    {
        std::abort();
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    try
    {
        const AudioBuffer buffer = ReadWavFile(std::wstring(path.begin(), path.end()));
        // Every decoded frame came from the file: at most one per byte.
        if (buffer.samples.size() % 2 != 0 || buffer.FrameCount() > size)
        {
            std::abort();
        }
    }
    catch (const std::runtime_error&)
    {
    }
    return 0;
}

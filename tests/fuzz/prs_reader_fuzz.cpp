// libFuzzer harness for the ".prs" reader; built only by scripts/fuzz-prs.sh.
//
// Besides crashes and sanitizer reports it checks two promises of the reader:
// nothing it allocates for one input is much larger than that input, and
// whatever it accepts is written back by the writer in a form that reads the
// same again.

#include "engine/profiles/reference_profile.h"

#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace
{

// Sets and their vectors cost a few times the bytes that describe them; a
// fixed slack covers the texts of exceptions.
constexpr size_t kAllowedBytesPerInputByte = 16;
constexpr size_t kAllowedSlackBytes = 64 * 1024;

bool g_counting = false;
size_t g_allocatedBytes = 0;
size_t g_largestAllocation = 0;

void OnMalloc(const volatile void*, size_t size)
{
    if (g_counting)
    {
        g_allocatedBytes += size;
        g_largestAllocation = size > g_largestAllocation ? size : g_largestAllocation;
    }
}

void OnFree(const volatile void*)
{
}

[[noreturn]] void Fail(const char* what, size_t value, size_t inputBytes)
{
    std::fprintf(stderr, "prs fuzz: %s (%zu bytes for an input of %zu bytes)\n", what, value,
                 inputBytes);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    g_allocatedBytes = 0;
    g_largestAllocation = 0;
    g_counting = true;
    ReferenceProfile profile;
    bool accepted = false;
    try
    {
        profile = DecodeReferenceProfile(bytes);
        accepted = true;
    }
    catch (const std::runtime_error&)
    {
    }
    g_counting = false;

    const size_t limit = kAllowedBytesPerInputByte * size + kAllowedSlackBytes;
    if (g_allocatedBytes > limit)
    {
        Fail("reader allocated too much in total", g_allocatedBytes, size);
    }
    if (g_largestAllocation > limit)
    {
        Fail("reader made one allocation too large", g_largestAllocation, size);
    }

    if (accepted)
    {
        const std::string written = EncodeReferenceProfile(profile);
        if (EncodeReferenceProfile(DecodeReferenceProfile(written)) != written)
        {
            Fail("an accepted profile did not survive writing and reading", written.size(), size);
        }
    }
    return 0;
}

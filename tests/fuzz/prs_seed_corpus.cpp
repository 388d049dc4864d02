// Writes a few valid ".prs" files as the fuzzer's starting corpus:
// prs_seed_corpus <folder>

#include "engine/profiles/reference_profile.h"
#include "engine/profiles/synthetic_profile.h"

#include <fstream>
#include <string>

namespace
{

void WriteSeed(const std::string& folder, const char* name, const ReferenceProfile& profile)
{
    std::ofstream(folder + "/" + name, std::ios::binary) << EncodeReferenceProfile(profile);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        return 2;
    }
    const std::string folder = argv[1];

    WriteSeed(folder, "empty-v6.prs", ReferenceProfile());

    ReferenceProfile old;
    old.version = 2;
    old.name = "old";
    WriteSeed(folder, "v2.prs", old);

    ReferenceProfile small;
    small.version = 3;
    small.fftSize = 8;
    small.dynamicsSets = {{1, {0.2}}, {3, {0.2, 0.1, 0.05}}};
    small.spectrumSets = {{8, {1, 2, 3, 4, 5}, {0, -1, -2, -3, -4}}, {4, {1, 2, 3}, {3, 2, 1}}};
    small.name = "small ü";
    small.sourcePath = "/x/y.wav";
    WriteSeed(folder, "small-v3.prs", small);

    WriteSeed(folder, "synthetic.prs", BuildSyntheticDefaultProfile());
    return 0;
}

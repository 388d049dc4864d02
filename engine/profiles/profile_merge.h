#pragma once

#include "engine/profiles/reference_profile.h"

#include <string>
#include <vector>

// Weights are relative: only their ratios matter, and each must be a finite
// number greater than 0.
struct ProfileMergeInput
{
    ReferenceProfile profile;
    double weight = 1.0;
};

struct ProfileMergeFile
{
    std::wstring path;
    double weight = 1.0;
};

// One profile from several by a weighted average; the first input is the
// template. All inputs must share the analysis settings and list layouts.
// Spectra are averaged as amplitudes, not as decibels. Throws
// std::runtime_error and returns nothing partial.
ReferenceProfile MergeReferenceProfiles(const std::vector<ProfileMergeInput>& inputs,
                                        const std::string& name, const std::string& description);

// Reads every file in order (read errors pass through and stop the merge),
// then merges them.
ReferenceProfile MergeReferenceProfileFiles(const std::vector<ProfileMergeFile>& files,
                                            const std::string& name,
                                            const std::string& description);

#pragma once

#include "engine/chain/audio_processor.h"
#include "engine/settings/mastering_settings.h"

#include <array>
#include <memory>
#include <vector>

// The add-ons of one chain position, in chain order.
using ProcessorBucket = std::vector<std::unique_ptr<IAudioProcessor>>;

// The add-ons of one run: one bucket per ChainPosition, index = position. Built
// for a run and moved into its worker, so it can be moved but not copied. The
// add-ons are destroyed from the PRELIMITER bucket down to PREMATCH, and in
// chain order within a bucket.
struct ProcessorChain
{
    std::array<ProcessorBucket, kChainPositionCount> buckets;

    ProcessorChain() = default;
    ProcessorChain(ProcessorChain&& other) noexcept = default;
    ProcessorChain& operator=(ProcessorChain&& other) noexcept;
    ProcessorChain(const ProcessorChain&) = delete;
    ProcessorChain& operator=(const ProcessorChain&) = delete;
    ~ProcessorChain();

private:
    void DestroyAddons() noexcept;
};

// One fresh add-on per enabled chain entry whose id the factory knows, given
// the entry's stored values in stored order (a value the add-on refuses is
// dropped). An add-on goes to the bucket of the position it reports; a
// position outside PREMATCH..STEREOIMAGE goes to the PRELIMITER bucket.
ProcessorChain BuildProcessorChain(const MasteringSettings& settings,
                                   const ProcessorFactory& createProcessor);

// Processes the buffer with each add-on of the bucket, in order, that reports
// exactly this position; any other add-on (one that reported a position the
// chain filed under PRELIMITER) is skipped.
void RunChainPosition(const ProcessorBucket& bucket, int position, AudioBuffer& buffer,
                      const ProcessContext& context);

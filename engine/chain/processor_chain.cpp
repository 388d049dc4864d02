#include "engine/chain/processor_chain.h"

#include <utility>

ProcessorChain& ProcessorChain::operator=(ProcessorChain&& other) noexcept
{
    if (this != &other)
    {
        DestroyAddons();
        buckets = std::move(other.buckets);
    }
    return *this;
}

ProcessorChain::~ProcessorChain()
{
    DestroyAddons();
}

// Spelled out because the order in which std::vector destroys its elements is
// not specified.
void ProcessorChain::DestroyAddons() noexcept
{
    for (int position = kChainPositionCount - 1; position >= 0; --position)
    {
        ProcessorBucket& bucket = buckets[position];
        for (std::unique_ptr<IAudioProcessor>& processor : bucket)
        {
            processor.reset();
        }
        bucket.clear();
    }
}

namespace
{

int BucketOfPosition(int position)
{
    if (position >= ChainPreMatch && position <= ChainStereoImage)
    {
        return position;
    }
    return ChainPreLimiter;
}

} // namespace

ProcessorChain BuildProcessorChain(const MasteringSettings& settings,
                                   const ProcessorFactory& createProcessor)
{
    ProcessorChain chain;
    for (const ChainEntry& entry : settings.addons)
    {
        if (!entry.enabled)
        {
            continue;
        }
        std::unique_ptr<IAudioProcessor> processor = createProcessor(entry.id);
        if (!processor)
        {
            continue;
        }
        for (const ChainParameterValue& stored : entry.parameters)
        {
            processor->setParameter(stored.id, stored.value);
        }
        const int bucket = BucketOfPosition(processor->chainPosition());
        chain.buckets[bucket].push_back(std::move(processor));
    }
    return chain;
}

void RunChainPosition(const ProcessorBucket& bucket, int position, AudioBuffer& buffer,
                      const ProcessContext& context)
{
    for (const std::unique_ptr<IAudioProcessor>& processor : bucket)
    {
        if (processor && processor->chainPosition() == position)
        {
            processor->process(buffer, context);
        }
    }
}

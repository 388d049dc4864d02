#include "engine/chain/processor_descriptor.h"

ProcessorDescriptor MakeProcessorDescriptor(const IAudioProcessor& processor)
{
    ProcessorDescriptor descriptor;
    descriptor.id = processor.id();
    descriptor.displayName = processor.displayName();
    descriptor.description = processor.description();
    descriptor.bestUse = processor.bestUse();
    descriptor.chainPosition = processor.chainPosition();
    descriptor.parameters = processor.parameters();
    return descriptor;
}

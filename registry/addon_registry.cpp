#include "registry/addon_registry.h"

#include "addons/cleanup/balance_corrector.h"
#include "addons/cleanup/band_balance_corrector.h"
#include "addons/cleanup/dc_blocker.h"
#include "addons/cleanup/hum_notch.h"
#include "addons/cleanup/phase_align.h"
#include "addons/cleanup/sub_rumble_filter.h"
#include "addons/dynamics/broadband_expander.h"
#include "addons/dynamics/crest_factor_controller.h"
#include "addons/dynamics/detail_extractor.h"
#include "addons/dynamics/glue_module.h"
#include "addons/dynamics/micro_dynamics_restorer.h"
#include "addons/dynamics/ms_dynamics_processor.h"
#include "addons/dynamics/multiband_compressor.h"
#include "addons/dynamics/parallel_aggression.h"
#include "addons/dynamics/punch_enhancer.h"
#include "addons/dynamics/standard_compressor.h"
#include "addons/dynamics/transient_catcher.h"
#include "addons/dynamics/transient_shaper.h"
#include "addons/dynamics/transient_sustain_shaper.h"
#include "addons/dynamics/transparent_bus_compressor.h"
#include "addons/dynamics/upward_detail.h"
#include "addons/dynamics/upward_expander.h"
#include "addons/dynamics/vintage_compressor.h"
#include "addons/dynamics/vorlik_loc_compressor.h"
#include "addons/eq/air_shelf.h"
#include "addons/eq/center_focus.h"
#include "addons/eq/dynamic_air.h"
#include "addons/eq/dynamic_eq.h"
#include "addons/eq/dynamic_low_end_tamer.h"
#include "addons/eq/dynamic_tilt.h"
#include "addons/eq/harshness_tamer.h"
#include "addons/eq/low_end_punch.h"
#include "addons/eq/low_mid_cleanup.h"
#include "addons/eq/master_deesser.h"
#include "addons/eq/ms_color_eq.h"
#include "addons/eq/presence_lift.h"
#include "addons/eq/resonance_suppressor.h"
#include "addons/eq/resonance_tracker.h"
#include "addons/eq/three_band_eq.h"
#include "addons/eq/tilt_eq.h"
#include "addons/prelimiter/asymmetric_clipper.h"
#include "addons/prelimiter/loudness_driver.h"
#include "addons/prelimiter/peak_clipper.h"
#include "addons/prelimiter/phase_rotator.h"
#include "addons/prelimiter/soft_clipper.h"
#include "addons/prelimiter/true_peak_guard.h"
#include "addons/saturation/exciter.h"
#include "addons/saturation/harmonic_enhancer.h"
#include "addons/saturation/sonic_maximizer.h"
#include "addons/saturation/tape_saturation.h"
#include "addons/saturation/transformer_saturation.h"
#include "addons/saturation/tube_saturation.h"
#include "addons/spectral/spectral_correlation_guard.h"
#include "addons/spectral/spectral_declip.h"
#include "addons/spectral/spectral_dereverb.h"
#include "addons/spectral/spectral_dynamics.h"
#include "addons/spectral/spectral_gate.h"
#include "addons/stereo/ambient_widener.h"
#include "addons/stereo/center_halo.h"
#include "addons/stereo/center_lock.h"
#include "addons/stereo/low_high_band_stereo_shaper.h"
#include "addons/stereo/mono_maker.h"
#include "addons/stereo/stereo_band_rebalance.h"
#include "addons/stereo/stereo_swapper.h"
#include "addons/stereo/stereo_widener.h"
#include "addons/stereo/tape_motion.h"
#include "addons/stereo/width_limiter.h"

#include <iterator>

namespace
{

using CreateAddon = std::unique_ptr<IAudioProcessor> (*)();

template <class Addon> std::unique_ptr<IAudioProcessor> Create()
{
    return std::make_unique<Addon>();
}

// Its table reports the current values, so the values it starts from are
// given here.
std::unique_ptr<IAudioProcessor> CreateLevelLocCompressor()
{
    return std::make_unique<LevelLocCompressor>(0.2, 0.5, 0.0, 0.3, 0.3, 1.0, false, false);
}

struct AddonClass
{
    const char* id;
    CreateAddon create; // null until the add-on's class is part of the program
};

// The descriptor list follows this order. An add-on joins the program by
// replacing its null with Create<ItsClass>.
constexpr AddonClass kAddonClasses[] = {
    {"air_shelf", Create<AirShelf>},
    {"ambient_widener", Create<AmbientWidener>},
    {"asymmetric_clipper", Create<AsymmetricClipper>},
    {"band_balance_corrector", Create<BandBalanceCorrector>},
    {"balance_corrector", Create<BalanceCorrector>},
    {"broadband_expander", Create<BroadbandExpander>},
    {"center_halo", Create<CenterHalo>},
    {"center_focus", Create<CenterFocus>},
    {"center_lock", Create<CenterLock>},
    {"crest_factor_controller", Create<CrestFactorController>},
    {"dc_blocker", Create<DCBlocker>},
    {"detail_extractor", Create<DetailExtractor>},
    {"dynamic_eq", Create<DynamicEq>},
    {"dynamic_air", Create<DynamicAir>},
    {"dynamic_tilt", Create<DynamicTilt>},
    {"dynamic_low_end_tamer", Create<DynamicLowEndTamer>},
    {"sonic_maximizer", Create<SonicMaximizerAddon>},
    {"tilt_eq", Create<TiltEq>},
    {"transformer_saturation", Create<TransformerSaturation>},
    {"tape_saturation", Create<TapeSaturation>},
    {"tape_motion", Create<TapeMotion>},
    {"tube_saturation", Create<TubeSaturation>},
    {"upward_expander", Create<UpwardExpander>},
    {"exciter", Create<Exciter>},
    {"harmonic_enhancer", Create<HarmonicEnhancer>},
    {"harshness_tamer", Create<HarshnessTamer>},
    {"hum_notch", Create<HumNotch>},
    {"low_end_punch", Create<LowEndPunch>},
    {"low_high_band_stereo_shaper", Create<LowHighBandStereoShaper>},
    {"loudness_driver", Create<LoudnessDriver>},
    {"low_mid_cleanup", Create<LowMidCleanup>},
    {"master_deesser", Create<MasterDeEsser>},
    {"multiband_compressor", Create<MultibandCompressor>},
    {"mono_maker", Create<MonoMaker>},
    {"ms_color_eq", Create<MSColorEQ>},
    {"ms_dynamics_processor", Create<MsDynamicsProcessor>},
    {"parallel_aggression", Create<ParallelAggression>},
    {"phase_align", Create<PhaseAlign>},
    {"phase_rotator", Create<PhaseRotator>},
    {"peak_clipper", Create<PeakClipper>},
    {"micro_dynamics_restorer", Create<MicroDynamicsRestorer>},
    {"presence_lift", Create<PresenceLift>},
    {"punch_enhancer", Create<PunchEnhancer>},
    {"resonance_tracker", Create<ResonanceTracker>},
    {"resonance_suppressor", Create<ResonanceSuppressor>},
    {"soft_clipper", Create<SoftClipper>},
    {"spectral_correlation_guard", Create<SpectralCorrelationGuard>},
    {"spectral_declip", Create<SpectralDeclip>},
    {"spectral_dereverb", Create<SpectralDeReverb>},
    {"spectral_dynamics", Create<SpectralDynamics>},
    {"spectral_gate", Create<SpectralGate>},
    {"standard_compressor", Create<StandardCompressor>},
    {"stereo_band_rebalance", Create<StereoBandRebalance>},
    {"stereo_swapper", Create<StereoSwapper>},
    {"sub_rumble_filter", Create<SubRumbleFilter>},
    {"three_band_eq", Create<ThreeBandEq>},
    {"transient_shaper", Create<TransientShaper>},
    {"transient_sustain_shaper", Create<TransientSustainShaper>},
    {"glue_module", Create<GlueModule>},
    {"vintage_compressor", Create<VintageCompressor>},
    {"stereo_widener", Create<StereoWidener>},
    {"transparent_bus_compressor", Create<TransparentBusCompressor>},
    {"transient_catcher", Create<TransientCatcher>},
    {"true_peak_guard", Create<TruePeakGuard>},
    {"upward_detail", Create<UpwardDetail>},
    {"width_limiter", Create<WidthLimiter>},
    {"vorlik_loc_compressor", CreateLevelLocCompressor},
};
static_assert(std::size(kAddonClasses) == kAddonCount);

} // namespace

std::unique_ptr<IAudioProcessor> CreateProcessor(const std::string& id)
{
    for (const AddonClass& addon : kAddonClasses)
    {
        if (addon.create != nullptr && id == addon.id)
        {
            return addon.create();
        }
    }
    return nullptr;
}

const std::vector<ProcessorDescriptor>& GetProcessorDescriptors()
{
    static const std::vector<ProcessorDescriptor> descriptors = []
    {
        std::vector<ProcessorDescriptor> list;
        list.reserve(kAddonCount);
        for (const AddonClass& addon : kAddonClasses)
        {
            if (const std::unique_ptr<IAudioProcessor> processor = CreateProcessor(addon.id))
            {
                list.push_back(MakeProcessorDescriptor(*processor));
            }
        }
        return list;
    }();
    return descriptors;
}

const ProcessorDescriptor* FindProcessorDescriptor(const std::string& id)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        if (descriptor.id == id)
        {
            return &descriptor;
        }
    }
    return nullptr;
}

ProcessorChain BuildProcessorChain(const MasteringSettings& settings)
{
    return BuildProcessorChain(settings, &CreateProcessor);
}

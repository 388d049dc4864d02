#pragma once

#include "engine/profiles/reference_profile.h"

// A neutral default reference made without audio: fixed level, loudness and
// dynamics figures, and spectra drawn from a built-in tilt curve (mid) and a
// side offset under it. Every call gives the same profile except createdAt.
ReferenceProfile BuildSyntheticDefaultProfile();

// The built-in tilt, dB: a smoothstep in log frequency between eight points
// from 1.2 dB at 30 Hz down to -13 dB at 20 kHz, 0 dB at 1 kHz.
double SyntheticTiltGainDb(double frequencyHz);

// How far the side spectrum lies from the mid spectrum, dB.
double SyntheticSideOffsetDb(double frequencyHz);

// Mid and side spectra (fftSize / 2 + 1 bins) of the curves, lifted to the
// level an FFT of size fftSize shows for a signal of linear level levelLinear.
SpectrumSet BuildSyntheticSpectrumSet(int fftSize, double levelLinear);

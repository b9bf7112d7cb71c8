#pragma once
// The WAV variants a user meets, from 8-bit PCM to RF64, one short file of each: the audition
// benchmark plays every one through a real server, and the file list's hint is checked on every
// one, so that both cover the same sounds.

#include "tests/support/audition/WavWriter.h"

#include <span>

namespace audition {

struct WavVariant {
    const char* name; // for people reading the figures
    const char* file;
    WavSpec wav;
};

// How long each variant's file plays.
constexpr double kVariantSeconds = 0.5;

std::span<const WavVariant> WavVariants();

} // namespace audition

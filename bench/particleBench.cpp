// Cost of one fountain step, per particle. The baseline walks the same pool with a single
// add per particle, so the ratio shows what the update's own arithmetic and branches cost.
#include <benchmark/benchmark.h>

#include <cstring>

#include "particles/particleRandom.h"
#include "particles/particles.h"

static const int LIVE_PARTICLES = PARTICLE_COUNT - 1;

static void freshFountain() {
    memset(particles, 0, sizeof(particles));
    seedParticleRandom(1);
    initParticles();
    // Past the first fill, into the steady respawn cycle the demo runs in.
    for (int frame = 0; frame < 200; frame++)
        updateParticles();
}

static void BM_UpdateParticles(benchmark::State& state) {
    freshFountain();
    for (auto _ : state) {
        updateParticles();
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter((double)state.iterations() * LIVE_PARTICLES,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UpdateParticles)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

static void BM_BaselineTouchEveryParticle(benchmark::State& state) {
    freshFountain();
    for (auto _ : state) {
        for (int i = 1; i < PARTICLE_COUNT; i++)
            particles[i].y += particles[i].yPull;
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter((double)state.iterations() * LIVE_PARTICLES,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BaselineTouchEveryParticle)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

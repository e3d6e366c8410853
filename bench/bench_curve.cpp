// Cost of the curve model's hot operations: de Boor evaluation at seeded
// random parameters on 100-point clamped curves, knot generation and the lift.
// Needs no display; times are per call.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "curve/curve.h"

namespace {

constexpr unsigned BENCH_SEED = 7;
constexpr int BENCH_POINTS = 100;
constexpr int BENCH_PARAMETERS = 10000;

// Edited-kind curve of 100 seeded random points, weights 0.1 .. 10.
Curve* bench_curve(int degree, int type) {
  std::mt19937_64 rng(BENCH_SEED);
  std::uniform_real_distribution<double> coord(-PAD_LIMIT, PAD_LIMIT);
  std::uniform_real_distribution<double> weight(0.1, 10.0);
  Curve* curve = curve_new(CURVE_KIND_RATIONAL);
  curve->degree = degree;
  for (int i = 0; i < BENCH_POINTS; ++i) {
    const double x = coord(rng), y = coord(rng);
    curve_add_point(curve, ControlPoint{x, y, 0.0, weight(rng)}, ADD_APPEND);
  }
  curve_make_knots(curve, type);
  return curve;
}

// Evaluates the curve at 10,000 seeded parameters in turn, one per iteration.
void bench_eval(benchmark::State& state, int degree) {
  Curve* curve = bench_curve(degree, KNOT_CLAMPED);
  std::mt19937_64 rng(BENCH_SEED);
  std::uniform_real_distribution<float> param(0.0f, 1.0f);
  std::vector<float> us(BENCH_PARAMETERS);
  for (float& u : us) u = param(rng);
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curve_eval(curve, us[next]));
    benchmark::DoNotOptimize(DeBoorTriangle[0]);
    next = next + 1 == us.size() ? 0 : next + 1;
  }
  curve_free(curve);
}

void BM_EvalClampedCubic(benchmark::State& state) {
  bench_eval(state, 3);
}
void BM_EvalClampedDegree10(benchmark::State& state) {
  bench_eval(state, DEGREE_MAX);
}

// Rebuilds a 100-point cubic's vector in the style given as argument.
void BM_MakeKnots(benchmark::State& state) {
  Curve* curve = bench_curve(3, KNOT_CLAMPED);
  const int type = static_cast<int>(state.range(0));
  for (auto _ : state) {
    curve_make_knots(curve, type);
    benchmark::DoNotOptimize(curve->knots.data());
  }
  curve_free(curve);
}

// Lifts a 100-point cubic into a lifted curve that already has room.
void BM_Lift(benchmark::State& state) {
  Curve* edited = bench_curve(3, KNOT_CLAMPED);
  Curve* lifted = curve_new(CURVE_KIND_LIFTED);
  for (auto _ : state) {
    curve_lift(edited, lifted);
    benchmark::DoNotOptimize(lifted->points.data());
  }
  curve_free(lifted);
  curve_free(edited);
}

}  // namespace

BENCHMARK(BM_EvalClampedCubic);
BENCHMARK(BM_EvalClampedDegree10);
BENCHMARK(BM_MakeKnots)->Arg(KNOT_UNIFORM)->Arg(KNOT_CLAMPED)->Arg(KNOT_CLOSED);
BENCHMARK(BM_Lift);

BENCHMARK_MAIN();

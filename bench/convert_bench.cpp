// Number and text conversion: a fitting sweep writes every trial value into its field and reads
// it back, thousands of times per press, so these sit on the fit's hot path.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"

namespace {

// Values of the kind the peak table and the files hold: centres, widths, heights, shares.
const std::vector<float>& field_singles() {
  static const std::vector<float> values = {
      1234.5f,     532.25f, 0.35f, 12.75f, 98.6f, 0.0123456f, 1.5e6f, 285.1f,
      3.14159265f, 100.0f,  -2.5f, 0.1f,   7.0f,  45.6789f,   1e-7f,  999999.5f};
  return values;
}

const std::vector<double>& field_doubles() {
  static const std::vector<double> values = {
      1234.5,    0.1,           1.0 / 3,        285.123456789, 1e20,
      -2.5e-300, 6.02214076e23, 0.000123456789, 42.0,          static_cast<double>(0.1f)};
  return values;
}

const std::vector<std::string>& field_texts() {
  static const std::vector<std::string> texts = {
      "1234.5", "532.25", ".35", "12.75",   "98.6",  "1.23456E-02",           "1.5E+06", "  285.1",
      "-2.5",   ".1",     "7",   "45.6789", "1E-07", "1.00000001490116D-001", "&HFF",    "3.5mm"};
  return texts;
}

void BM_single_text(benchmark::State& state) {
  const auto& values = field_singles();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rt::single_text(values[i]));
    i = (i + 1) % values.size();
  }
}
BENCHMARK(BM_single_text);

void BM_double_text(benchmark::State& state) {
  const auto& values = field_doubles();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rt::double_text(values[i]));
    i = (i + 1) % values.size();
  }
}
BENCHMARK(BM_double_text);

void BM_val(benchmark::State& state) {
  const auto& texts = field_texts();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rt::val(texts[i]));
    i = (i + 1) % texts.size();
  }
}
BENCHMARK(BM_val);

// One trial value of the sweep: written into the field, read back from it.
void BM_field_round_trip(benchmark::State& state) {
  const auto& values = field_singles();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rt::val(rt::trimmed_single_text(values[i])));
    i = (i + 1) % values.size();
  }
}
BENCHMARK(BM_field_round_trip);

}  // namespace

// What one key release costs: the whole rule for an eight-box group, and its
// two halves, the parse and the format, on their own.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "format_before.h"
#include "number_text.h"
#include "rule.h"
#include "units.h"

namespace {

struct Input {
    tolvu::Box source;
    std::string_view text;
};

// A short whole number, a long fraction, a negative value and an exponent
// form, in groups whose results need long and short number texts alike.
constexpr std::array<Input, 5> kInputs = {{
    {tolvu::Box::kmBox, "5"},
    {tolvu::Box::mmBox, "8582309068.756445"},
    {tolvu::Box::gallonBox, "-3.78541"},
    {tolvu::Box::mgBox, "1.5e-7"},
    {tolvu::Box::lbsBox, "1 000"},
}};

void recalculateEightBoxGroup(benchmark::State& state)
{
    const Input& input = kInputs[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(tolvu::boxInfo(input.source).name) + " \"" + std::string(input.text) + "\"");
    for (auto _ : state) {
        std::string_view text = input.text;
        benchmark::DoNotOptimize(text);
        tolvu::Recalculation r = tolvu::recalculate(input.source, tolvu::vk::Digit0, tolvu::shiftmask::None, text);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(recalculateEightBoxGroup)->DenseRange(0, kInputs.size() - 1);

constexpr std::array<double, 5> kValues = {5000000.0, 858230906.8756446, -0.9999993305199999, 1.1574074074074073e-05,
                                           1e308};

void formatNumber(benchmark::State& state)
{
    const double value = kValues[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(tolvu::formatNumber(value).view()));
    for (auto _ : state) {
        double v = value;
        benchmark::DoNotOptimize(v);
        tolvu::NumberText t = tolvu::formatNumber(v);
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(formatNumber)->DenseRange(0, kValues.size() - 1);

// The results a file of lengths converts into: every sister of kmBox for
// values like those of bench/cli-throughput (whole numbers, fractions,
// negatives, exponent forms), so the format is timed on the digits it
// really meets rather than on a handful of friendly ones.
std::vector<double> conversionResults()
{
    std::mt19937_64 rng(2131);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> results;
    for (int i = 0; i < 4096; ++i) {
        const double r = unit(rng);
        const double values[] = {std::floor(r * 100000), r * 1000, -r * 50, r * 1e12};
        for (tolvu::Box target : tolvu::groupInfo(tolvu::Group::Length).members) {
            if (target != tolvu::Box::kmBox)
                results.push_back(tolvu::formula(tolvu::Box::kmBox, target)->apply(values[i % 4]));
        }
    }
    return results;
}

// Today's format side by side with the one it replaced, on the same results.
template <tolvu::NumberText (*Format)(double) noexcept> void formatResults(benchmark::State& state)
{
    static const std::vector<double> results = conversionResults();
    std::size_t i = 0;
    for (auto _ : state) {
        tolvu::NumberText t = Format(results[i]);
        benchmark::DoNotOptimize(t);
        i = i + 1 == results.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(formatResults<tolvu::formatNumber>)->Name("formatResults/now");
BENCHMARK(formatResults<tolvu::bench::formatBefore>)->Name("formatResults/before");

void parseNumber(benchmark::State& state)
{
    const std::string_view text = kInputs[static_cast<std::size_t>(state.range(0))].text;
    state.SetLabel(std::string(text));
    for (auto _ : state) {
        std::string_view t = text;
        benchmark::DoNotOptimize(t);
        tolvu::ParsedNumber p = tolvu::parseNumber(t);
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(parseNumber)->DenseRange(0, kInputs.size() - 1);

} // namespace

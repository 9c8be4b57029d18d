// What one key release costs: the whole rule for an eight-box group, and its
// two halves, the parse and the format, on their own.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

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

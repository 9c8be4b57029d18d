// A paste of any size must be read at once: the parse's time grows with the
// length of the text and no faster, whatever the text holds. The fitted
// complexity printed at the end of each family should read O(N).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "number_text.h"

namespace {

std::string digits(std::size_t n)
{
    return std::string(n, '7');
}

std::string blanks(std::size_t n)
{
    return std::string(n, ' ');
}

std::string letters(std::size_t n)
{
    return std::string(n, 'x');
}

// One digit, then nothing but blanks: every blank must be skipped in case
// another digit follows.
std::string digitThenBlanks(std::size_t n)
{
    return "7" + std::string(n - 1, ' ');
}

// Digits with blanks between them all, "7 7 7 ...", read as one number.
std::string digitBlankPairs(std::size_t n)
{
    std::string s;
    s.reserve(n);
    while (s.size() < n)
        s += s.size() % 2 == 0 ? '7' : ' ';
    return s;
}

// A long fraction that ends in an exponent, so the whole text is one number.
std::string fractionWithExponent(std::size_t n)
{
    return "0." + std::string(n - 6, '3') + "e+12";
}

void parse(benchmark::State& state, std::string (*make)(std::size_t))
{
    const std::string text = make(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tolvu::ParsedNumber number = tolvu::parseNumber(text);
        benchmark::DoNotOptimize(number);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

struct Family {
    const char* name;
    std::string (*make)(std::size_t);
};

constexpr Family kFamilies[] = {
    {"parse/digits", digits},
    {"parse/blanks", blanks},
    {"parse/letters", letters},
    {"parse/digit_then_blanks", digitThenBlanks},
    {"parse/digit_blank_pairs", digitBlankPairs},
    {"parse/fraction_with_exponent", fractionWithExponent},
};

// From a typed number up to a pasted megabyte.
const bool registered = [] {
    for (const Family& family : kFamilies) {
        benchmark::RegisterBenchmark(family.name, [make = family.make](benchmark::State& state) { parse(state, make); })
            ->RangeMultiplier(8)
            ->Range(8, 1 << 20)
            ->Complexity(benchmark::oN);
    }
    return true;
}();

} // namespace

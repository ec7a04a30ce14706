// SPDX-License-Identifier: GPL-3.0-or-later
// One-off proof for the compiled formula's short cuts, over every float they can meet:
//   readback  the value x's number text reads back as, by integers (NumberTextValue), against
//             reading that text (TextToNumber), for every float with |x| < 2^16, which holds
//             every x the plotter walks (at most 49 152 from the centre's and scale's limits);
//   powers    CalcPotCube, CalcPotOne and CalcPotZero against CalcPot for all 2^32 floats.
//
//   exhaustive_check [readback|powers]...   (both when none is named)
//
// Runs one thread per core; prints the first disagreements and the counts; exits with 1 on any.
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::mutex reportMutex;

bool sameBits(const lw::StepResult &a, const lw::StepResult &b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || std::bit_cast<uint32_t>(*a) == std::bit_cast<uint32_t>(*b);
}

void report(const char *what, float x, float expected, float actual)
{
    const std::lock_guard lock(reportMutex);
    std::printf("%s differs at %a (%.9g): expected %a, got %a\n", what, static_cast<double>(x),
                static_cast<double>(x), static_cast<double>(expected), static_cast<double>(actual));
}

uint64_t checkReadBack(uint32_t bits)
{
    const float x = std::bit_cast<float>(bits);
    const float viaText = lw::TextToNumber(lw::NumberText(x));
    const float viaIntegers = lw::NumberTextValue(x);
    if (std::bit_cast<uint32_t>(viaText) == std::bit_cast<uint32_t>(viaIntegers))
        return 0;
    report("read-back", x, viaText, viaIntegers);
    return 1;
}

uint64_t checkPowers(uint32_t bits)
{
    const float b = std::bit_cast<float>(bits);
    uint64_t failures = 0;
    const struct {
        float exponent;
        lw::StepResult shortCut;
    } cases[] = {{3.0f, lw::CalcPotCube(b)}, {1.0f, lw::CalcPotOne(b)}, {0.0f, lw::CalcPotZero(b)}};
    for (const auto &c : cases) {
        const lw::StepResult expected = lw::CalcPot(b, c.exponent, 2);
        if (!sameBits(expected, c.shortCut)) {
            ++failures;
            report(c.exponent == 3.0f   ? "x^3"
                   : c.exponent == 1.0f ? "x^1"
                                        : "x^0",
                   b, expected.value_or(-0.0f), c.shortCut.value_or(-0.0f));
        }
    }
    return failures;
}

// Runs check over [first, last] of the bit patterns, split among the threads.
template<typename Check>
uint64_t runAll(const char *name, uint64_t first, uint64_t last, Check check)
{
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    constexpr uint64_t Chunk = 1 << 20;
    std::atomic<uint64_t> next{first};
    std::atomic<uint64_t> failures{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (;;) {
                const uint64_t begin = next.fetch_add(Chunk);
                if (begin > last)
                    return;
                const uint64_t end = std::min(last + 1, begin + Chunk);
                uint64_t found = 0;
                for (uint64_t bits = begin; bits < end; ++bits)
                    found += check(static_cast<uint32_t>(bits));
                failures += found;
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %llu floats checked, %llu disagreements, %.0f s on %u threads\n", name,
                static_cast<unsigned long long>(last - first + 1),
                static_cast<unsigned long long>(failures.load()), seconds, threads);
    std::fflush(stdout);
    return failures;
}

uint64_t readBack()
{
    // The positive floats below 2^16 and their negatives: the bit patterns below 0x47800000.
    constexpr uint64_t Limit = 0x47800000;
    return runAll("read-back, |x| < 2^16", 0, 2 * Limit - 1, [](uint32_t i) {
        return checkReadBack(i < Limit ? i : (i - Limit) | 0x80000000u);
    });
}

uint64_t powers()
{
    return runAll("x^3, x^1, x^0", 0, 0xffffffffu, checkPowers);
}

} // namespace

int main(int argc, char **argv)
{
    const bool all = argc < 2;
    uint64_t failures = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "readback") != 0 && std::strcmp(argv[i], "powers") != 0) {
            std::fprintf(stderr, "usage: exhaustive_check [readback|powers]...\n");
            return 2;
        }
    }
    const auto named = [&](const char *what) {
        return all || std::any_of(argv + 1, argv + argc, [&](const char *arg) {
                   return std::strcmp(arg, what) == 0;
               });
    };
    if (named("readback"))
        failures += readBack();
    if (named("powers"))
        failures += powers();
    return failures == 0 ? 0 : 1;
}

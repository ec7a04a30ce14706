// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>

namespace lw::test {

// splitmix64: the same sequence from a seed on every platform and standard library, so a failing
// generated case is reproduced by its seed.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : m_state(seed) {}

    uint64_t next()
    {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    int below(std::size_t n) { return int(next() % n); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t m_state;
};

} // namespace lw::test

// A small deterministic random source: the same seed gives the same world on every platform and
// standard library, which the standard distributions do not promise.
#pragma once

#include <cstdint>
#include <vector>

namespace quintor::sim {

class SimRandom {
public:
    explicit SimRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number from 0 to n - 1; n must be positive.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // A number from lo to hi, both included.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    std::uint32_t word() { return static_cast<std::uint32_t>(next() >> 32); }

    template <typename T> const T& pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t state_;
};

} // namespace quintor::sim

// How long the rubber cord's tick takes on the longest cord (32767 nodes),
// the same program built for the desktop and run by node (WebAssembly), so
// `make bench` can set the two side by side. It prints the time per tick
// and a sum over the final cord, which must be the same in both builds.

#include "sims/rubber_cord/chain_model.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 200;
    ChainModel m;
    m.ResetChain(32767, 10, 0.98, 0.05, 0.5);
    for (int i = 0; i < 5; ++i)  // past the first ticks' unfolding at the wall
        m.StepChain();

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
        m.StepChain();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;

    std::uint64_t sum = 0;
    for (const ChainModel::Node& n : m.nodes()) {
        std::uint64_t bits;
        std::memcpy(&bits, &n.X, sizeof bits);
        sum = sum * 31 + bits;
        std::memcpy(&bits, &n.Y, sizeof bits);
        sum = sum * 31 + bits;
    }
    std::printf("StepChain, 32767 nodes: %.0f us per tick over %d ticks (cord sum %016llx)\n",
                spent.count() / ticks, ticks, static_cast<unsigned long long>(sum));
    return 0;
}

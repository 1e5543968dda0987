#pragma once
// The cord in the poses its picture is measured and checked in: the largest
// cord lying settled on the floor, the same cord mid-yank, dragged about the
// frame and spread over it, and a zig-zag folded back and forth until it
// covers the whole frame (no tick leaves it so, but a pointer dragged long
// enough comes close, and it is the most a picture of the cord can cost).
// Used by the benchmarks and the picture tests, so both see the same cords.

#include "runtime/canvas/canvas.h"
#include "sims/rubber_cord/chain_model.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace cord_poses {

// The window's default parameters.
inline ChainModel freshCord(std::int16_t nodeCount)
{
    ChainModel m;
    m.ResetChain(nodeCount, 10, 0.98, 0.05, 0.5);
    return m;
}

// Long enough after the reset for the cord to have fallen and come to rest
// on the floor.
inline ChainModel settled(std::int16_t nodeCount)
{
    ChainModel m = freshCord(nodeCount);
    for (int i = 0; i < 400; ++i)
        m.StepChain();
    return m;
}

// The settled cord with its end dragged round a wide loop through the frame,
// caught while it still swings.
inline ChainModel midYank(std::int16_t nodeCount)
{
    ChainModel m = settled(nodeCount);
    constexpr int kPulls = 120;
    for (int i = 0; i < kPulls; ++i) {
        const double t = 2 * 3.14159265358979 * i / kPulls;
        // Twips, inside the frame (180..5580 across, 180..4140 down).
        const double x = 2880 + 2400 * std::cos(t) * std::cos(3 * t);
        const double y = 2160 + 1800 * std::sin(2 * t);
        m.PullChain(static_cast<float>(x), static_cast<float>(y));
        m.StepChain();
    }
    return m;
}

// Node positions in twips: a cord of nodeCount segments, each about the
// cord's resting length, running down and up the frame in passes close
// enough together that a 5-pixel pen covers every pixel inside it.
inline std::vector<std::pair<double, double>> zigZag(int nodeCount)
{
    constexpr double kLeft = 180, kTop = 180, kRight = 5580, kBottom = 4140;
    constexpr double kStep = 3 * 9.5;  // twips: the cord's resting segment
    const int perPass = static_cast<int>((kBottom - kTop) / kStep);
    const int passes = nodeCount / perPass + 1;
    const double advance = (kRight - kLeft) / passes / perPass;  // per node
    std::vector<std::pair<double, double>> nodes;
    nodes.reserve(static_cast<std::size_t>(nodeCount) + 1);
    for (int i = 0; i <= nodeCount; ++i) {
        const int pass = i / perPass;
        const int k = i % perPass;
        const double down = (pass % 2 == 0 ? k : perPass - k) * kStep;
        nodes.emplace_back(kLeft + i * advance, kTop + down);
    }
    return nodes;
}

// The window's picture (the frame, the pen put on node 0, then a line to
// each next node) with the cord's nodes moved to `nodes`, in twips.
inline std::vector<rt::DrawOp> withCordAt(std::vector<rt::DrawOp> picture,
                                          const std::vector<std::pair<double, double>>& nodes)
{
    for (std::size_t i = 1; i < picture.size() && i <= nodes.size(); ++i) {
        const auto& from = nodes[i == 1 ? 0 : i - 2];
        const auto& to = nodes[i - 1];
        picture[i].x1 = static_cast<float>(from.first);
        picture[i].y1 = static_cast<float>(from.second);
        picture[i].x2 = static_cast<float>(to.first);
        picture[i].y2 = static_cast<float>(to.second);
    }
    return picture;
}

}  // namespace cord_poses

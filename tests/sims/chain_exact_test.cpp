// The rubber cord against a reference written here phase by phase in the
// order of its formulas: every field of every node after every tick, bit
// for bit, with presses pulling the cord now and then.

#include "sims/rubber_cord/chain_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CordReference {
    std::vector<ChainModel::Node> nodes;
    double segmentLength = 0, gravity = 0, viscosity = 0, stiffness = 0;
    double pullX = 0, pullY = 0;

    void reset(std::int16_t count, double length, double g, double v, double s)
    {
        segmentLength = length;
        gravity = g;
        viscosity = v;
        stiffness = s;
        nodes.assign(static_cast<std::size_t>(count) + 1, ChainModel::Node{});
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            nodes[i].OldX = static_cast<double>(i) * length;
            nodes[i].OldY = 60;
            nodes[i].X = static_cast<double>(i) * length;
            nodes[i].Y = 60;
        }
        pullX = 0;
        pullY = 0;
    }

    void pull(float x, float y)
    {
        pullX = static_cast<double>(x) / 3;
        pullY = static_cast<double>(y) / 3;
    }

    void step()
    {
        for (ChainModel::Node& n : nodes) {
            if (n.Y >= 1380)
                n.VY = n.VY * 0.8;
            double t = n.VX + n.X;
            n.OldX = n.X;
            n.X = t;
            if (t < 60)
                n.X = 60;
            if (n.X > 1860)
                n.X = 1860;
            t = n.VY + n.Y;
            n.OldY = n.Y;
            n.Y = t;
            if (t < 60)
                n.Y = 60;
            if (n.Y > 1380)
                n.Y = 1380;
            n.Y = gravity + n.Y;
        }
        for (int pass = 0; pass < 40; ++pass) {
            if (pullX != 0) {
                nodes[0].X = pullX;
                nodes[0].Y = pullY;
            }
            for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
                ChainModel::Node& a = nodes[i];
                ChainModel::Node& b = nodes[i + 1];
                const double dx = b.X - a.X;
                const double dy = b.Y - a.Y;
                double d = std::sqrt(dx * dx + dy * dy);
                if (d == 0)
                    d = 1;
                const double f = ((d - segmentLength) + stiffness) * 0.5 / d;
                a.X = a.X + f * dx;
                b.X = b.X - f * dx;
                a.Y = a.Y + f * dy;
                b.Y = b.Y - f * dy;
            }
        }
        pullX = 0;
        pullY = 0;
        for (ChainModel::Node& n : nodes) {
            n.VX = (n.X - n.OldX) * (1 - viscosity);
            n.VY = (n.Y - n.OldY) * (1 - viscosity);
        }
    }
};

// The first field of the first node that differs, or nothing.
std::string firstDifference(const ChainModel& model, const CordReference& ref)
{
    const auto nodes = model.nodes();
    if (nodes.size() != ref.nodes.size())
        return "node count";
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const ChainModel::Node &a = nodes[i], &b = ref.nodes[i];
        const double got[] = {a.X, a.Y, a.OldX, a.OldY, a.VX, a.VY};
        const double want[] = {b.X, b.Y, b.OldX, b.OldY, b.VX, b.VY};
        const char* names[] = {"X", "Y", "OldX", "OldY", "VX", "VY"};
        for (int f = 0; f < 6; ++f)
            if (got[f] != want[f]) {
                std::ostringstream out;
                out.precision(17);
                out << "node " << i << " " << names[f] << ": " << got[f] << " instead of " << want[f];
                return out.str();
            }
    }
    return {};
}

struct Press {
    int tick;
    float x, y;  // twips
};

struct ChainRun {
    const char* name;
    std::int16_t nodeCount;
    double segmentLength, gravity, viscosity, stiffness;
    int ticks;
    std::vector<Press> presses;
};

class ChainExact : public ::testing::TestWithParam<ChainRun> {};

TEST_P(ChainExact, EveryNodeAfterEveryTickMatchesTheFormulasBitForBit)
{
    const ChainRun& run = GetParam();
    ChainModel model;
    CordReference ref;
    model.ResetChain(run.nodeCount, run.segmentLength, run.gravity, run.viscosity, run.stiffness);
    ref.reset(run.nodeCount, run.segmentLength, run.gravity, run.viscosity, run.stiffness);
    ASSERT_EQ(firstDifference(model, ref), "") << "after the reset";
    for (int tick = 1; tick <= run.ticks; ++tick) {
        for (const Press& p : run.presses)
            if (p.tick == tick) {
                model.PullChain(p.x, p.y);
                ref.pull(p.x, p.y);
            }
        model.StepChain();
        ref.step();
        ASSERT_EQ(firstDifference(model, ref), "") << "after tick " << tick;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ChainModel, ChainExact,
    ::testing::Values(
        ChainRun{"Defaults", 100, 10, 0.98, 0.05, 0.5, 250, {{60, 3000, 900}, {61, 3000, 900}, {140, 9000, 5000}}},
        ChainRun{"OddValues", 23, 13.7, 1.31, 0.037, 0.29, 400, {{50, 1234.5f, 777.7f}, {200, 20000, -300}}},
        ChainRun{"SingleNode", 0, 10, 0.98, 0.05, 0.5, 200, {{90, 300, 4140}}},
        ChainRun{"StiffnessBeyondLength", 9, 4.1, 0.53, 0.11, 6.3, 300, {{100, 2500, 2500}}},
        ChainRun{"FullViscosity", 17, 21.9, 2.7, 1, 0.7, 150, {{30, 1700, 3100}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

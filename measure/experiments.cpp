#include "measure/experiment.h"

#include "runtime/numeric/convert.h"
#include "sims/rotation/rotation_picture.h"
#include "sims/rotation/rotation_quantities.h"
#include "sims/rubber_cord/rubber_cord_picture.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"
#include "sims/two_balls/two_balls_picture.h"
#include "sims/two_balls/two_balls_quantities.h"
#include "runtime/numeric/val.h"
#include "sims/vibration/vibration_picture.h"
#include "sims/vibration/vibration_quantities.h"

#include <array>

namespace measure {

std::vector<double> carriedOf(const rotation::Model& model) { return {model.MouseX, model.MouseY}; }

std::vector<double> carriedOf(const two_balls::Model& m)
{
    return {m.Ball1.VelocityX, m.Ball1.VelocityY, m.Ball2.VelocityX, m.Ball2.VelocityY};
}

void carryInto(rotation::Model& model, std::span<const double> v)
{
    model.MouseX = v[0];
    model.MouseY = v[1];
}

void carryInto(two_balls::Model& m, std::span<const double> v)
{
    m.Ball1.VelocityX = v[0];
    m.Ball1.VelocityY = v[1];
    m.Ball2.VelocityX = v[2];
    m.Ball2.VelocityY = v[3];
}

namespace {

// The timer box as the window's timer takes it: rounded, then refused
// outside 0..65535. A headless run does not wait, but the box raises the
// same errors.
void readInterval(const std::string& text) { rt::CheckedInterval(rt::ToInt32(rt::Val(text))); }

// What every experiment shares: its name, its tables, its model and a
// canvas. Each tick draws the window's picture on the canvas, which nobody
// shows: its coordinates go to single precision exactly as on the window,
// so a picture that leaves the range of a single stops the run at the same
// tick as the window.
template <class Model, class State>
class TableExperiment : public Experiment {
public:
    TableExperiment(std::string_view name, std::span<const Quantity<State>> table,
                    std::span<const Parameter> parameters)
        : m_name(name), m_table(table), m_parameters(parameters)
    {
        for (const Quantity<State>& q : table)
            m_infos.push_back(q.info);
    }

    std::string_view name() const override { return m_name; }
    std::span<const QuantityInfo> quantities() const override { return m_infos; }
    std::span<const Parameter> parameters() const override { return m_parameters; }
    void move(float, float) override {}
    bool stoppedByItself() const override { return false; }

protected:
    std::string_view m_name;
    std::span<const Quantity<State>> m_table;
    std::span<const Parameter> m_parameters;
    std::vector<QuantityInfo> m_infos;
    Model m_model;
    rt::Canvas m_canvas;
};

class Vibration final : public TableExperiment<vibration::Model, vibration::Model> {
public:
    Vibration() : TableExperiment("vibration", vibration::quantities(), vibration::parameters()) {}

    void init(std::span<const std::string> t) override
    {
        readInterval(t[0]);
        m_model.RestLength = rt::Val(t[1]);
        m_model.Stiffness = rt::Val(t[2]);
        m_model.Mass = rt::Val(t[3]);
        m_model.Viscosity = rt::Val(t[4]);
        m_model.Reset();
    }
    void step() override
    {
        m_model.Step();
        vibration::drawPicture(m_canvas, m_model);
    }
    void press(float x, float) override { m_model.Pull(x); }
    void sample(std::span<double> row) const override { sampleInto(m_table, m_model, row); }
};

class Rotation final : public TableExperiment<rotation::Model, rotation::Model> {
public:
    Rotation() : TableExperiment("rotation", rotation::quantities(), rotation::parameters()) {}

    void init(std::span<const std::string> t) override
    {
        // The mass first, then Text2, Text3 and the timer box last.
        m_frozen = false;
        m_model.Reset();
        m_model.NegStiffness = -rt::Val(t[1]);
        m_model.Relax = rt::Val(t[2]);
        readInterval(t[0]);
    }
    void step() override
    {
        m_canvas.Cls();
        m_model.Step();
        rotation::drawPicture(m_canvas, m_model);
    }
    // A press only freezes the mass; the pointer moves by move().
    void press(float, float) override { m_frozen = true; }
    void move(float x, float y) override { m_model.MovePointer(x, y); }
    std::vector<double> carried() const override { return carriedOf(m_model); }
    void carry(std::span<const double> v) override { carryInto(m_model, v); }
    void sample(std::span<double> row) const override { sampleInto(m_table, m_model, row); }
    bool stoppedByItself() const override { return m_frozen; }

private:
    bool m_frozen = false;
};

class TwoBalls final : public TableExperiment<two_balls::Model, two_balls::Model> {
public:
    TwoBalls() : TableExperiment("two-balls", two_balls::quantities(), two_balls::parameters()) {}

    // Texts in the table's order: timer, Text2, Text7, Text3, Text4, Text5,
    // Text6; read as Text1, Text2, Text3, Text7, Text6, Text4, Text5.
    void init(std::span<const std::string> t) override
    {
        m_timerText = t[0];
        m_atRest = false;
        readInterval(t[0]);
        m_model.RestLength = rt::Val(t[1]);
        m_model.Resistance = rt::Val(t[3]);
        m_model.Stiffness = rt::Val(t[2]);
        m_model.Gravity = rt::Val(t[6]);
        m_model.Ball1.Mass = rt::Val(t[4]);
        m_model.Ball2.Mass = rt::Val(t[5]);
        m_model.ResetBalls();
    }
    void step() override
    {
        m_model.StepBalls();
        two_balls::drawPicture(m_canvas, m_model);
        m_atRest = m_model.TestAtRest();
    }
    // A press grabs the large ball and reads the timer box again.
    void press(float x, float y) override
    {
        m_atRest = true;  // the timer is off until the box is read
        m_model.GrabBall1(x, y);
        readInterval(m_timerText);
        m_atRest = false;
    }
    void sample(std::span<double> row) const override { sampleInto(m_table, m_model, row); }
    bool stoppedByItself() const override { return m_atRest; }
    std::vector<double> carried() const override { return carriedOf(m_model); }
    void carry(std::span<const double> v) override { carryInto(m_model, v); }

private:
    std::string m_timerText;
    bool m_atRest = false;
};

class RubberCord final : public TableExperiment<ChainModel, rubber_cord::CordMeasures> {
public:
    RubberCord() : TableExperiment("rubber-cord", rubber_cord::quantities(), rubber_cord::parameters()) {}

    void init(std::span<const std::string> t) override
    {
        readInterval(t[0]);
        const std::int16_t nodeCount = rt::ToInt16(rt::Val(t[1]));
        const double segmentLength = rt::Val(t[2]);
        const double gravity = rt::Val(t[3]);
        const double viscosity = rt::Val(t[4]);
        const double stiffness = rt::Val(t[5]);
        m_model.ResetChain(nodeCount, segmentLength, gravity, viscosity, stiffness);
    }
    void step() override
    {
        m_model.StepChain();
        rubber_cord::drawPicture(m_canvas, m_model);
    }
    void press(float x, float y) override { m_model.PullChain(x, y); }
    void sample(std::span<double> row) const override
    {
        sampleInto(m_table, rubber_cord::measureCord(m_model), row);
    }
};

constexpr std::array<std::string_view, 4> kNames = {"vibration", "rotation", "two-balls", "rubber-cord"};

template <class Info>
int indexWhere(std::span<const Info> table, auto matches)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (matches(table[i]))
            return static_cast<int>(i);
    return -1;
}

}  // namespace

std::span<const std::string_view> experimentNames() { return kNames; }

std::unique_ptr<Experiment> makeExperiment(std::string_view name)
{
    if (name == kNames[0])
        return std::make_unique<Vibration>();
    if (name == kNames[1])
        return std::make_unique<Rotation>();
    if (name == kNames[2])
        return std::make_unique<TwoBalls>();
    if (name == kNames[3])
        return std::make_unique<RubberCord>();
    return nullptr;
}

std::vector<std::string> defaultTexts(const Experiment& experiment)
{
    std::vector<std::string> texts;
    for (const Parameter& p : experiment.parameters())
        texts.emplace_back(p.defaultText);
    return texts;
}

int findParameter(const Experiment& experiment, std::string_view name)
{
    return indexWhere(experiment.parameters(), [name](const Parameter& p) { return p.key == name || p.label == name; });
}

int findQuantity(const Experiment& experiment, std::string_view key)
{
    return indexWhere(experiment.quantities(), [key](const QuantityInfo& q) { return q.key == key; });
}

}  // namespace measure

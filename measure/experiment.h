#pragma once
// Any of the four experiments behind one interface, so that the measurement
// window and the command line handle them alike. Plain C++: no Qt.
//
// An experiment is driven the way its window drives it: init() reads the
// parameter texts with Val in the order the window's InitSimulation reads its
// boxes (so the same text raises the same error first) and puts the model at
// its start; step() is one tick of the timer; press() and move() are the
// mouse on the window's surface, in twips. Every call may throw
// rt::RuntimeError, leaving the model as far as it got.

#include "measure/quantity.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rotation {
struct Model;
}
namespace two_balls {
struct Model;
}

namespace measure {

class Experiment {
public:
    virtual ~Experiment() = default;

    virtual std::string_view name() const = 0;  // "two-balls"
    virtual std::span<const QuantityInfo> quantities() const = 0;
    virtual std::span<const Parameter> parameters() const = 0;

    // texts[i] is the text of parameters()[i]'s box.
    virtual void init(std::span<const std::string> texts) = 0;
    virtual void step() = 0;
    virtual void press(float x, float y) = 0;
    virtual void move(float x, float y) = 0;

    // The quantities of the current state, in the table's order.
    virtual void sample(std::span<double> row) const = 0;

    // What a window keeps from the run before when it reads its boxes
    // again (the two balls their velocities, the rotation its pointer): a
    // recording that starts part way through a run carries it, and carry()
    // puts it into a fresh experiment before its first init().
    virtual std::vector<double> carried() const { return {}; }
    virtual void carry(std::span<const double>) {}

    // True once the window would have stopped its own timer: the two balls
    // at rest, the rotation frozen by a press. A press can start it again.
    virtual bool stoppedByItself() const = 0;
};

// What the two windows that keep state across a reading of their boxes
// keep, in the order carry() takes it: the pointer (x, y); the velocities
// (ball 1 x, y, ball 2 x, y).
std::vector<double> carriedOf(const rotation::Model& model);
std::vector<double> carriedOf(const two_balls::Model& model);
void carryInto(rotation::Model& model, std::span<const double> carried);
void carryInto(two_balls::Model& model, std::span<const double> carried);

// The experiments' names, as the command line spells them.
std::span<const std::string_view> experimentNames();

// A fresh experiment, not yet initialised; null for an unknown name.
std::unique_ptr<Experiment> makeExperiment(std::string_view name);

// The parameters' default texts, in the table's order.
std::vector<std::string> defaultTexts(const Experiment& experiment);

// The index of the parameter whose key or Japanese label is `name`.
int findParameter(const Experiment& experiment, std::string_view name);

// The index of the quantity with this key.
int findQuantity(const Experiment& experiment, std::string_view key);

}  // namespace measure

#pragma once
// An experiment as every face sees it: the desktop window, the measurement
// window, recordings, the command line and the browser all read one
// Definition per experiment and drive one Experiment. Plain C++: no Qt.
//
// A Definition is data: the experiment's names, its window's design table,
// its parameters (which box holds which value) and its measured quantities.
// An Experiment is the behaviour, written once in the order the window runs
// it: initSimulation reads the parameter texts in the window's own reading
// order (so the same text raises the same error first) and puts the model at
// its start; tick is one tick of its timer, drawing on the canvas; mouseDown
// and mouseMove are the pointer on the client area, in twips. The timer and
// the sound belong to the face, which lends them through Host. Every call may
// throw rt::RuntimeError, leaving the state as far as it got.

#include "runtime/canvas/canvas.h"
#include "runtime/canvas/design_table.h"
#include "sims/quantity.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Texts marked for translation; the desktop translates them with Qt, other
// faces through runtime/text/catalogue.h. Defined here for code without Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace sims {

// One parameter: a text box of the window and the label that names it.
struct Parameter {
    std::string_view key;  // ASCII, for scripts: "mass"
    const char* box;       // the text box in the design table: "Text4"
    const char* label;     // its label there: "Label4"
};

// What a face lends an experiment: the window's timer and its sound.
class Host {
public:
    // The timer's switch and its interval in milliseconds (0 to 65 535; 0
    // gives no ticks; anything else is the invalid-property-value error).
    virtual void setTimerEnabled(bool on) = 0;
    virtual void setTimerInterval(std::int32_t milliseconds) = 0;
    // One knock (a ball hitting the floor).
    virtual void beep() = 0;

protected:
    ~Host() = default;
};

// The texts of the parameter boxes, in the definition's parameter order.
using Texts = std::span<const std::string>;

class Experiment {
public:
    virtual ~Experiment() = default;

    // What the window's load and "変更" run.
    virtual void initSimulation(Host& host, Texts texts) = 0;
    // One tick of the timer: the step, then the picture.
    virtual void tick(Host& host, rt::Canvas& canvas) = 0;
    // A press of any button, and a move of the pointer, in twips. `texts` are
    // the boxes as they stand now (edited or not).
    virtual void mouseDown(Host& host, float x, float y, Texts texts) = 0;
    virtual void mouseMove(Host&, float, float) {}

    // The quantities of the current state, in the definition's order.
    virtual void sample(std::span<double> row) const = 0;

    // What the window keeps from the run before when it reads its boxes again
    // (the two balls their velocities, the rotation its pointer): a recording
    // that starts part way through a run carries it, and carry() puts it into
    // a fresh experiment before its first initSimulation.
    virtual std::vector<double> carried() const { return {}; }
    virtual void carry(std::span<const double>) {}
};

struct Definition {
    std::string_view name;      // "two-balls": the command line, recordings
    const char* formName;       // "frm2Bolls": the window, and the context of its texts
    const char* caption;        // the window's title, Japanese source text
    int clientWidth;            // twips
    int clientHeight;           // twips
    std::span<const rt::ControlDef> controls;
    // Top to bottom as the window shows the boxes (not the reading order).
    std::span<const Parameter> parameters;
    const char* quantityContext;  // where the quantities' names are translated
    std::span<const QuantityInfo> quantities;
    std::string_view icon;       // "program", "rotation", "rubber-cord"
    const char* launcherButton;  // the launcher's button that opens it: "Command2"
    std::unique_ptr<Experiment> (*make)();
};

// Definition::make for an experiment of type E.
template <class E>
std::unique_ptr<Experiment> makeOf()
{
    return std::make_unique<E>();
}

// The design-table entry of a control; null if the table has none.
const rt::ControlDef* findControl(const Definition& definition, std::string_view name);

// The parameter's default text (its box's text in the design table) and its
// label's caption (Japanese source text).
std::string_view defaultText(const Definition& definition, std::size_t parameter);
std::string_view labelText(const Definition& definition, std::size_t parameter);
std::vector<std::string> defaultTexts(const Definition& definition);

// The index of the parameter whose key or Japanese label is `name`;
// -1 if none.
int findParameter(const Definition& definition, std::string_view name);
// The index of the quantity with this key; -1 if none.
int findQuantity(const Definition& definition, std::string_view key);

// The timer box as a window's timer takes it: Val, rounded to a 32-bit
// integer, then refused outside 0..65535.
std::int32_t timerInterval(const std::string& text);

}  // namespace sims

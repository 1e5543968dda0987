#pragma once
// The desktop window of an experiment, made from its definition: the form
// laid out from the design table, Timer1 ticking the experiment, the mouse
// and "変更" handed to it. The window owns widgets, never formulas: what it
// does on load, on a click of Command1, on a tick and on a press is the
// definition's (sims/<experiment>/<experiment>_experiment.h).
//
// The experiment lives as long as the window object, so closing and opening
// the window again keeps what the experiment keeps (the two balls'
// velocities, the rotation's pointer), as the window always has.

#include "measure/experiment_face.h"
#include "runtime/forms/form.h"
#include "sims/experiment.h"

#include <memory>
#include <string>
#include <vector>

class ExperimentWindow : public rt::Form, public measure::ExperimentFace, private sims::Host {
    Q_OBJECT

public:
    explicit ExperimentWindow(const sims::Definition& definition);
    ~ExperimentWindow() override;

    rt::Timer Timer1;

    // The experiment as its own type, for whoever knows which it is.
    template <class E>
    E& as()
    {
        return static_cast<E&>(*m_experiment);
    }

    // measure::ExperimentFace
    rt::Form& form() override { return *this; }
    rt::Timer& timer() override { return Timer1; }
    const sims::Definition& definition() const override { return m_definition; }
    sims::Experiment& experiment() override { return *m_experiment; }
    QLineEdit& parameterBox(std::size_t i) const override;
    void apply() override;

    // The parameter boxes' texts, in the definition's order.
    std::vector<std::string> texts() const;

protected:
    void Form_Load() override;
    void Form_MouseDown(int button, int shift, float x, float y) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;

private:
    void InitSimulation();
    void Timer1_Timer();

    // sims::Host: the window's own timer and sound.
    void setTimerEnabled(bool on) override { Timer1.setEnabled(on); }
    void setTimerInterval(std::int32_t milliseconds) override { Timer1.setInterval(milliseconds); }
    void beep() override;

    const sims::Definition& m_definition;
    std::unique_ptr<sims::Experiment> m_experiment;
};

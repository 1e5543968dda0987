#pragma once
// The experiments' windows as the tests name them: each is the program's
// ExperimentWindow for that experiment, with its state under the names the
// tests read (Spring, Balls, Mass, Chain and their fields) and its boxes.
// installTypedWindows() makes every Windows make these, so a test reaches
// the same names through the launcher's windows too.

#include "shell/experiment_window.h"
#include "shell/window_set.h"
#include "sims/registry.h"
#include "sims/rotation/rotation_experiment.h"
#include "sims/rubber_cord/rubber_cord_experiment.h"
#include "sims/two_balls/two_balls_experiment.h"
#include "sims/vibration/vibration_experiment.h"

#include <QLineEdit>

class frmVibration : public ExperimentWindow {
public:
    frmVibration() : ExperimentWindow(vibration::definition()) {}
    vibration::Model& Spring = as<vibration::Experiment>().Spring;
    double& Force = Spring.Force;
    double& Stiffness = Spring.Stiffness;
    double& RestLength = Spring.RestLength;
    double& Position = Spring.Position;
    double& Velocity = Spring.Velocity;
    double& Accel = Spring.Accel;
    double& Mass = Spring.Mass;
    double& Viscosity = Spring.Viscosity;
};

class frmRotaion : public ExperimentWindow {
public:
    frmRotaion() : ExperimentWindow(rotation::definition()) {}
    rotation::Model& Mass = as<rotation::Experiment>().Mass;
    double& MouseX = Mass.MouseX;
    double& MouseY = Mass.MouseY;
    double& BallX = Mass.BallX;
    double& BallY = Mass.BallY;
    double& VelocityX = Mass.VelocityX;
    double& VelocityY = Mass.VelocityY;
    double& NegStiffness = Mass.NegStiffness;
    double& Relax = Mass.Relax;
};

class frm2Bolls : public ExperimentWindow {
public:
    frm2Bolls() : ExperimentWindow(two_balls::definition()) {}
    two_balls::Model& Balls = as<two_balls::Experiment>().Balls;
};

class frmElasticCode : public ExperimentWindow {
public:
    frmElasticCode() : ExperimentWindow(rubber_cord::definition()) {}
    ChainModel& Chain = as<rubber_cord::Experiment>().Chain;
};

// Every Windows made after this makes the windows above.
inline void installTypedWindows()
{
    setWindowMaker([](const sims::Definition& d) -> std::unique_ptr<ExperimentWindow> {
        if (&d == &vibration::definition())
            return std::make_unique<frmVibration>();
        if (&d == &rotation::definition())
            return std::make_unique<frmRotaion>();
        if (&d == &two_balls::definition())
            return std::make_unique<frm2Bolls>();
        if (&d == &rubber_cord::definition())
            return std::make_unique<frmElasticCode>();
        return std::make_unique<ExperimentWindow>(d);
    });
}

// The launcher's windows under the tests' names.
template <class W>
W& typedWindow(Windows& w, const sims::Definition& d)
{
    installTypedWindows();
    return static_cast<W&>(w.window(d));
}
inline frmVibration& vibrationWindow(Windows& w) { return typedWindow<frmVibration>(w, vibration::definition()); }
inline frmRotaion& rotationWindow(Windows& w) { return typedWindow<frmRotaion>(w, rotation::definition()); }
inline frm2Bolls& twoBallsWindow(Windows& w) { return typedWindow<frm2Bolls>(w, two_balls::definition()); }
inline frmElasticCode& rubberCordWindow(Windows& w) { return typedWindow<frmElasticCode>(w, rubber_cord::definition()); }

// Installed before any test runs, in every test program that includes this.
inline const bool kTypedWindowsInstalled = (installTypedWindows(), true);

// An experiment as test tables name it: its definition, compared by identity.
struct Sim {
    Sim(const sims::Definition& d) : definition(&d) {}
    operator const sims::Definition&() const { return *definition; }
    bool operator==(const Sim&) const = default;
    const sims::Definition* definition;
};

#pragma once
// The spring-vibration window: a ball hanging from the top edge on a vertical
// spring, vibrating with viscous damping.
//
// The physics is vibration::Model's (vibration_model.h); the window reads the
// five boxes into it, steps it once per tick and draws the spring as a
// zig-zag of 40 lines and the ball as a red disc, one unit of length as 8
// twips. A press pulls the ball to the press's X (taken as a length) and lets
// it go at rest.

#include "runtime/forms/form.h"
#include "sims/vibration/vibration_model.h"

class frmVibration : public rt::Form {
public:
    frmVibration();

    // The model lives as long as the window object; its state also goes by
    // the names the window has always given it.
    vibration::Model Spring;
    double& Force = Spring.Force;            // spring force of the latest tick
    double& Stiffness = Spring.Stiffness;    // from Text3
    double& RestLength = Spring.RestLength;  // from Text2
    double& Position = Spring.Position;      // spring length = ball depth
    double& Velocity = Spring.Velocity;
    double& Accel = Spring.Accel;            // acceleration of the latest tick
    double& Mass = Spring.Mass;              // from Text4
    double& Viscosity = Spring.Viscosity;    // from Text5

    rt::Timer Timer1;

protected:
    void Form_Load() override;
    void Form_MouseDown(int button, int shift, float x, float y) override;

private:
    void InitSimulation();
    void Command1_Click();
    void Timer1_Timer();

    QLineEdit& Text1;
    QLineEdit& Text2;
    QLineEdit& Text3;
    QLineEdit& Text4;
    QLineEdit& Text5;
};

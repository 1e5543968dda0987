#pragma once
// The spring-vibration window: a ball hanging from the top edge on a vertical
// spring, vibrating with viscous damping.
//
// The model is one-dimensional and advanced once per tick (time unit: one
// tick), semi-implicit Euler with a damping factor on the whole new velocity:
//   Force    = (Position - RestLength) * (-Stiffness)
//   Accel    = Force / Mass
//   Velocity = (1 - Viscosity) * (Accel + Velocity)
//   Position = Position + Velocity
// Position is the spring's length in model units, which is also the ball's
// depth below the top edge; one unit is drawn as 8 twips. There is no
// gravity: the ball swings about the spring's natural length. A press pulls
// the ball to the press's X (taken as a length) and lets it go at rest.

#include "form.h"

class frmVibration : public rt::Form {
public:
    frmVibration();

    // The window's state, in the order the program keeps it.
    double Force = 0;       // spring force of the latest tick
    double Stiffness = 0;   // from Text3, force per unit of stretch
    double RestLength = 0;  // from Text2, model units
    double Position = 0;    // spring length = ball depth, model units
    double Velocity = 0;    // units per tick
    double Accel = 0;       // acceleration of the latest tick
    double Mass = 0;        // from Text4
    double Viscosity = 0;   // from Text5, share of the velocity lost per tick

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

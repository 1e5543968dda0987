#pragma once
// The rubber-cord rotation window: a mass tied by an elastic cord to the
// mouse pointer. Moving the pointer drags the mass after it; circling the
// pointer swings the mass round it.
//
// The physics is rotation::Model's (rotation_model.h); the window reads the
// three boxes into it, steps it once per tick and draws the cord and the
// mass in twips. Every move of the pointer over the window's own surface
// moves the cord's end, even while frozen. A press freezes the animation
// (timer off); "変更" reads the boxes again and starts over from (240, 240)
// at rest.

#include "runtime/forms/form.h"
#include "sims/rotation/rotation_model.h"

class frmRotaion : public rt::Form {
public:
    frmRotaion();

    // The model lives as long as the window object; its state also goes by
    // the names the window has always given it.
    rotation::Model Mass;
    double& MouseX = Mass.MouseX;  // held end of the cord, twips
    double& MouseY = Mass.MouseY;
    double& BallX = Mass.BallX;    // centre of the mass, twips
    double& BallY = Mass.BallY;
    double& VelocityX = Mass.VelocityX;
    double& VelocityY = Mass.VelocityY;
    double& NegStiffness = Mass.NegStiffness;  // -(Text2)
    double& Relax = Mass.Relax;                // from Text3

    rt::Timer Timer1;

protected:
    void Form_Load() override;
    void Form_MouseDown(int button, int shift, float x, float y) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;

private:
    void InitSimulation();
    void Command1_Click();
    void Timer1_Timer();

    QLineEdit& Text1;
    QLineEdit& Text2;
    QLineEdit& Text3;
};

#pragma once
// The two-ball spring window: a large and a small ball joined by a spring,
// falling onto a floor line, with the parameter boxes on the right.
//
// Each tick steps the model (two_balls_model.h), beeps once per floor bounce,
// redraws the floor, the spring and the balls at DisplayScale twips per unit,
// and stops the timer once the pair lies still on its floors. "変更" reads
// every box and puts the balls back at their start (their velocities kept);
// a press anywhere on the window puts the large ball at the pointer at rest
// and starts the timer again.

#include "runtime/forms/form.h"
#include "sims/two_balls/two_balls_model.h"

class frm2Bolls : public rt::Form {
public:
    frm2Bolls();

    // The model lives as long as the window object: closing and reopening
    // the window keeps the velocities the balls had.
    two_balls::Model Balls;

    rt::Timer Timer1;

protected:
    void Form_Load() override;
    void Form_MouseDown(int button, int shift, float x, float y) override;

private:
    void InitSimulation();
    void Command1_Click();
    void Timer1_Timer();
    void tick();

    QLineEdit& Text1;
    QLineEdit& Text2;
    QLineEdit& Text3;
    QLineEdit& Text4;
    QLineEdit& Text5;
    QLineEdit& Text6;
    QLineEdit& Text7;
};

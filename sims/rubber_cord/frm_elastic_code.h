#pragma once
// The rubber-cord window: a cord of nodes falling inside an olive frame,
// yanked by a press of the mouse.
//
// The physics is ChainModel's (chain_model.h); the window reads the six
// boxes into it, steps it once per tick and draws the frame and the cord,
// node i at (3 * X(i), 3 * Y(i)) twips. A press anywhere on the window's
// own surface drags node 0 to the pointer for the next tick.

#include "sims/rubber_cord/chain_model.h"
#include "runtime/forms/form.h"

class frmElasticCode : public rt::Form {
public:
    frmElasticCode();

    ChainModel Chain;

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
    QLineEdit& Text6;
};

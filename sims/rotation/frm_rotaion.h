#pragma once
// The rubber-cord rotation window: a mass tied by an elastic cord to the
// mouse pointer. Moving the pointer drags the mass after it; circling the
// pointer swings the mass round it.
//
// The model lives in the window and is advanced once per tick (time unit: one
// tick), positions in twips of the client area (origin top left, y down):
//   VelocityX = ((BallX - MouseX) * NegStiffness + VelocityX) * Relax
//   VelocityY = ((BallY - MouseY) * NegStiffness + VelocityY) * Relax
//   BallX     = BallX + VelocityX
//   BallY     = BallY + VelocityY
// Both velocities come from the positions before the move, the positions then
// move by the new velocities. The pull is proportional to the whole offset in
// each axis on its own: no mass, no gravity, no rest length, no walls.
// NegStiffness is the cord's stiffness with its sign turned (per tick
// squared); Relax is the share of the velocity kept each tick (1 keeps all of
// it, 0 stops the mass).
//
// The pointer (MouseX, MouseY) is whatever the window last saw of it and is
// never reset: until the pointer first crosses the window the cord is held at
// the top-left corner. A press freezes the animation (timer off); "変更"
// reads the boxes again and starts over from (240, 240) at rest.

#include "form.h"

class frmRotaion : public rt::Form {
public:
    frmRotaion();

    // The window's state. All of it is 0 until the window first loads.
    double MouseX = 0;        // held end of the cord, twips
    double MouseY = 0;
    double BallX = 0;         // centre of the mass, twips
    double BallY = 0;
    double VelocityX = 0;     // twips per tick
    double VelocityY = 0;
    double NegStiffness = 0;  // -(Text2), per tick squared
    double Relax = 0;         // from Text3, share of the velocity kept per tick

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

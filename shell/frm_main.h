#pragma once
// The launcher: four buttons, each showing one simulation window. It keeps
// no state and no timer, and stays open while the simulations run.

#include "form.h"

class Windows;

class frmMain : public rt::Form {
public:
    explicit frmMain(Windows& windows);

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    Windows& m_windows;
};

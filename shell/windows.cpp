#include "windows.h"

#include "frm_elastic_code.h"
#include "frm_rotaion.h"
#include "frm_two_bolls.h"
#include "frm_vibration.h"

Windows::Windows() = default;
Windows::~Windows() = default;

namespace {
template <typename Window>
Window& made(std::unique_ptr<Window>& slot)
{
    if (!slot)
        slot = std::make_unique<Window>();
    return *slot;
}
}  // namespace

frmRotaion& Windows::rotation() { return made(m_rotation); }
frm2Bolls& Windows::twoBalls() { return made(m_twoBalls); }
frmElasticCode& Windows::rubberCord() { return made(m_rubberCord); }
frmVibration& Windows::vibration() { return made(m_vibration); }

rt::Form& Windows::show(SimulationWindow window)
{
    rt::Form* form = nullptr;
    switch (window) {
    case SimulationWindow::Rotation:
        form = &rotation();
        break;
    case SimulationWindow::Vibration:
        form = &vibration();
        break;
    case SimulationWindow::TwoBalls:
        form = &twoBalls();
        break;
    case SimulationWindow::RubberCord:
        form = &rubberCord();
        break;
    }
    form->Show();
    return *form;
}

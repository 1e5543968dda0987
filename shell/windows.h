#pragma once
// The program's one instance of each simulation window, each made on first
// use and kept for the whole run: closing a window only unloads it, and the
// window's own state outlives that.

#include <memory>

class frm2Bolls;
class frmElasticCode;
class frmRotaion;
class frmVibration;
namespace rt {
class Form;
}

enum class SimulationWindow { Rotation, Vibration, TwoBalls, RubberCord };

class Windows {
public:
    Windows();
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    frmRotaion& rotation();
    frm2Bolls& twoBalls();
    frmElasticCode& rubberCord();
    frmVibration& vibration();

    // Makes the window if need be and shows it, as its launcher button does.
    rt::Form& show(SimulationWindow window);

    // Those made so far, for tests.
    frmRotaion* rotationIfMade() const { return m_rotation.get(); }
    frm2Bolls* twoBallsIfMade() const { return m_twoBalls.get(); }
    frmElasticCode* rubberCordIfMade() const { return m_rubberCord.get(); }
    frmVibration* vibrationIfMade() const { return m_vibration.get(); }

private:
    std::unique_ptr<frmRotaion> m_rotation;
    std::unique_ptr<frm2Bolls> m_twoBalls;
    std::unique_ptr<frmElasticCode> m_rubberCord;
    std::unique_ptr<frmVibration> m_vibration;
};

#pragma once
// A window of the program, as its own code sees it.
//
// A Form is a top-level window whose client area is measured in twips. Its
// controls (labels, text boxes, buttons) are built from a design-time table;
// its picture is a Canvas. Its code overrides the events it handles
// (Form_Load, Form_MouseDown, Form_MouseMove), connects button clicks with
// onClick, and owns Timers. Every event runs through runEvent, the one place
// where a RuntimeError is caught: the handler is abandoned where it failed,
// the window's timers are switched off and the error is reported; the
// program and its other windows go on.
//
// Lifecycle: the first Show loads the window (controls at their design-time
// state, then Form_Load) and shows it; Show on an open window brings it
// forward; closing unloads it (timers off). The next Show loads it again,
// while the window object and its own members live on.

#include "canvas.h"
#include "runtime_error.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace rt {

enum class ControlKind { Label, TextBox, CommandButton };

// A colour value meaning "the control's default background".
constexpr Color kDefaultColor = 0xFF000000u;

struct ControlDef {
    ControlKind kind;
    const char* name;
    const char* text;  // caption of a label or button, default text of a box (UTF-8)
    int left, top, width, height;  // twips
    int tabIndex;
    Color backColor = kDefaultColor;
};

// Mouse buttons and shift state as the events deliver them.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

class Form;

class Timer {
public:
    Timer(Form& owner, std::function<void()> onTick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::int32_t Interval() const { return m_interval; }
    // Milliseconds between ticks, 0 to 65 535; 0 gives no ticks. Anything
    // else is the invalid-property-value error.
    void setInterval(std::int32_t milliseconds);

    bool Enabled() const { return m_enabled; }
    // Switching on starts a new period.
    void setEnabled(bool enabled);

    // True while ticks are actually coming (enabled with a non-zero interval).
    bool isTicking() const;

    // One tick, through the window's event dispatch, exactly as a timeout
    // would run it. Tests call this instead of waiting.
    void fire();

private:
    friend class Form;
    void restart();
    void setDesignState();

    Form& m_owner;
    std::function<void()> m_onTick;
    QTimer* m_timer;
    std::int32_t m_interval = 0;
    bool m_enabled = true;
};

class Form : public QWidget, public Canvas {
    Q_OBJECT

public:
    Form(const char* name, const QString& caption, int clientWidth, int clientHeight,
         std::span<const ControlDef> controls);
    ~Form() override;

    void Show();
    bool isLoaded() const { return m_loaded; }
    const QString& formName() const { return m_name; }

    QLineEdit& textBox(const char* name) const;
    QPushButton& button(const char* name) const;
    QLabel& label(const char* name) const;
    QWidget& control(const char* name) const;
    // The design-time entry the control was built from, in twips, and the
    // client area it was laid out on.
    const ControlDef& controlDesign(const char* name) const;
    int clientWidthTwips() const { return m_clientWidthTwips; }
    int clientHeightTwips() const { return m_clientHeightTwips; }

    // Runs one event handler; the one place where run-time errors stop.
    void runEvent(const std::function<void()>& handler);

    void stopTimers();

protected:
    virtual void Form_Load() {}
    virtual void Form_MouseDown(int button, int shift, float x, float y);
    virtual void Form_MouseMove(int button, int shift, float x, float y);

    // A click on the button runs the handler through runEvent.
    void onClick(QPushButton& button, std::function<void()> handler);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Timer;
    struct Control {
        const ControlDef* def;
        QWidget* widget;
    };
    const Control& find(const char* name) const;
    void loadDesignState();

    QString m_name;
    int m_clientWidthTwips;
    int m_clientHeightTwips;
    std::vector<Control> m_controls;
    std::vector<Timer*> m_timers;
    bool m_loaded = false;
};

// Text boxes are read with Val, like any number the program is given.
double Val(const QString& text);

// Tests own the clock: while real timeouts are held, a Timer still starts,
// stops and reports isTicking() as usual, but its QTimer's timeouts are
// dropped, so the only ticks a window gets are the ones a test fires. The
// test programs hold them from the start; a test that wants real ticks on
// the event loop opens a RealTimeouts scope.
void holdRealTimeouts(bool held);
bool realTimeoutsHeld();

class RealTimeouts {
public:
    RealTimeouts() : m_wasHeld(realTimeoutsHeld()) { holdRealTimeouts(false); }
    ~RealTimeouts() { holdRealTimeouts(m_wasHeld); }
    RealTimeouts(const RealTimeouts&) = delete;
    RealTimeouts& operator=(const RealTimeouts&) = delete;

private:
    bool m_wasHeld;
};

// The system beep. Tests replace it to count beeps.
void Beep();
void setBeepHandler(std::function<void()> handler);

// How run-time errors reach the user: a message box naming the window by
// default. Tests replace it with a recorder.
using ErrorReporter = std::function<void(Form& form, const RuntimeError& error)>;
void setErrorReporter(ErrorReporter reporter);
void resetErrorReporter();

// The program-wide look: the system UI font at 9 points, with a Japanese
// fallback so captions never show as boxes.
void applyApplicationLook();

}  // namespace rt

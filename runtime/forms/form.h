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
//
// Zoom: one factor for the whole program (100 % to 400 %) scales every
// window's client area, its controls and their fonts, and the replay of its
// picture; the window's code keeps working in the same twips, and mouse
// positions come back in them. At 100 % a window is laid out exactly as
// its design table says.
//
// Language: captions in the design tables are the Japanese source texts;
// they are translated with the window's name as context when the window
// loads and again whenever the application's language changes.

#include "runtime/canvas/canvas.h"
#include "runtime/canvas/design_table.h"
#include "runtime/canvas/scale.h"
#include "runtime/numeric/runtime_error.h"

#include <QPalette>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTimer;

namespace rt {

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

    // True while ticks are actually coming (enabled with a non-zero interval,
    // and not held).
    bool isTicking() const;

    // A held timer keeps its interval and its enabled state, as the window's
    // code set them, but gives no ticks until it is let go: a pause from
    // outside the window that the window's own code never sees.
    void setHeld(bool held);
    bool held() const { return m_held; }

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
    bool m_held = false;
};

// What ran through a window's event dispatch.
enum class FormEvent { Load, Click, Tick, MouseDown, MouseMove, Other };

class Form : public QWidget, public Canvas {
    Q_OBJECT

public:
    // The caption is the Japanese source text, translated in the context of
    // the window's name.
    Form(const char* name, const char* caption, int clientWidth, int clientHeight,
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

    // Runs one event handler; the one place where run-time errors stop.
    void runEvent(const std::function<void()>& handler);

    // Told after each event has run (also one that failed), to read the
    // window's state, e.g. to record it after every tick. A plain list
    // rather than a signal: it is called on every tick and must cost next
    // to nothing. A listener removes itself before it goes.
    class Listener {
    public:
        virtual void formEventRan(FormEvent event) = 0;

    protected:
        ~Listener() = default;
    };
    void addListener(Listener* listener);
    void removeListener(Listener* listener);

    void stopTimers();

    // A press or a move of the mouse on the client area at (x, y) twips,
    // through the window's event dispatch exactly as the mouse delivers it.
    // A replay presses through these, so it reaches the window's code with
    // the very twips that were recorded.
    void mouseDownAt(int button, int shift, float x, float y);
    void mouseMoveAt(int button, int shift, float x, float y);
    // Where the latest press or move was, in twips (for listeners).
    float lastMouseX() const { return m_lastMouseX; }
    float lastMouseY() const { return m_lastMouseY; }

    // The client area's design size in twips, and where it starts below a
    // menu bar, in pixels.
    int clientWidthTwips() const { return m_clientWidth; }
    int clientHeightTwips() const { return m_clientHeight; }
    int clientTop() const;

    // Pixels of the window for twips of the client area, at the current zoom.
    QPointF pixelOf(double x, double y) const;

protected:
    virtual void Form_Load() {}
    virtual void Form_MouseDown(int button, int shift, float x, float y);
    virtual void Form_MouseMove(int button, int shift, float x, float y);

    // A click on the button runs the handler through runEvent.
    void onClick(QPushButton& button, std::function<void()> handler);
    // Enter in any text box of the window clicks the button.
    void clickOnEnter(QPushButton& button);
    // A menu bar above the client area; the window grows by its height.
    void setMenuBar(QMenuBar* bar);

    // After the window has taken a new zoom or language.
    virtual void zoomApplied() {}
    virtual void retranslate() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class Timer;
    friend void setZoomPercent(int percent);
    void runEvent(FormEvent event, const std::function<void()>& handler);
    struct Control {
        const ControlDef* def;
        QWidget* widget;
    };
    const Control& find(const char* name) const;
    void loadDesignState();
    void applyZoom();
    void applyTitle();
    void applyCaptions();
    void fitCaptions();

    QString m_name;
    const char* m_caption;
    int m_clientWidth;
    int m_clientHeight;
    QMenuBar* m_menuBar = nullptr;
    std::vector<Control> m_controls;
    std::vector<Timer*> m_timers;
    std::vector<Listener*> m_listeners;
    bool m_loaded = false;
    float m_lastMouseX = 0;
    float m_lastMouseY = 0;
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

// One beep: the program's knock through the desktop's sound system, or the
// system bell where there is no sound output. Tests replace it to count
// beeps.
void Beep();
void setBeepHandler(std::function<void()> handler);

// How run-time errors reach the user: a message box naming the window by
// default. Tests replace it with a recorder.
using ErrorReporter = std::function<void(Form& form, const RuntimeError& error)>;
void setErrorReporter(ErrorReporter reporter);
void resetErrorReporter();

// The program-wide look: the system UI font at 9 points, with a Japanese
// fallback so captions never show as boxes; the Fusion style in the light
// palette every window is drawn for, whatever the desktop's theme.
void applyApplicationLook();

// The light palette every window keeps: black text on button face grey.
QPalette lightPalette();

// Where the file dialogs open: the folder of the file last saved or opened
// in any of them this run (the working folder at first), with `fileName`
// proposed in it. Each dialog tells the path the user chose.
QString dialogPath(const QString& fileName);
void rememberDialogPath(const QString& chosenPath);

bool isZoomLevel(int percent);
int zoomPercent();
// Applies at once to every window, open or not; anything but a zoom level
// is ignored.
void setZoomPercent(int percent);
// The level next to the current one, up (+1) or down (-1), staying at the
// ends.
int neighbourZoomLevel(int percent, int direction);
// Told of every change of zoom (to remember it, for example).
void setZoomListener(std::function<void(int percent)> listener);

}  // namespace rt

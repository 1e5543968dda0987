#include "form.h"

#include "convert.h"
#include "render.h"
#include "val.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <new>

namespace rt {
namespace {

bool g_realTimeoutsHeld = false;

int toPixels(int twips) { return qRound(twips / kTwipsPerPixel); }

std::function<void()>& beepHandler()
{
    static std::function<void()> handler;
    return handler;
}

void showErrorBox(Form& form, const RuntimeError& error)
{
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("SpringLab"),
                                QStringLiteral("実行時エラー '%1':\n\n%2\n\n「%3」のタイマーを止めました。"
                                               "値を直して［変更］を押すと、もう一度動きます。")
                                    .arg(error.code())
                                    .arg(QString::fromUtf8(error.what()))
                                    .arg(form.windowTitle()),
                                QMessageBox::Ok, &form);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

ErrorReporter& errorReporter()
{
    static ErrorReporter reporter = showErrorBox;
    return reporter;
}

int buttonsOf(Qt::MouseButtons buttons)
{
    int result = 0;
    if (buttons & Qt::LeftButton)
        result |= kLeftButton;
    if (buttons & Qt::RightButton)
        result |= kRightButton;
    if (buttons & Qt::MiddleButton)
        result |= kMiddleButton;
    return result;
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    int result = 0;
    if (modifiers & Qt::ShiftModifier)
        result |= kShiftMask;
    if (modifiers & Qt::ControlModifier)
        result |= kCtrlMask;
    if (modifiers & Qt::AltModifier)
        result |= kAltMask;
    return result;
}

float toTwips(qreal pixels) { return static_cast<float>(pixels * kTwipsPerPixel); }

// The label sizes were laid out for a font with 12-pixel lines; the
// Japanese fonts found here have taller ones, and a two-line note would lose
// its second line. Such a label gets a slightly smaller font until its whole
// caption shows.
void shrinkToFit(QLabel& label)
{
    QFont font = label.font();
    const QRect room = label.contentsRect();
    // A single line may touch the bottom edge (the glyphs leave room below
    // their baseline); a line that does not fit at all must go.
    auto fits = [&] {
        const QFontMetrics metrics(font);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const QRect frame(0, 0, room.width(), 0);
        const QRect needed = metrics.boundingRect(frame, flags, label.text());
        const int oneLine = metrics.boundingRect(frame, flags, QStringLiteral("あ")).height();
        return needed.height() <= std::max(room.height(), oneLine) && needed.width() <= room.width();
    };
    while (!fits() && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label.setFont(font);
}

}  // namespace

// ---------------------------------------------------------------- Timer

void holdRealTimeouts(bool held) { g_realTimeoutsHeld = held; }
bool realTimeoutsHeld() { return g_realTimeoutsHeld; }

Timer::Timer(Form& owner, std::function<void()> onTick)
    : m_owner(owner), m_onTick(std::move(onTick)), m_timer(new QTimer(&owner))
{
    // A precise timer: at an interval of 10 the window gets close to 100
    // ticks a second, as the motion's speed on screen depends on it.
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, &owner, [this] {
        if (!g_realTimeoutsHeld)
            fire();
    });
    owner.m_timers.push_back(this);
}

Timer::~Timer()
{
    auto& timers = m_owner.m_timers;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::setInterval(std::int32_t milliseconds)
{
    if (milliseconds < 0 || milliseconds > 65535)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    m_interval = milliseconds;
    restart();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

bool Timer::isTicking() const { return m_timer->isActive(); }

void Timer::restart()
{
    if (m_enabled && m_interval > 0)
        m_timer->start(m_interval);
    else
        m_timer->stop();
}

void Timer::setDesignState()
{
    m_interval = 0;
    m_enabled = true;
    m_timer->stop();
}

void Timer::fire()
{
    m_owner.runEvent(m_onTick);
}

// ---------------------------------------------------------------- Form

Form::Form(const char* name, const QString& caption, int clientWidth, int clientHeight,
           std::span<const ControlDef> controls)
    : QWidget(nullptr),
      m_name(QString::fromUtf8(name)),
      m_clientWidthTwips(clientWidth),
      m_clientHeightTwips(clientHeight)
{
    setObjectName(m_name);
    setWindowTitle(caption);
    setFixedSize(toPixels(clientWidth), toPixels(clientHeight));
    setMouseTracking(true);  // moves without a button reach Form_MouseMove
    setAttribute(Qt::WA_OpaquePaintEvent);

    // Controls are made in tab-index order: Qt's focus chain is the order of
    // creation, so Tab then walks the tab indices, not the screen order.
    std::vector<const ControlDef*> byTab;
    for (const ControlDef& def : controls)
        byTab.push_back(&def);
    std::stable_sort(byTab.begin(), byTab.end(),
                     [](const ControlDef* a, const ControlDef* b) { return a->tabIndex < b->tabIndex; });
    for (const ControlDef* defPointer : byTab) {
        const ControlDef& def = *defPointer;
        QWidget* widget = nullptr;
        switch (def.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(this);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(this);
            // The design sizes are tight (18 pixels high): no padding
            // beyond the frame, so a 9-point number stays whole.
            box->setTextMargins(1, 0, 1, 0);
            box->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
            // Numbers are typed half-width: with the input method off a
            // Japanese keyboard cannot slip full-width digits into a box
            // (pasted text still goes through Val like any other).
            box->setAttribute(Qt::WA_InputMethodEnabled, false);
            widget = box;
            break;
        }
        case ControlKind::CommandButton:
            widget = new QPushButton(this);
            break;
        }
        widget->setObjectName(QString::fromUtf8(def.name));
        widget->setGeometry(toPixels(def.left), toPixels(def.top), toPixels(def.width),
                            toPixels(def.height));
        // Presses and moves over a control belong to the control, never to
        // the window beneath it (labels would otherwise pass them on).
        widget->setAttribute(Qt::WA_NoMousePropagation);
        if (def.backColor != kDefaultColor) {
            widget->setAutoFillBackground(true);
            QPalette palette = widget->palette();
            palette.setColor(QPalette::Window, toQColor(def.backColor));
            widget->setPalette(palette);
        }
        if (def.kind == ControlKind::Label)
            widget->setFocusPolicy(Qt::NoFocus);
        m_controls.push_back({&def, widget});
    }
}

Form::~Form() = default;

const Form::Control& Form::find(const char* name) const
{
    for (const Control& c : m_controls)
        if (qstrcmp(c.def->name, name) == 0)
            return c;
    throw RuntimeError(ErrorNumber::InvalidProcedureCall,
                       std::string("コントロールがありません: ") + name);
}

QWidget& Form::control(const char* name) const { return *find(name).widget; }

const ControlDef& Form::controlDesign(const char* name) const { return *find(name).def; }

QLineEdit& Form::textBox(const char* name) const { return static_cast<QLineEdit&>(control(name)); }
QPushButton& Form::button(const char* name) const { return static_cast<QPushButton&>(control(name)); }
QLabel& Form::label(const char* name) const { return static_cast<QLabel&>(control(name)); }

void Form::loadDesignState()
{
    for (const Control& c : m_controls) {
        const QString text = QString::fromUtf8(c.def->text);
        switch (c.def->kind) {
        case ControlKind::Label:
            static_cast<QLabel*>(c.widget)->setText(text);
            shrinkToFit(*static_cast<QLabel*>(c.widget));
            break;
        case ControlKind::TextBox:
            static_cast<QLineEdit*>(c.widget)->setText(text);
            break;
        case ControlKind::CommandButton:
            static_cast<QPushButton*>(c.widget)->setText(text);
            break;
        }
    }
    for (Timer* timer : m_timers)
        timer->setDesignState();
    resetCanvas(fromQColor(palette().color(QPalette::WindowText)),
                fromQColor(palette().color(QPalette::Window)));
    update();
}

void Form::Show()
{
    if (m_loaded) {
        show();
        raise();
        activateWindow();
        return;
    }
    loadDesignState();
    m_loaded = true;
    runEvent([this] { Form_Load(); });
    show();
    raise();
    activateWindow();
    // The control with the lowest tab index that can take the focus.
    QWidget* first = nullptr;
    int firstIndex = 0;
    for (const Control& c : m_controls) {
        if (c.def->kind == ControlKind::Label)
            continue;
        if (!first || c.def->tabIndex < firstIndex) {
            first = c.widget;
            firstIndex = c.def->tabIndex;
        }
    }
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

void Form::runEvent(const std::function<void()>& handler)
{
    const std::uint64_t before = pictureGeneration();
    try {
        handler();
    } catch (const RuntimeError& error) {
        stopTimers();
        errorReporter()(*this, error);
    } catch (const std::bad_alloc&) {
        stopTimers();
        errorReporter()(*this, RuntimeError(ErrorNumber::OutOfMemory));
    }
    if (pictureGeneration() != before)
        update();
}

void Form::stopTimers()
{
    for (Timer* timer : m_timers)
        timer->setEnabled(false);
}

void Form::onClick(QPushButton& button, std::function<void()> handler)
{
    connect(&button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { runEvent(handler); });
}

void Form::Form_MouseDown(int, int, float, float) {}
void Form::Form_MouseMove(int, int, float, float) {}

void Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    renderPicture(painter, displayList(), BackColor);
}

void Form::mousePressEvent(QMouseEvent* event)
{
    const int buttons = buttonsOf(event->button());
    const int shift = shiftOf(event->modifiers());
    const float x = toTwips(event->position().x());
    const float y = toTwips(event->position().y());
    runEvent([&] { Form_MouseDown(buttons, shift, x, y); });
}

void Form::mouseMoveEvent(QMouseEvent* event)
{
    const int buttons = buttonsOf(event->buttons());
    const int shift = shiftOf(event->modifiers());
    const float x = toTwips(event->position().x());
    const float y = toTwips(event->position().y());
    runEvent([&] { Form_MouseMove(buttons, shift, x, y); });
}

void Form::closeEvent(QCloseEvent* event)
{
    stopTimers();
    m_loaded = false;
    event->accept();
}

// ---------------------------------------------------------------- services

double Val(const QString& text) { return rt::Val(std::string_view(text.toUtf8().toStdString())); }

void Beep()
{
    if (beepHandler())
        beepHandler()();
    else
        QApplication::beep();
}

void setBeepHandler(std::function<void()> handler) { beepHandler() = std::move(handler); }

void setErrorReporter(ErrorReporter reporter) { errorReporter() = std::move(reporter); }

void resetErrorReporter() { errorReporter() = showErrorBox; }

void applyApplicationLook()
{
    QFont font = QApplication::font();
    font.setPointSize(9);
    QStringList families{font.family()};
    for (const char* japanese : {"Noto Sans CJK JP", "Noto Sans JP", "Yu Gothic UI", "Meiryo UI",
                                 "MS UI Gothic", "Hiragino Sans"})
        families << QString::fromLatin1(japanese);
    font.setFamilies(families);
    QApplication::setFont(font);
}

}  // namespace rt

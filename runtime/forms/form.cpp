#include "runtime/forms/form.h"

#include "runtime/forms/beep_sound.h"
#include "runtime/numeric/convert.h"
#include "runtime/forms/render.h"
#include "runtime/numeric/val.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleFactory>
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
int g_zoomPercent = 100;

double zoomFactor() { return g_zoomPercent / 100.0; }

// Twips to whole pixels at the current zoom.
int toPixels(int twips) { return qRound(twips * zoomFactor() / kTwipsPerPixel); }

std::vector<Form*>& allForms()
{
    static std::vector<Form*> forms;
    return forms;
}

std::function<void(int)>& zoomListener()
{
    static std::function<void(int)> listener;
    return listener;
}

std::function<void()>& beepHandler()
{
    static std::function<void()> handler;
    return handler;
}

// The box is titled with the failing window's caption, so that among
// several open windows the title bar alone tells which one stopped.
void showErrorBox(Form& form, const RuntimeError& error)
{
    auto* box = new QMessageBox(QMessageBox::Critical, form.windowTitle(),
                                QCoreApplication::translate("rt::Form", errorReportText())
                                    .arg(error.code())
                                    .arg(QCoreApplication::translate("RuntimeError", error.what()))
                                    .arg(form.windowTitle()),
                                QMessageBox::Ok, &form);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_WindowPropagation);  // the window's zoomed font
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

float toTwips(qreal pixels) { return static_cast<float>(pixels * kTwipsPerPixel / zoomFactor()); }

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
    const double smallest = 6 * zoomFactor();
    const double step = 0.25 * zoomFactor();
    while (!fits() && font.pointSizeF() > smallest)
        font.setPointSizeF(font.pointSizeF() - step);
    label.setFont(font);
}

// A button's caption is one line: a longer one (in another language) gets a
// smaller font rather than losing its ends.
void shrinkToFit(QPushButton& button)
{
    QFont font = button.font();
    const int margin = 2 * button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    const int room = button.contentsRect().width() - margin;
    const double smallest = 6 * zoomFactor();
    const double step = 0.25 * zoomFactor();
    while (QFontMetrics(font).horizontalAdvance(button.text()) > room && font.pointSizeF() > smallest)
        font.setPointSizeF(font.pointSizeF() - step);
    button.setFont(font);
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
    m_interval = CheckedInterval(milliseconds);
    restart();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

bool Timer::isTicking() const { return m_timer->isActive(); }

void Timer::setHeld(bool held)
{
    m_held = held;
    restart();
}

void Timer::restart()
{
    if (m_enabled && m_interval > 0 && !m_held)
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
    m_owner.runEvent(FormEvent::Tick, m_onTick);
}

// ---------------------------------------------------------------- Form

Form::Form(const char* name, const char* caption, int clientWidth, int clientHeight,
           std::span<const ControlDef> controls)
    : QWidget(nullptr),
      m_name(QString::fromUtf8(name)),
      m_caption(caption),
      m_clientWidth(clientWidth),
      m_clientHeight(clientHeight)
{
    setObjectName(m_name);
    applyTitle();
    setMouseTracking(true);  // moves without a button reach Form_MouseMove
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pictures are drawn for a light window (a black cord on button-face
    // grey); a dark desktop theme must not turn the ground dark under them.
    setPalette(lightPalette());
    // The layout is absolute, so a window only grows by zooming: no
    // maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    allForms().push_back(this);

    // Zoom keys in every window, as in a browser: Ctrl+Plus (also Ctrl+=, the
    // same key unshifted), Ctrl+Minus, Ctrl+0.
    auto zoomKey = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                     QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        zoomKey(keys, [] { setZoomPercent(neighbourZoomLevel(g_zoomPercent, +1)); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_Minus),
            [] { setZoomPercent(neighbourZoomLevel(g_zoomPercent, -1)); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_0), [] { setZoomPercent(100); });

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
            // Its style sheet would take the application's colours (dark on
            // a dark desktop) over the window's.
            box->setPalette(lightPalette());
            widget = box;
            break;
        }
        case ControlKind::CommandButton:
            widget = new QPushButton(this);
            break;
        }
        widget->setObjectName(QString::fromUtf8(def.name));
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
    applyZoom();
}

Form::~Form()
{
    auto& forms = allForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

int Form::clientTop() const { return m_menuBar ? m_menuBar->height() : 0; }

QPointF Form::pixelOf(double x, double y) const
{
    return {x * zoomFactor() / kTwipsPerPixel, clientTop() + y * zoomFactor() / kTwipsPerPixel};
}

void Form::setMenuBar(QMenuBar* bar)
{
    m_menuBar = bar;
    bar->setParent(this);
    // Always in the window (never a desktop's global menu), so the client
    // area below it is where the layout expects it.
    bar->setNativeMenuBar(false);
    applyZoom();
}

void Form::applyZoom()
{
    // The window's own font, from which every control's comes; at 100 % the
    // application's font as it stands.
    if (g_zoomPercent == 100) {
        setFont(QFont());
    } else {
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * zoomFactor());
        setFont(font);
    }
    int top = 0;
    if (m_menuBar) {
        m_menuBar->setFont(QFont());
        top = m_menuBar->sizeHint().height();
        m_menuBar->setGeometry(0, 0, toPixels(m_clientWidth), top);
    }
    setFixedSize(toPixels(m_clientWidth), top + toPixels(m_clientHeight));
    for (const Control& c : m_controls) {
        const ControlDef& def = *c.def;
        c.widget->setGeometry(toPixels(def.left), top + toPixels(def.top), toPixels(def.width),
                              toPixels(def.height));
    }
    fitCaptions();
    update();
    zoomApplied();
}

void Form::applyTitle()
{
    setWindowTitle(QCoreApplication::translate(m_name.toUtf8().constData(), m_caption));
}

void Form::applyCaptions()
{
    applyTitle();
    const QByteArray context = m_name.toUtf8();
    for (const Control& c : m_controls) {
        const QString text = QCoreApplication::translate(context.constData(), c.def->text);
        if (c.def->kind == ControlKind::Label)
            static_cast<QLabel*>(c.widget)->setText(text);
        else if (c.def->kind == ControlKind::CommandButton)
            static_cast<QPushButton*>(c.widget)->setText(text);
    }
    fitCaptions();
}

void Form::fitCaptions()
{
    // Each caption starts from the window's font again: a smaller one chosen
    // for another language or zoom must not stay.
    for (const Control& c : m_controls) {
        if (c.def->kind == ControlKind::Label) {
            c.widget->setFont(QFont());
            shrinkToFit(*static_cast<QLabel*>(c.widget));
        } else if (c.def->kind == ControlKind::CommandButton) {
            c.widget->setFont(QFont());
            shrinkToFit(*static_cast<QPushButton*>(c.widget));
        } else {
            // A box's style sheet fixes the font it had when polished; it
            // takes the window's font only when told.
            c.widget->setFont(font());
        }
    }
}

void Form::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The boxes keep what was typed into them; only fixed texts change.
        if (m_loaded)
            applyCaptions();
        else
            applyTitle();
        retranslate();
    }
    QWidget::changeEvent(event);
}

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
    for (const Control& c : m_controls)
        if (c.def->kind == ControlKind::TextBox)
            static_cast<QLineEdit*>(c.widget)->setText(QString::fromUtf8(c.def->text));
    applyCaptions();
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
    runEvent(FormEvent::Load, [this] { Form_Load(); });
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
    runEvent(FormEvent::Other, handler);
}

void Form::runEvent(FormEvent event, const std::function<void()>& handler)
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
    for (std::size_t i = 0; i < m_listeners.size(); ++i)
        m_listeners[i]->formEventRan(event);
}

void Form::addListener(Listener* listener) { m_listeners.push_back(listener); }

void Form::removeListener(Listener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void Form::stopTimers()
{
    for (Timer* timer : m_timers)
        timer->setEnabled(false);
}

void Form::onClick(QPushButton& button, std::function<void()> handler)
{
    connect(&button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { runEvent(FormEvent::Click, handler); });
}

void Form::clickOnEnter(QPushButton& button)
{
    for (const Control& c : m_controls)
        if (c.def->kind == ControlKind::TextBox)
            connect(static_cast<QLineEdit*>(c.widget), &QLineEdit::returnPressed, &button,
                    &QPushButton::click);
}

void Form::Form_MouseDown(int, int, float, float) {}
void Form::Form_MouseMove(int, int, float, float) {}

void Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The picture is replayed at the zoom from its twips, so lines and
    // circles stay sharp at any size.
    painter.translate(0, clientTop());
    painter.scale(zoomFactor(), zoomFactor());
    renderPicture(painter, displayList(), BackColor);
}

void Form::mousePressEvent(QMouseEvent* event)
{
    const int buttons = buttonsOf(event->button());
    const int shift = shiftOf(event->modifiers());
    const float x = toTwips(event->position().x());
    const float y = toTwips(event->position().y() - clientTop());
    mouseDownAt(buttons, shift, x, y);
}

void Form::mouseMoveEvent(QMouseEvent* event)
{
    const int buttons = buttonsOf(event->buttons());
    const int shift = shiftOf(event->modifiers());
    const float x = toTwips(event->position().x());
    const float y = toTwips(event->position().y() - clientTop());
    mouseMoveAt(buttons, shift, x, y);
}

void Form::mouseDownAt(int buttons, int shift, float x, float y)
{
    m_lastMouseX = x;
    m_lastMouseY = y;
    runEvent(FormEvent::MouseDown, [&] { Form_MouseDown(buttons, shift, x, y); });
}

void Form::mouseMoveAt(int buttons, int shift, float x, float y)
{
    m_lastMouseX = x;
    m_lastMouseY = y;
    runEvent(FormEvent::MouseMove, [&] { Form_MouseMove(buttons, shift, x, y); });
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
    else if (!BeepSound::instance().play())
        QApplication::beep();  // no sound output: the system bell, silently if it has none
}

void setBeepHandler(std::function<void()> handler) { beepHandler() = std::move(handler); }

void setErrorReporter(ErrorReporter reporter) { errorReporter() = std::move(reporter); }

void resetErrorReporter() { errorReporter() = showErrorBox; }

QPalette lightPalette()
{
    static const QPalette palette = [] {
        const QColor face = toQColor(kFaceColor);
        const QColor text(0, 0, 0);
        QPalette p(text, face, Qt::white, QColor(160, 160, 160), QColor(160, 160, 160), text,
                   Qt::white);
        p.setColor(QPalette::Window, face);
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::Button, face);
        p.setColor(QPalette::ButtonText, text);
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
        p.setColor(QPalette::Text, text);
        p.setColor(QPalette::Highlight, QColor(0, 120, 215));
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(QPalette::ToolTipText, text);
        p.setColor(QPalette::PlaceholderText, QColor(109, 109, 109));
        p.setColor(QPalette::Link, QColor(0, 102, 204));
        p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(109, 109, 109));
        p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(109, 109, 109));
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
        return p;
    }();
    return palette;
}

bool isZoomLevel(int percent)
{
    return std::find(std::begin(kZoomLevels), std::end(kZoomLevels), percent) != std::end(kZoomLevels);
}

int zoomPercent() { return g_zoomPercent; }

void setZoomPercent(int percent)
{
    if (!isZoomLevel(percent))
        return;
    if (percent != g_zoomPercent) {
        g_zoomPercent = percent;
        // Geometry and fonts only: timers, state and pictures are untouched,
        // so an animation runs straight on at the new size.
        for (Form* form : allForms())
            form->applyZoom();
    }
    // Told even of the zoom it already has: a choice made again is still
    // the user's choice.
    if (zoomListener())
        zoomListener()(percent);
}

int neighbourZoomLevel(int percent, int direction)
{
    const int* level = std::lower_bound(std::begin(kZoomLevels), std::end(kZoomLevels), percent);
    if (direction > 0) {
        if (level != std::end(kZoomLevels) && *level == percent)
            ++level;
        return level == std::end(kZoomLevels) ? kZoomLevels[std::size(kZoomLevels) - 1] : *level;
    }
    return level == std::begin(kZoomLevels) ? kZoomLevels[0] : *(level - 1);
}

void setZoomListener(std::function<void(int)> listener) { zoomListener() = std::move(listener); }

void applyApplicationLook()
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(lightPalette());
    QFont font = QApplication::font();
    font.setPointSize(9);
    QStringList families{font.family()};
    for (const char* japanese : {"Noto Sans CJK JP", "Noto Sans JP", "Yu Gothic UI", "Meiryo UI",
                                 "MS UI Gothic", "Hiragino Sans"})
        families << QString::fromLatin1(japanese);
    font.setFamilies(families);
    QApplication::setFont(font);
}

namespace {

QString& lastDialogFolder()
{
    static QString folder;
    return folder;
}

}  // namespace

QString dialogPath(const QString& fileName)
{
    const QString folder = lastDialogFolder().isEmpty() ? QDir::currentPath() : lastDialogFolder();
    return QDir(folder).filePath(fileName);
}

void rememberDialogPath(const QString& chosenPath)
{
    if (!chosenPath.isEmpty())
        lastDialogFolder() = QFileInfo(chosenPath).absolutePath();
}

}  // namespace rt

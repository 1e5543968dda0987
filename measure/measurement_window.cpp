#include "measure/measurement_window.h"

#include "measure/measure_texts.h"

#include "runtime/forms/form.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/text/catalogue.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QShortcut>
#include <QSvgGenerator>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace measure {
namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The quantity that counts events (a bounce) rather than measuring a state:
// drawn as marks at the ticks where it is not zero.
bool isEventCount(const sims::QuantityInfo& q) { return q.unit == "count"; }

}  // namespace

MeasurementWindow::MeasurementWindow(ExperimentFace& source)
    : QWidget(nullptr), m_source(source), m_recorder(source.definition().quantities.size())
{
    setObjectName(QStringLiteral("measurement-%1").arg(fromView(m_source.definition().name)));
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with its last experiment

    m_chart = new QChart;
    // The column of check boxes beside the graph is its legend, each box
    // with its curve's colour: it is as wide as its longest name in every
    // language and at every zoom, where the chart's own legend would cut
    // the names to share one line.
    m_chart->legend()->hide();
    m_tickAxis = new QValueAxis;
    m_tickAxis->setLabelFormat(QStringLiteral("%d"));
    m_valueAxis = new QValueAxis;
    m_valueAxis->setLabelFormat(QStringLiteral("%g"));  // 0.25, not 0 for a quarter
    m_chart->addAxis(m_tickAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    m_view = new QChartView(m_chart);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(560, 360);

    auto* choose = new QGroupBox;
    choose->setObjectName(QStringLiteral("quantities"));
    auto* chooseLayout = new QVBoxLayout(choose);
    const auto infos = quantities();
    const QString firstUnit = infos.empty() ? QString() : fromView(infos.front().unit);
    for (std::size_t i = 0; i < infos.size(); ++i) {
        const sims::QuantityInfo& q = infos[i];
        auto* box = new QCheckBox;
        box->setObjectName(fromView(q.key));
        chooseLayout->addWidget(box);
        m_boxes.push_back(box);
        if (isEventCount(q)) {
            m_bounceColumn = static_cast<int>(i);
            m_marks = new QScatterSeries;
            m_marks->setMarkerSize(7);
            m_marks->setColor(QColor(200, 0, 0));
            m_marks->setBorderColor(QColor(200, 0, 0));
            m_chart->addSeries(m_marks);
            m_marks->attachAxis(m_tickAxis);
            m_marks->attachAxis(m_valueAxis);
            m_curves.push_back(nullptr);
        } else {
            auto* curve = new QLineSeries;
            m_chart->addSeries(curve);
            curve->attachAxis(m_tickAxis);
            curve->attachAxis(m_valueAxis);
            m_curves.push_back(curve);
        }
        // At first the curves of the first quantity's unit, so they share
        // a scale that suits them all, and the marks.
        box->setChecked(isEventCount(q) || fromView(q.unit) == firstUnit);
        connect(box, &QCheckBox::toggled, this, [this] { scheduleRefresh(); });
    }
    chooseLayout->addStretch();

    m_pauseButton = new QPushButton;
    m_pauseButton->setObjectName(QStringLiteral("pause"));
    m_stepButton = new QPushButton;
    m_stepButton->setObjectName(QStringLiteral("step"));
    m_csvButton = new QPushButton;
    m_graphButton = new QPushButton;
    m_copyButton = new QPushButton;
    m_recordButton = new QPushButton;
    m_recordButton->setObjectName(QStringLiteral("record"));
    m_recordButton->hide();
    connect(m_recordButton, &QPushButton::clicked, this, [this] {
        if (m_toggleRecording)
            m_toggleRecording();
        retranslate();
    });
    connect(m_pauseButton, &QPushButton::clicked, this, [this] { setPaused(!paused()); });
    connect(m_stepButton, &QPushButton::clicked, this, [this] { step(); });
    connect(m_csvButton, &QPushButton::clicked, this, [this] { chooseCsvFile(); });
    connect(m_graphButton, &QPushButton::clicked, this, [this] { chooseGraphFile(); });
    connect(m_copyButton, &QPushButton::clicked, this, [this] { copyVisible(); });

    // The keys work wherever the focus is in this window: Space and the
    // right arrow would otherwise press or move between the buttons.
    auto key = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_Space), [this] { setPaused(!paused()); });
    key(QKeySequence(Qt::Key_Right), [this] { step(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { chooseCsvFile(); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { chooseGraphFile(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copyVisible(); });
    // The program's zoom keys work here too, as in every other window.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        key(keys, [] { rt::setZoomPercent(rt::neighbourZoomLevel(rt::zoomPercent(), +1)); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Minus), [] { rt::setZoomPercent(rt::neighbourZoomLevel(rt::zoomPercent(), -1)); });
    key(QKeySequence(Qt::CTRL | Qt::Key_0), [] { rt::setZoomPercent(100); });
    for (QPushButton* b : {m_pauseButton, m_stepButton, m_csvButton, m_graphButton, m_copyButton, m_recordButton})
        b->setFocusPolicy(Qt::TabFocus);

    m_pausedBanner = new QLabel;
    m_pausedBanner->setObjectName(QStringLiteral("pausedBanner"));
    m_pausedBanner->setAlignment(Qt::AlignCenter);
    m_pausedBanner->setStyleSheet(QStringLiteral(
        "QLabel { background: #ffe680; color: black; padding: 4px; border: 1px solid #c8a000; }"));
    m_pausedBanner->hide();
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));

    auto* side = new QVBoxLayout;
    side->addWidget(choose, 1);
    for (QPushButton* b : {m_pauseButton, m_stepButton, m_csvButton, m_graphButton, m_copyButton, m_recordButton})
        side->addWidget(b);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_view, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pausedBanner);
    layout->addLayout(middle, 1);
    layout->addWidget(m_status);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { refresh(); });

    m_source.form().addListener(this);
    // The window's font carries the program's zoom; this window takes it too.
    m_source.form().installEventFilter(this);
    followZoom();
    connect(&m_source.form(), &QWidget::windowTitleChanged, this, [this] { retranslate(); });

    // Attached to a window already running: the recording counts from here,
    // with the boxes as they are now.
    newRecording();
    retranslate();
}

MeasurementWindow::~MeasurementWindow() { m_source.form().removeListener(this); }

void MeasurementWindow::newRecording()
{
    m_recorder.clear();
    m_tick = 0;
    m_reportedFull = false;
    m_parameters.clear();
    if (m_source.form().isLoaded()) {
        // The window raised the same error as any text that Val refuses, and
        // stopped; the CSV's comment says "?" there.
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < m_source.definition().parameters.size(); ++i)
            texts.push_back(m_source.parameterBox(i).text().toStdString());
        m_parameters = parametersOf(m_source.definition(), texts);
    }
    keepMemoryAhead();
    scheduleRefresh();
}

void MeasurementWindow::formEventRan(rt::FormEvent event)
{
    switch (event) {
    case rt::FormEvent::Load:
    case rt::FormEvent::Click:
        newRecording();
        break;
    case rt::FormEvent::Tick:
        ++m_tick;
        if (!m_recorder.append(m_tick, [this](std::span<double> row) { m_source.experiment().sample(row); })
            && !m_reportedFull) {
            m_reportedFull = true;
            updateStatus();
        }
        scheduleRefresh();
        break;
    default:
        break;
    }
}

void MeasurementWindow::scheduleRefresh()
{
    m_dirty = true;
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

bool MeasurementWindow::paused() const { return m_source.timer().held(); }

void MeasurementWindow::setPaused(bool paused)
{
    m_source.timer().setHeld(paused);
    m_pausedBanner->setVisible(paused);
    retranslate();
}

void MeasurementWindow::step()
{
    setPaused(true);
    rt::Timer& timer = m_source.timer();
    if (m_source.form().isLoaded() && timer.Enabled() && timer.Interval() > 0)
        timer.fire();
    refresh();
}

bool MeasurementWindow::curveShown(int quantity) const
{
    return m_boxes.at(static_cast<std::size_t>(quantity))->isChecked();
}

void MeasurementWindow::showCurve(int quantity, bool shown)
{
    m_boxes.at(static_cast<std::size_t>(quantity))->setChecked(shown);
}

std::pair<std::size_t, std::size_t> MeasurementWindow::shownRows() const
{
    const std::size_t rows = m_recorder.rows();
    return {rows > kShownTicks ? rows - kShownTicks : 0, rows};
}

void MeasurementWindow::keepMemoryAhead()
{
    // A block of rows always ready beyond the last, taken here between
    // frames, so that a tick never waits for memory (nor for the pages of a
    // fresh block to be touched).
    m_recorder.reserve(m_recorder.rows() + Recorder::ChunkRows);
}

void MeasurementWindow::refresh()
{
    m_refreshTimer.stop();
    m_dirty = false;
    keepMemoryAhead();
    const auto [first, end] = shownRows();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    QList<QPointF> points;
    for (std::size_t c = 0; c < m_curves.size(); ++c) {
        QLineSeries* curve = m_curves[c];
        if (!curve)
            continue;
        points.clear();
        if (curveShown(static_cast<int>(c))) {
            points.reserve(static_cast<qsizetype>(end - first));
            for (std::size_t r = first; r < end; ++r) {
                // A tick that failed may leave an infinity or NaN behind
                // (the window stopped there): it stays in the recording,
                // but a graph has no place for it.
                const double v = m_recorder.value(r, c);
                if (!std::isfinite(v))
                    continue;
                points.append(QPointF(static_cast<double>(m_recorder.tick(r)), v));
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        curve->replace(points);
        curve->setVisible(curveShown(static_cast<int>(c)));
    }
    if (!(low <= high)) {
        low = 0;
        high = 1;
    }
    // A margin of 5 % either side, worked out in halves so that values near
    // the largest double do not make an infinite range.
    const double halfSpan = high / 2 - low / 2;
    const double pad = halfSpan > 0 ? halfSpan / 10 : std::max(1.0, std::abs(high) / 20);
    low = std::max(low - pad, -std::numeric_limits<double>::max());
    high = std::min(high + pad, std::numeric_limits<double>::max());
    m_valueAxis->setRange(low, high);
    // Round numbers on the axis (0, 50, 100 rather than 96.8, 147.7), where
    // the range leaves room to round it outwards.
    if (std::abs(low) < 1e300 && std::abs(high) < 1e300)
        m_valueAxis->applyNiceNumbers();

    if (m_marks) {
        // Along the bottom of the graph, one mark per tick with a bounce.
        points.clear();
        const auto column = static_cast<std::size_t>(m_bounceColumn);
        if (curveShown(m_bounceColumn))
            for (std::size_t r = first; r < end; ++r)
                if (m_recorder.value(r, column) != 0)
                    points.append(QPointF(static_cast<double>(m_recorder.tick(r)), low + pad / 2));
        m_marks->replace(points);
        m_marks->setVisible(curveShown(m_bounceColumn));
    }

    const double from = end > first ? static_cast<double>(m_recorder.tick(first)) : 0;
    const double to = end > first ? static_cast<double>(m_recorder.tick(end - 1)) : 1;
    m_tickAxis->setRange(from, std::max(to, from + 1));
    m_tickAxis->applyNiceNumbers();
    updateStatus();
}

QString MeasurementWindow::text(const char* name)
{
    return tr(namedText(measurementTexts(), name));
}

QString MeasurementWindow::quantityName(const sims::QuantityInfo& q) const
{
    return QCoreApplication::translate(m_source.definition().quantityContext, q.name);
}

QString MeasurementWindow::quantityTitle(const sims::QuantityInfo& q) const
{
    return QStringLiteral("%1 [%2]").arg(quantityName(q), fromView(q.unit));
}

void MeasurementWindow::retranslate()
{
    setWindowTitle(text("title").arg(m_source.form().windowTitle()));
    const auto infos = quantities();
    for (std::size_t i = 0; i < infos.size(); ++i) {
        m_boxes[i]->setText(quantityTitle(infos[i]));
        if (m_curves[i])
            m_curves[i]->setName(quantityTitle(infos[i]));
    }
    if (m_marks)
        m_marks->setName(quantityName(infos[static_cast<std::size_t>(m_bounceColumn)]));
    if (auto* group = findChild<QGroupBox*>(QStringLiteral("quantities")))
        group->setTitle(text("quantities"));
    m_tickAxis->setTitleText(text("tickAxis"));
    m_pauseButton->setText(paused() ? text("resume") : text("pause"));
    m_pauseButton->setToolTip(paused() ? text("resumeTip") : text("pauseTip"));
    m_stepButton->setText(text("step"));
    m_stepButton->setToolTip(text("stepTip"));
    m_csvButton->setText(text("csv"));
    m_csvButton->setToolTip(text("csvTip"));
    m_graphButton->setText(text("graph"));
    m_graphButton->setToolTip(text("graphTip"));
    m_copyButton->setText(text("copy"));
    m_copyButton->setToolTip(text("copyTip"));
    m_pausedBanner->setText(text("paused"));
    const bool recording = m_recording && m_recording();
    m_recordButton->setText(recording ? text("recordStop") : text("recordStart"));
    m_recordButton->setToolTip(recording ? text("recordStopTip")
                                         : text("recordStartTip"));
    updateStatus();
}

void MeasurementWindow::setRecordSwitch(std::function<bool()> recording, std::function<void()> toggle)
{
    m_recording = std::move(recording);
    m_toggleRecording = std::move(toggle);
    m_recordButton->setVisible(static_cast<bool>(m_toggleRecording));
    retranslate();
}

void MeasurementWindow::updateStatus()
{
    QString status = text("status").arg(m_recorder.rows()).arg(kShownTicks);
    if (m_recorder.full())
        status += text("full");
    m_status->setText(status);
}

bool MeasurementWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_source.form() && event->type() == QEvent::FontChange)
        followZoom();
    return QWidget::eventFilter(watched, event);
}

void MeasurementWindow::followZoom()
{
    const QFont font = m_source.form().font();
    setFont(font);
    // The chart is drawn in a scene of its own: its texts are told apart.
    for (QValueAxis* axis : {m_tickAxis, m_valueAxis}) {
        axis->setLabelsFont(font);
        QFont title = font;
        title.setBold(true);
        axis->setTitleFont(title);
    }
    // The colour of each curve beside its name, a square of the text's
    // height.
    const int side = QFontMetrics(font).ascent();
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        QPixmap swatch(side, side);
        swatch.fill(curveColour(i));
        m_boxes[i]->setIcon(QIcon(swatch));
        m_boxes[i]->setIconSize(QSize(side, side));
    }
    // A style sheet keeps the font a widget had when polished: told here.
    QFont banner = font;
    banner.setBold(true);
    m_pausedBanner->setFont(banner);
    const QSize before = m_view->minimumSize();
    m_view->setMinimumSize(QSize(560, 360) * (rt::zoomPercent() / 100.0));
    // A new zoom lays the window out afresh at the size it asks for, smaller
    // as well as larger, as every other window of the program.
    if (isVisible() && m_view->minimumSize() != before) {
        if (layout())
            layout()->activate();
        resize(sizeHint());
    }
}

void MeasurementWindow::closeEvent(QCloseEvent* event)
{
    // A pause shows only here: closing the window gives the experiment back
    // running, rather than leaving it frozen without a sign.
    if (paused())
        setPaused(false);
    QWidget::closeEvent(event);
}

void MeasurementWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        // New words take other widths: the panel is laid out again and the
        // whole window painted afresh, so no piece of the old words (the
        // group's title) stays where the panel no longer reaches.
        if (layout())
            layout()->activate();
        update();
    }
    QWidget::changeEvent(event);
}

void MeasurementWindow::report(const QString& message)
{
    m_lastError = message;
    if (m_messageSink) {
        m_messageSink(message);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

QString MeasurementWindow::saveCsv(const QString& path)
{
    std::vector<int> columns(quantities().size());
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = static_cast<int>(i);
    const CsvTable table{m_source.definition().name, m_parameters, quantities(), m_source.definition().quantityContext,
                         columns, &m_recorder};
    const std::string error = measure::saveCsv(QFile::encodeName(path).toStdString(), table, rt::languageCode());
    if (error.empty())
        return {};
    const QString message = tr("CSV ファイルを保存できませんでした。\n%1\n\n"
                               "記録はこの窓に残っています。別の場所に保存してください。")
                                .arg(QFile::decodeName(error.c_str()));
    report(message);
    return message;
}

QColor MeasurementWindow::curveColour(std::size_t quantity) const
{
    if (m_curves.at(quantity))
        return m_curves[quantity]->color();
    return m_marks->color();
}

QStringList MeasurementWindow::graphHeading() const
{
    QStringList quantitiesShown, parameters;
    const auto infos = quantities();
    for (std::size_t c = 0; c < infos.size(); ++c)
        if (curveShown(static_cast<int>(c)))
            quantitiesShown << quantityTitle(infos[c]);
    const char* context = m_source.definition().formName;
    for (const ParameterValue& p : m_parameters) {
        const QString value = p.value ? QString::fromStdString(formatNumber(*p.value)) : QStringLiteral("?");
        parameters << QStringLiteral("%1 = %2").arg(QCoreApplication::translate(context, p.label.c_str()), value);
    }
    return {m_source.form().windowTitle(), quantitiesShown.join(QStringLiteral(", ")),
            parameters.join(QStringLiteral(", "))};
}

int MeasurementWindow::headingHeight() const
{
    return QFontMetrics(font()).lineSpacing() * 3 + QFontMetrics(font()).height() / 2;
}

// The heading, then the graph as the window shows it.
void MeasurementWindow::paintGraph(QPainter& painter, const QSize& size, int heading) const
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QStringList lines = graphHeading();
    const QFontMetrics metrics(font());
    const int margin = metrics.height() / 4;
    QFont bold = font();
    bold.setBold(true);
    painter.setPen(Qt::black);
    painter.setFont(bold);
    painter.drawText(QPoint(margin, metrics.ascent() + margin), lines[0]);
    painter.setFont(font());
    // The shown quantities, each after a square of its curve's colour.
    int x = margin;
    const int y = metrics.lineSpacing() + metrics.ascent() + margin;
    const auto infos = quantities();
    for (std::size_t c = 0; c < infos.size(); ++c) {
        if (!curveShown(static_cast<int>(c)))
            continue;
        const int side = metrics.ascent();
        painter.fillRect(QRect(x, y - side + 1, side, side), curveColour(c));
        x += side + margin;
        const QString title = quantityTitle(infos[c]);
        painter.drawText(QPoint(x, y), title);
        x += metrics.horizontalAdvance(title) + 3 * margin;
    }
    painter.drawText(QPoint(margin, 2 * metrics.lineSpacing() + metrics.ascent() + margin), lines[2]);
    m_view->render(&painter, QRectF(0, heading, size.width(), size.height() - heading));
}

QString MeasurementWindow::saveGraph(const QString& path)
{
    refresh();
    // Drawn in memory, then saved like the CSV: under a temporary name and
    // renamed, through a link to the file it names, keeping its permissions.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    const QStringList heading = graphHeading();
    const QString description = heading.mid(1).join(QLatin1Char('\n'));
    // Wide enough for the heading's longest line.
    const QFontMetrics metrics(font());
    int width = m_view->width();
    for (const QString& line : heading)
        width = std::max(width, metrics.horizontalAdvance(line) + 2 * metrics.height());
    const int top = headingHeight();
    const QSize size(width, top + m_view->height());
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(heading[0]);
        svg.setDescription(description);
        QPainter painter(&svg);
        paintGraph(painter, size, top);
        drawn = painter.end();
    } else {
        const qreal ratio = m_view->devicePixelRatioF();
        QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        paintGraph(painter, size, top);
        painter.end();
        image.setText(QStringLiteral("Title"), heading[0]);
        image.setText(QStringLiteral("Description"), description);
        drawn = image.save(&buffer, "PNG");
    }
    const std::string error = drawn ? saveFile(QFile::encodeName(path).toStdString(),
                                               [&bytes](const Sink& sink) {
                                                   sink(std::string_view(bytes.constData(),
                                                                         static_cast<std::size_t>(bytes.size())));
                                               },
                                               rt::languageCode())
                                    : rt::text::say(rt::languageCode(), "measure",
                                                    QT_TRANSLATE_NOOP("measure", "%1: the picture could not be drawn"),
                                                    {QFile::encodeName(path).toStdString()});
    if (error.empty())
        return {};
    const QString message = text("graphFailed").arg(QFile::decodeName(error.c_str()));
    report(message);
    return message;
}

QString MeasurementWindow::visibleText() const
{
    const auto infos = quantities();
    QStringList header{text("tickAxis")};
    std::vector<std::size_t> shown;
    for (std::size_t c = 0; c < infos.size(); ++c)
        if (curveShown(static_cast<int>(c))) {
            shown.push_back(c);
            header << quantityTitle(infos[c]);
        }
    QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    const auto [first, end] = shownRows();
    for (std::size_t r = first; r < end; ++r) {
        text += QString::number(m_recorder.tick(r));
        for (std::size_t c : shown)
            text += QLatin1Char('\t') + QString::fromStdString(formatNumber(m_recorder.value(r, c)));
        text += QLatin1Char('\n');
    }
    return text;
}

void MeasurementWindow::copyVisible() const { QApplication::clipboard()->setText(visibleText()); }

void MeasurementWindow::chooseCsvFile()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("CSV で保存"), rt::dialogPath(fromView(m_source.definition().name) + QStringLiteral(".csv")),
        tr("CSV ファイル (*.csv)"));
    rt::rememberDialogPath(path);
    if (!path.isEmpty())
        saveCsv(path);
}

void MeasurementWindow::chooseGraphFile()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("グラフを保存"), rt::dialogPath(fromView(m_source.definition().name) + QStringLiteral(".png")),
        tr("PNG 画像 (*.png);;SVG 画像 (*.svg)"));
    rt::rememberDialogPath(path);
    if (!path.isEmpty())
        saveGraph(path);
}

}  // namespace measure

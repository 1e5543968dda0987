#include "shell/frm_main.h"

#include "measure/measure_texts.h"
#include "resources/icons.h"
#include "shell/preferences.h"
#include "shell/version.h"
#include "shell/window_set.h"
#include "sims/launcher.h"
#include "sims/registry.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDate>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

#include <algorithm>

namespace {

constexpr const char* kDoesNotFit = QT_TRANSLATE_NOOP("frmMain", "画面に収まりません");

QString translated(const char* text) { return QCoreApplication::translate("frmMain", text); }

// The launcher is narrow (248 pixels at 100 %) and its four menus must all
// show in every language and zoom: the menu bar's titles are packed closer
// than the style would place them, with a margin that is a share of the
// text's height, so the gaps grow with the zoom as the titles do. The
// look stays the application's (a style sheet would draw another and fix
// the font, so the bar would no longer follow the zoom).
class CompactMenuBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_MenuBarItemSpacing || metric == PM_MenuBarHMargin)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem && widget)
            result.setWidth(size.width() + QFontMetrics(widget->font()).height() / 3);
        return result;
    }
};

}  // namespace

frmMain::frmMain(Windows& windows)
    : Form(sims::launcher().formName, sims::launcher().caption, sims::launcher().clientWidth,
           sims::launcher().clientHeight, sims::launcher().controls),
      m_windows(windows),
      m_bar(new QMenuBar(this))
{
    auto* barStyle = new CompactMenuBarStyle;
    barStyle->setParent(m_bar);
    m_bar->setStyle(barStyle);
    setWindowIcon(springlabIcon(Icon::Program));
    // Each experiment names the button that opens it.
    for (const sims::Definition* experiment : sims::experiments())
        onClick(button(experiment->launcherButton), [this, experiment] { m_windows.show(*experiment); });

    m_viewMenu = m_bar->addMenu(QString());
    m_zoomMenu = m_viewMenu->addMenu(QString());
    auto* zoomGroup = new QActionGroup(this);
    for (int level : rt::kZoomLevels) {
        QAction* action = m_zoomMenu->addAction(QStringLiteral("%1 %").arg(level));
        action->setCheckable(true);
        action->setData(level);
        zoomGroup->addAction(action);
        connect(action, &QAction::triggered, this, [level] { rt::setZoomPercent(level); });
        m_zoomActions.push_back(action);
    }
    // Only the levels at which every window fits its screen, asked again
    // each time the menu opens (a screen may have come or gone).
    m_zoomMenu->setToolTipsVisible(true);
    connect(m_zoomMenu, &QMenu::aboutToShow, this, [this] { offerZoomsThatFit(); });

    // The language menu is named in both languages: whoever cannot read the
    // one still finds it.
    QMenu* languageMenu = m_bar->addMenu(QString::fromUtf8(sims::launcherMenus().language));
    auto* languageGroup = new QActionGroup(this);
    // Every language compiled in, named in itself.
    for (const Language& language : availableLanguages()) {
        QAction* action = languageMenu->addAction(languageName(language));
        action->setData(languageCode(language));
        m_languageActions.push_back(action);
        action->setCheckable(true);
        languageGroup->addAction(action);
        connect(action, &QAction::triggered, this, [language] {
            setLanguage(language);
            rememberLanguage(language);
        });
    }

    // The experiments in the order of the buttons, named as on them.
    m_measureMenu = m_bar->addMenu(QString());
    for (const sims::Definition* experiment : sims::experiments()) {
        QAction* action = m_measureMenu->addAction(QString());
        connect(action, &QAction::triggered, this, [this, experiment] { m_windows.openMeasurement(*experiment); });
        m_measureActions.push_back(action);
    }

    // A checked experiment is recording; unchecking it saves the recording.
    // Recording is part of measuring, and a menu of its own would not fit
    // beside the others on the launcher's narrow bar.
    m_measureMenu->addSeparator();
    m_recordMenu = m_measureMenu->addMenu(QString());
    for (const sims::Definition* experiment : sims::experiments()) {
        QAction* action = m_recordMenu->addAction(QString());
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this, experiment](bool on) { toggleRecording(*experiment, on); });
        m_recordActions.push_back(action);
    }
    // The measurement windows' record buttons go the same way, so the
    // menu's check follows them.
    m_windows.setRecordingSwitch([this](const sims::Definition& experiment, bool on) {
        const auto all = sims::experiments();
        m_recordActions[static_cast<std::size_t>(std::find(all.begin(), all.end(), &experiment) - all.begin())]
            ->setChecked(on);
        toggleRecording(experiment, on);
    });
    m_recordMenu->addSeparator();
    m_replayAction = m_recordMenu->addAction(QString());
    connect(m_replayAction, &QAction::triggered, this, [this] { openReplay(); });

    m_helpMenu = m_bar->addMenu(QString());
    m_aboutAction = m_helpMenu->addAction(QString());
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, [this] { showAbout(); });

    // The menus and the About box are windows of their own: they take the
    // launcher's font, and with it the zoom, only when told to.
    for (QMenu* menu : {m_viewMenu, m_zoomMenu, languageMenu, m_measureMenu, m_recordMenu, m_helpMenu})
        menu->setAttribute(Qt::WA_WindowPropagation);

    retranslate();
    setMenuBar(m_bar);
}

QAction& frmMain::zoomAction(int percent) const
{
    for (QAction* action : m_zoomActions)
        if (action->data().toInt() == percent)
            return *action;
    return *m_zoomActions.front();
}

QAction& frmMain::languageAction(Language language) const
{
    for (QAction* action : m_languageActions)
        if (action->data().toString() == languageCode(language))
            return *action;
    return *m_languageActions.front();
}

void frmMain::zoomApplied()
{
    // Also called while the base is being built, before the menu exists.
    if (!m_zoomActions.empty()) {
        zoomAction(rt::zoomPercent()).setChecked(true);
        offerZoomsThatFit();
    }
}

void frmMain::offerZoomsThatFit()
{
    for (QAction* action : m_zoomActions) {
        const bool fits = rt::zoomFits(action->data().toInt());
        action->setEnabled(fits);
        action->setToolTip(fits ? QString() : translated(kDoesNotFit));
        action->setStatusTip(action->toolTip());
    }
}

void frmMain::retranslate()
{
    m_viewMenu->setTitle(translated(sims::launcherMenus().view));
    m_zoomMenu->setTitle(translated(sims::launcherMenus().zoom));
    m_measureMenu->setTitle(translated(sims::launcherMenus().measure));
    // Named as on the launcher's buttons.
    const auto experiments = sims::experiments();
    for (std::size_t i = 0; i < m_measureActions.size(); ++i)
        m_measureActions[i]->setText(translated(controlDesign(experiments[i]->launcherButton).text));
    m_recordMenu->setTitle(translated(sims::launcherMenus().record));
    for (std::size_t i = 0; i < m_recordActions.size(); ++i)
        m_recordActions[i]->setText(translated(controlDesign(experiments[i]->launcherButton).text));
    m_replayAction->setText(translated(sims::launcherMenus().replay));
    m_helpMenu->setTitle(translated(sims::launcherMenus().help));
    m_aboutAction->setText(translated(sims::launcherMenus().about));
    languageAction(currentLanguage()).setChecked(true);
    offerZoomsThatFit();
    zoomApplied();
}

QString frmMain::aboutText()
{
    return QStringLiteral("<p><b>バネ関係</b> &mdash; <b>Spring Experiments</b></p>"
                          "<p>SpringLab %1</p><p>%2</p><p>%3</p><p>%4</p>")
        .arg(QStringLiteral(SPRINGLAB_VERSION),
             translated(sims::aboutTexts().description),
             // The licence's name is one word to the eye: never broken at
             // its hyphens.
             translated(sims::aboutTexts().licence)
                 .replace(QStringLiteral("GPL-3.0-or-later"), QStringLiteral("<nobr>GPL-3.0-or-later</nobr>")),
             translated(QT_TRANSLATE_NOOP("frmMain", "Qt %1 を使っています。")).arg(QString::fromLatin1(qVersion())));
}

void frmMain::showAbout()
{
    // Not modal: the simulations keep running while it is open.
    auto* box = new QMessageBox(QMessageBox::NoIcon, translated(sims::launcherMenus().aboutTitle), aboutText(), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setIconPixmap(springlabIcon(Icon::Program).pixmap(64, 64));
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_WindowPropagation);
    box->show();
}

void frmMain::toggleRecording(const sims::Definition& experiment, bool on)
{
    if (on) {
        m_windows.startRecording(experiment);
        return;
    }
    const bool full = m_windows.recorder(experiment) && m_windows.recorder(experiment)->full();
    const std::optional<measure::Script> script = m_windows.stopRecording(experiment);
    const QString title = translated(measure::namedText(measure::recordingTexts(), "record"));
    if (!script) {
        QMessageBox::information(this, title,
                                 translated(measure::namedText(measure::recordingTexts(), "nothing")));
        return;
    }
    // Named after the experiment and the day, in the folder last used.
    const QString proposed = QStringLiteral("%1-%2.jsonl")
                                 .arg(QString::fromLatin1(experiment.name.data(),
                                                          static_cast<qsizetype>(experiment.name.size())),
                                      QDate::currentDate().toString(Qt::ISODate));
    const QString path = QFileDialog::getSaveFileName(this, title, rt::dialogPath(proposed),
                                                      translated(QT_TRANSLATE_NOOP("frmMain", "記録 (*.jsonl)")));
    rt::rememberDialogPath(path);
    if (path.isEmpty())
        return;
    if (const QString error = Windows::saveRecording(*script, path); !error.isEmpty())
        QMessageBox::warning(this, title, error);
    else if (full)
        QMessageBox::information(
            this, title,
            translated(QT_TRANSLATE_NOOP("frmMain", "記録がいっぱいになったので、%1 ティックで終わっています。"))
                .arg(*script->ticks));
}

void frmMain::openReplay()
{
    const QString title = translated(measure::namedText(measure::recordingTexts(), "replay"));
    const QString path = QFileDialog::getOpenFileName(
        this, title, rt::dialogPath(QString()),
        translated(QT_TRANSLATE_NOOP("frmMain", "記録 (*.jsonl);;すべてのファイル (*)")));
    rt::rememberDialogPath(path);
    if (path.isEmpty())
        return;
    if (const QString error = m_windows.replay(path); !error.isEmpty())
        QMessageBox::warning(this, title, error);
}

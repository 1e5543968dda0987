#pragma once
// The launcher: four buttons, each showing one simulation window. It keeps
// no state and no timer, and stays open while the simulations run.
//
// Above the buttons, its menu bar holds what concerns the whole program:
// the zoom of every window, the language, and the About box.

#include "runtime/forms/form.h"
#include "shell/language.h"
#include "shell/window_set.h"

#include <QString>

#include <vector>

class QAction;
class QMenu;
class Windows;

class frmMain : public rt::Form {
public:
    explicit frmMain(Windows& windows);

    // The About box's text: the program's names, version, licence and Qt.
    static QString aboutText();

    QMenuBar& menuBar() const { return *m_bar; }
    QAction& zoomAction(int percent) const;
    QAction& languageAction(Language language) const;
    QAction& aboutAction() const { return *m_aboutAction; }
    // 計測 → the experiment: its measurement window.
    QAction& measureAction(int index) const { return *m_measureActions.at(static_cast<std::size_t>(index)); }

    // 記録 → the experiment (checked while it records), and 再生.
    QAction& recordAction(int index) const { return *m_recordActions.at(static_cast<std::size_t>(index)); }
    QAction& replayAction() const { return *m_replayAction; }

protected:
    void zoomApplied() override;
    void retranslate() override;

private:
    void showAbout();
    void toggleRecording(const sims::Definition& experiment, bool on);
    void openReplay();
    // The zoom menu's levels at which every window fits are enabled; the
    // others say why.
    void offerZoomsThatFit();

    Windows& m_windows;
    QMenuBar* m_bar;
    QMenu* m_viewMenu;
    QMenu* m_zoomMenu;
    QMenu* m_measureMenu;
    QMenu* m_recordMenu;
    QMenu* m_helpMenu;
    std::vector<QAction*> m_recordActions;
    QAction* m_replayAction;
    std::vector<QAction*> m_measureActions;
    std::vector<QAction*> m_zoomActions;
    std::vector<QAction*> m_languageActions;
    QAction* m_aboutAction;
};

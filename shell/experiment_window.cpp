#include "shell/experiment_window.h"

#include "resources/icons.h"

#include <QLineEdit>
#include <QPushButton>

ExperimentWindow::ExperimentWindow(const sims::Definition& definition)
    : Form(definition.formName, definition.caption, definition.clientWidth, definition.clientHeight,
           definition.controls),
      Timer1(*this, [this] { Timer1_Timer(); }),
      m_definition(definition),
      m_experiment(definition.make())
{
    setWindowIcon(springlabIcon(definition.icon));
    onClick(button("Command1"), [this] { InitSimulation(); });
    clickOnEnter(button("Command1"));
}

ExperimentWindow::~ExperimentWindow() = default;

QLineEdit& ExperimentWindow::parameterBox(std::size_t i) const { return textBox(m_definition.parameters[i].box); }

void ExperimentWindow::apply() { button("Command1").click(); }

std::vector<std::string> ExperimentWindow::texts() const
{
    std::vector<std::string> texts;
    texts.reserve(m_definition.parameters.size());
    for (std::size_t i = 0; i < m_definition.parameters.size(); ++i)
        texts.push_back(parameterBox(i).text().toStdString());
    return texts;
}

void ExperimentWindow::InitSimulation() { m_experiment->initSimulation(*this, texts()); }

void ExperimentWindow::Form_Load() { InitSimulation(); }

void ExperimentWindow::Timer1_Timer() { m_experiment->tick(*this, *this); }

void ExperimentWindow::Form_MouseDown(int, int, float x, float y) { m_experiment->mouseDown(*this, x, y, texts()); }

void ExperimentWindow::Form_MouseMove(int, int, float x, float y) { m_experiment->mouseMove(*this, x, y); }

void ExperimentWindow::beep() { rt::Beep(); }

#include "sims/headless.h"

#include "runtime/numeric/convert.h"

namespace sims {

HeadlessRun::HeadlessRun(const Definition& definition)
    : m_definition(definition), m_experiment(definition.make())
{
}

void HeadlessRun::setTimerInterval(std::int32_t milliseconds) { m_interval = rt::CheckedInterval(milliseconds); }

void HeadlessRun::init(std::vector<std::string> texts)
{
    m_texts = std::move(texts);
    m_experiment->initSimulation(*this, m_texts);
}

void HeadlessRun::step()
{
    m_beeps = 0;
    m_experiment->tick(*this, m_canvas);
}

void HeadlessRun::press(float x, float y) { m_experiment->mouseDown(*this, x, y, m_texts); }

void HeadlessRun::move(float x, float y) { m_experiment->mouseMove(*this, x, y); }

}  // namespace sims

// Each experiment's table of parameters against its window: the same boxes,
// captions and default texts, so a headless run starts where the window does.

#include "measure/experiment.h"
#include "sims/rubber_cord/frm_elastic_code.h"
#include "sims/rotation/frm_rotaion.h"
#include "sims/two_balls/frm_two_bolls.h"
#include "sims/vibration/frm_vibration.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<rt::Form> windowOf(std::string_view experiment)
{
    if (experiment == "vibration")
        return std::make_unique<frmVibration>();
    if (experiment == "rotation")
        return std::make_unique<frmRotaion>();
    if (experiment == "two-balls")
        return std::make_unique<frm2Bolls>();
    return std::make_unique<frmElasticCode>();
}

TEST(ParameterTables, NameTheWindowsBoxesCaptionsAndDefaults)
{
    for (std::string_view name : measure::experimentNames()) {
        const auto experiment = measure::makeExperiment(name);
        const auto window = windowOf(name);
        window->Show();  // the controls are made when the window loads
        QStringList captions;
        for (const QLabel* label : window->findChildren<QLabel*>())
            captions << label->text();
        const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
        ASSERT_EQ(static_cast<std::size_t>(boxes.size()), experiment->parameters().size()) << name;
        for (const measure::Parameter& p : experiment->parameters()) {
            const std::string box(p.box);
            EXPECT_EQ(window->textBox(box.c_str()).text().toStdString(), p.defaultText) << name << " " << p.key;
            EXPECT_TRUE(captions.contains(QString::fromUtf8(p.label.data(), static_cast<qsizetype>(p.label.size()))))
                << name << " " << p.key;
        }
    }
}

}  // namespace

// Each experiment's table of parameters against its window: the same boxes,
// captions and default texts, so a headless run starts where the window does.

#include "tests/support/headless_run.h"
#include "tests/support/typed_windows.h"

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
    for (const sims::Definition* definition : sims::experiments()) {
        const std::string_view name = definition->name;
        const auto experiment = makeRun(name);
        const auto window = windowOf(name);
        window->Show();  // the controls are made when the window loads
        QStringList captions;
        for (const QLabel* label : window->findChildren<QLabel*>())
            captions << label->text();
        const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
        ASSERT_EQ(static_cast<std::size_t>(boxes.size()), experiment->definition().parameters.size()) << name;
        for (std::size_t i = 0; i < definition->parameters.size(); ++i) {
            const sims::Parameter& p = definition->parameters[i];
            const std::string_view text = sims::defaultText(*definition, i);
            const std::string_view label = sims::labelText(*definition, i);
            EXPECT_EQ(window->textBox(p.box).text().toStdString(), text) << name << " " << p.key;
            EXPECT_TRUE(captions.contains(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()))))
                << name << " " << p.key;
        }
    }
}

}  // namespace

// The registry and each experiment's definition, checked as data: whatever a
// face reads from them (boxes, labels, keys, names, translations) must fit
// together, for every experiment the registry lists, so a new experiment is
// held to the same by being listed.

#include "runtime/text/catalogue.h"
#include "sims/headless.h"
#include "sims/registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

using sims::Definition;

class EachExperiment : public ::testing::TestWithParam<const Definition*> {};

std::string nameOf(const ::testing::TestParamInfo<const Definition*>& info)
{
    std::string name(info.param->name);
    for (char& c : name)
        if (c == '-')
            c = '_';
    return name;
}

TEST(Registry, NamesAndLauncherButtonsAreUniqueAndFound)
{
    std::set<std::string_view> names, buttons, forms;
    for (const Definition* d : sims::experiments()) {
        EXPECT_TRUE(names.insert(d->name).second) << d->name;
        EXPECT_TRUE(buttons.insert(d->launcherButton).second) << d->name;
        EXPECT_TRUE(forms.insert(d->formName).second) << d->name;
        EXPECT_EQ(sims::findExperiment(d->name), d);
    }
    EXPECT_EQ(sims::findExperiment("Vibration"), nullptr);
    EXPECT_EQ(sims::findExperiment(""), nullptr);
}

TEST_P(EachExperiment, ParametersAreTheTextBoxesOfTheDesignTableOneToOne)
{
    const Definition& d = *GetParam();
    std::set<std::string_view> boxes, keys;
    for (std::size_t i = 0; i < d.parameters.size(); ++i) {
        const sims::Parameter& p = d.parameters[i];
        const rt::ControlDef* box = sims::findControl(d, p.box);
        const rt::ControlDef* label = sims::findControl(d, p.label);
        ASSERT_TRUE(box && label) << p.key;
        EXPECT_EQ(box->kind, rt::ControlKind::TextBox) << p.key;
        EXPECT_EQ(label->kind, rt::ControlKind::Label) << p.key;
        EXPECT_TRUE(boxes.insert(p.box).second) << p.key;
        EXPECT_TRUE(keys.insert(p.key).second) << p.key;
        EXPECT_EQ(sims::findParameter(d, p.key), static_cast<int>(i));
        EXPECT_EQ(sims::findParameter(d, sims::labelText(d, i)), static_cast<int>(i));
        for (char c : p.key)
            EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') << p.key;
    }
    for (const rt::ControlDef& c : d.controls) {
        if (c.kind == rt::ControlKind::TextBox) {
            EXPECT_TRUE(boxes.count(c.name)) << c.name << " is no parameter";
        }
    }
    // Every window's timer box is Text1, the first parameter; its button
    // Command1 is "変更".
    ASSERT_FALSE(d.parameters.empty());
    EXPECT_EQ(d.parameters[0].key, "timer");
    EXPECT_STREQ(d.parameters[0].box, "Text1");
    ASSERT_TRUE(sims::findControl(d, "Command1"));
    EXPECT_STREQ(sims::findControl(d, "Command1")->text, "変更");
    EXPECT_EQ(sims::findParameter(d, "Text1"), -1);  // widget names are no parameter names
}

TEST_P(EachExperiment, EveryCaptionAndQuantityHasItsEnglish)
{
    const Definition& d = *GetParam();
    EXPECT_NE(rt::text::translate("en", d.formName, d.caption), d.caption);
    for (const rt::ControlDef& c : d.controls) {
        if (c.kind != rt::ControlKind::TextBox) {
            EXPECT_NE(rt::text::translate("en", d.formName, c.text), c.text) << c.name;
        }
    }
    std::set<std::string_view> keys;
    for (const sims::QuantityInfo& q : d.quantities) {
        EXPECT_NE(rt::text::translate("en", d.quantityContext, q.name), q.name) << q.key;
        EXPECT_TRUE(keys.insert(q.key).second) << q.key;
        EXPECT_EQ(sims::findQuantity(d, q.key), static_cast<int>(keys.size() - 1));
    }
}

TEST_P(EachExperiment, RunsFromItsDefaultsAndCarriesWhatItKeeps)
{
    const Definition& d = *GetParam();
    sims::HeadlessRun run(d);
    run.init(sims::defaultTexts(d));
    EXPECT_EQ(run.interval(), 10);
    std::vector<double> row(d.quantities.size());
    for (int t = 0; t < 20; ++t)
        run.step();
    run.sample(row);
    for (double v : row)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_FALSE(run.canvas().displayList().empty());

    // What it carries goes into a fresh run and comes back the same.
    sims::HeadlessRun fresh(d);
    fresh.carry(run.carried());
    EXPECT_EQ(fresh.carried(), run.carried());
}

INSTANTIATE_TEST_SUITE_P(Registry, EachExperiment, ::testing::ValuesIn(sims::experiments().begin(), sims::experiments().end()),
                         nameOf);

TEST(Catalogue, FallsBackToTheSourceAndKnowsItsLanguages)
{
    EXPECT_TRUE(rt::text::hasLanguage("ja"));
    EXPECT_TRUE(rt::text::hasLanguage("en"));
    EXPECT_FALSE(rt::text::hasLanguage("fr"));
    EXPECT_EQ(rt::text::translate("en", "frmVibration", "バネの振動"), "Vibration of a Spring");
    EXPECT_EQ(rt::text::translate("ja", "frmVibration", "バネの振動"), "バネの振動");
    EXPECT_EQ(rt::text::translate("fr", "frmVibration", "バネの振動"), "バネの振動");
    EXPECT_EQ(rt::text::translate("en", "NoSuchContext", "バネの振動"), "バネの振動");
}

// One quantity, one word: a label or button that two windows share in
// Japanese ("重力") is translated alike in both, in every language.
struct WindowPair {
    const char* name;
    std::string_view first, second;
};

class SharedCaptions : public ::testing::TestWithParam<WindowPair> {};

TEST_P(SharedCaptions, AreTranslatedAlike)
{
    const Definition* a = sims::findExperiment(GetParam().first);
    const Definition* b = sims::findExperiment(GetParam().second);
    ASSERT_TRUE(a && b);
    for (const rt::ControlDef& x : a->controls) {
        for (const rt::ControlDef& y : b->controls) {
            if (x.kind == rt::ControlKind::TextBox || x.kind != y.kind || std::string_view(x.text) != y.text)
                continue;
            for (const std::string_view language : rt::text::languages()) {
                EXPECT_EQ(rt::text::translate(language, a->formName, x.text),
                          rt::text::translate(language, b->formName, y.text))
                    << x.text << " in " << language;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, SharedCaptions,
                         ::testing::Values(WindowPair{"TwoBallsAndCord", "two-balls", "rubber-cord"},
                                           WindowPair{"TwoBallsAndVibration", "two-balls", "vibration"},
                                           WindowPair{"TwoBallsAndRotation", "two-balls", "rotation"},
                                           WindowPair{"VibrationAndCord", "vibration", "rubber-cord"},
                                           WindowPair{"VibrationAndRotation", "vibration", "rotation"},
                                           WindowPair{"RotationAndCord", "rotation", "rubber-cord"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

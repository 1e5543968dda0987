// The measurement window's and the recordings' texts, which the desktop and
// the page both read by name: each name once, each text translated.

#include "measure/measure_texts.h"
#include "runtime/text/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace {

struct Table {
    const char* name;
    std::string_view context;
    std::span<const measure::NamedText> (*texts)();
};

class MeasureTextsTest : public testing::TestWithParam<Table> {};

TEST_P(MeasureTextsTest, EveryNameOnceAndEveryTextInEnglish)
{
    std::set<std::string_view> names;
    for (const measure::NamedText& t : GetParam().texts()) {
        EXPECT_TRUE(names.insert(t.name).second) << t.name << " twice";
        EXPECT_NE(rt::text::translate("en", GetParam().context, t.source), t.source) << t.name;
        EXPECT_STREQ(measure::namedText(GetParam().texts(), t.name), t.source);
    }
    EXPECT_THROW(measure::namedText(GetParam().texts(), "noSuchText"), std::logic_error);
}

INSTANTIATE_TEST_SUITE_P(Tables, MeasureTextsTest,
                         testing::Values(Table{"measurement", measure::kMeasurementContext, measure::measurementTexts},
                                         Table{"recording", "frmMain", measure::recordingTexts}),
                         [](const testing::TestParamInfo<Table>& info) { return std::string(info.param.name); });

}  // namespace

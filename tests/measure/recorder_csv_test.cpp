// The recorder and the CSV: every number back as the same double, the
// header and units, a save that cannot happen, and hostile text to read.

#include "measure/csv.h"
#include "tests/support/headless_run.h"
#include "measure/recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

using measure::CsvTable;
using measure::Recorder;

// Names of a real table, so the English half of the header comes from the
// translations as in a real CSV.
constexpr sims::QuantityInfo kInfos[] = {
    {"a", "位置", "unit"},
    {"b", "速度", "unit/tick"},
};

// Awkward doubles: shortest forms of every length, subnormals, extremes.
const double kValues[] = {0.1,  -0.0, 1e-310, std::numeric_limits<double>::max(), 100.998, 1.0 / 3, -2.5e-7,
                          12345678.901234567, std::numeric_limits<double>::infinity(), 5e-324};

Recorder filled(std::size_t rows)
{
    Recorder rec(2);
    for (std::size_t i = 0; i < rows; ++i)
        rec.append(static_cast<std::int64_t>(i + 1), [i](std::span<double> row) {
            row[0] = kValues[i % std::size(kValues)];
            row[1] = static_cast<double>(i) * 0.1;
        });
    return rec;
}

std::string csvOf(const CsvTable& table)
{
    std::string text;
    measure::writeCsv(table, [&text](std::string_view piece) { text.append(piece); });
    return text;
}

CsvTable tableOf(const Recorder& rec)
{
    return {"test", {{"mass", "重さ", 500.0}, {"timer", "タイマー", std::nullopt}}, kInfos, "VibrationQuantities", {0, 1}, &rec};
}

TEST(Recorder, KeepsRowsAcrossChunksAndStopsWhenFull)
{
    Recorder rec(1, Recorder::ChunkRows + 3);
    for (std::size_t i = 0; i < Recorder::ChunkRows + 3; ++i)
        ASSERT_TRUE(rec.append(static_cast<std::int64_t>(i) + 7, [i](std::span<double> row) { row[0] = double(i); }));
    EXPECT_TRUE(rec.full());
    EXPECT_FALSE(rec.append(99, [](std::span<double> row) { row[0] = -1; }));
    EXPECT_EQ(rec.rows(), Recorder::ChunkRows + 3);
    for (std::size_t i : {std::size_t{0}, Recorder::ChunkRows - 1, Recorder::ChunkRows, Recorder::ChunkRows + 2}) {
        EXPECT_EQ(rec.tick(i), static_cast<std::int64_t>(i) + 7);
        EXPECT_EQ(rec.value(i, 0), double(i));
    }
    EXPECT_EQ(Recorder(1, 5'000'000).maxRows(), Recorder::MaxRows);
}

TEST(Csv, EveryNumberReadsBackAsTheSameDouble)
{
    const Recorder rec = filled(Recorder::ChunkRows + 10);
    const std::string text = csvOf(tableOf(rec));
    const measure::CsvReadResult read = measure::readCsv(text);
    ASSERT_TRUE(read.data) << read.error;
    ASSERT_EQ(read.data->rows.size(), rec.rows());
    for (std::size_t r = 0; r < rec.rows(); ++r) {
        ASSERT_EQ(read.data->rows[r][0], static_cast<double>(rec.tick(r)));
        for (std::size_t c = 0; c < 2; ++c) {
            const double back = read.data->rows[r][c + 1];
            ASSERT_TRUE(back == rec.value(r, c) && std::signbit(back) == std::signbit(rec.value(r, c)))
                << "row " << r << " column " << c;
        }
    }
}

TEST(Csv, StartsWithTheMarkTheParametersAndTheNamedHeader)
{
    const Recorder rec = filled(2);
    const std::string text = csvOf(tableOf(rec));
    EXPECT_EQ(text,
              "\xEF\xBB\xBF# SpringLab test\n"
              "# mass = 500 (重さ)\n"
              "# timer = ? (タイマー)\n"
              "時刻 tick [tick],位置 position (spring length) [unit],速度 velocity [unit/tick]\n"
              "1,0.1,0\n"
              "2,-0,0.1\n");
    const auto read = measure::readCsv(text);
    ASSERT_TRUE(read.data);
    EXPECT_EQ(read.data->experiment, "test");
    EXPECT_EQ(read.data->parameters, (std::vector<std::pair<std::string, std::string>>{{"mass", "500"}, {"timer", "?"}}));
    EXPECT_EQ(read.data->header[2], "速度 velocity [unit/tick]");

    // Only the chosen columns, in the chosen order.
    CsvTable some = tableOf(rec);
    some.columns = {1};
    EXPECT_TRUE(csvOf(some).ends_with("時刻 tick [tick],速度 velocity [unit/tick]\n1,0\n2,0.1\n"));
}

class CsvSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("springlab_csv_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
};

TEST_F(CsvSave, WritesTheWholeFileAndLeavesNoTemporary)
{
    const Recorder rec = filled(100);
    const auto path = (dir / "run.csv").string();
    {
        std::ofstream old(path);
        old << "the old file";
    }
    EXPECT_EQ(measure::saveCsv(path, tableOf(rec)), "");
    std::ifstream in(path, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(saved, csvOf(tableOf(rec)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(CsvSave, AnUnwritablePlaceIsReportedAndTheDataStay)
{
    const Recorder rec = filled(100);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const auto path = (dir / "run.csv").string();
    const std::string error = measure::saveCsv(path, tableOf(rec));
    if (::geteuid() != 0) {  // the superuser writes anywhere
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_EQ(measure::saveCsv((dir / "no" / "such" / "folder.csv").string(), tableOf(rec)).empty(), false);
    EXPECT_EQ(rec.rows(), 100u);
    EXPECT_EQ(rec.value(99, 1), 99 * 0.1);
    // A folder, a device or a pipe by the name is left as it is.
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    std::filesystem::create_directory(dir / "folder.csv");
    EXPECT_NE(measure::saveCsv((dir / "folder.csv").string(), tableOf(rec)).find("not an ordinary file"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.csv"));
    EXPECT_NE(measure::saveCsv("/dev/null", tableOf(rec)), "");
}

struct HostileCase {
    const char* name;
    std::string text;
    const char* error;  // the start of the message, "" when it reads
};

class CsvHostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(CsvHostile, ClearMessageNamingTheLine)
{
    const auto read = measure::readCsv(GetParam().text, 3);
    if (*GetParam().error == '\0') {
        EXPECT_TRUE(read.data) << read.error;
    } else {
        EXPECT_FALSE(read.data);
        EXPECT_EQ(read.error.substr(0, std::string_view(GetParam().error).size()), GetParam().error) << read.error;
    }
}

const std::string kHead = "# SpringLab x\n時刻 tick [tick],a\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvHostile,
    ::testing::Values(HostileCase{"Empty", "", "line 0: no header row"},
                      HostileCase{"OnlyComments", "# a = 1\n# b\n", "line 2: no header row"},
                      HostileCase{"NoTickColumn", "x,y\n1,2\n", "line 1: the first column is not the tick"},
                      HostileCase{"ShortRow", kHead + "1,2\n3\n", "line 4: 1 fields where the header has 2"},
                      HostileCase{"LongRow", kHead + "1,2,3\n", "line 3: 3 fields"},
                      HostileCase{"Text", kHead + "1,abc\n", "line 3: field 2 is not a number"},
                      HostileCase{"TrailingJunk", kHead + "1,2x\n", "line 3: field 2"},
                      HostileCase{"PlusSign", kHead + "1,+2\n", "line 3: field 2"},
                      HostileCase{"EmptyField", kHead + "1,\n", "line 3: field 2"},
                      HostileCase{"NulByte", kHead + std::string("1,2\0", 4) + "\n", "line 3: field 2"},
                      HostileCase{"TooManyRows", kHead + "1,1\n2,2\n3,3\n4,4\n", "line 6: more than 3 rows"},
                      HostileCase{"TooManyColumns", "時刻 tick [tick]" + std::string(300, ','), "line 1: more than"},
                      HostileCase{"CrLfAndInfinity", kHead + "1,inf\r\n2,-inf\r\n", ""},
                      HostileCase{"NoLastLineFeed", kHead + "1,2", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// The WebAssembly build, run by node, must do what the desktop program does:
// the same CSV and recordings byte for byte, the same messages and exit
// statuses, and Val the same on every text. Each run is made twice, by the
// desktop program and by node, each in a folder of its own, and everything
// it printed or wrote is compared. The tests skip only when the web build
// was never configured (`make web`; `make test` does it first).

#include "runtime/canvas/raster.h"
#include "runtime/text/catalogue.h"
#include "sims/launcher.h"
#include "sims/registry.h"
#include "tests/web/headless_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kWebDir = SPRINGLAB_WEB_DIR;

struct Output {
    std::string out;
    std::string err;
    int status = -1;
};

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program in `folder` with stdout and stderr into files there.
Output runIn(const fs::path& folder, std::vector<std::string> argv)
{
    const fs::path outPath = folder / ".stdout";
    const fs::path errPath = folder / ".stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::chdir(folder.c_str()) != 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    Output o{contents(outPath), contents(errPath), WIFEXITED(status) ? WEXITSTATUS(status) : 128};
    fs::remove(outPath);
    fs::remove(errPath);
    return o;
}

bool webConfigured() { return fs::exists(kWebDir / "cmake" / "CMakeCache.txt"); }

class WebTwin : public testing::Test {
protected:
    void SetUp() override
    {
        if (!webConfigured())
            GTEST_SKIP() << "no web build in " << kWebDir << " (make web)";
        m_root = fs::temp_directory_path() / ("springlab-web-" + std::to_string(::getpid()));
        m_native = m_root / "native";
        m_node = m_root / "node";
        fs::create_directories(m_native);
        fs::create_directories(m_node);
    }
    void TearDown() override
    {
        if (!m_root.empty())
            fs::remove_all(m_root);
    }

    // Runs both programs with the same arguments and compares what they
    // printed and the status they ended with.
    void runBoth(const std::string& nativeProgram, const std::string& webProgram,
                 const std::vector<std::string>& args, std::size_t* lines = nullptr)
    {
        std::vector<std::string> nativeArgv{nativeProgram};
        std::vector<std::string> nodeArgv{SPRINGLAB_NODE, (kWebDir / webProgram).string()};
        nativeArgv.insert(nativeArgv.end(), args.begin(), args.end());
        nodeArgv.insert(nodeArgv.end(), args.begin(), args.end());
        const Output native = runIn(m_native, nativeArgv);
        const Output node = runIn(m_node, nodeArgv);
        EXPECT_EQ(node.status, native.status) << node.err;
        EXPECT_EQ(node.err, native.err);
        EXPECT_TRUE(node.out == native.out) << "stdout differs (" << node.out.size() << " bytes from node, "
                                            << native.out.size() << " natively)";
        if (lines)
            *lines = static_cast<std::size_t>(std::count(native.out.begin(), native.out.end(), '\n'));
    }

    // Every file either run wrote must be there, byte for byte, for the other.
    void expectSameFiles()
    {
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(m_native)) {
            ++files;
            const fs::path twin = m_node / entry.path().filename();
            ASSERT_TRUE(fs::exists(twin)) << twin;
            EXPECT_TRUE(contents(entry.path()) == contents(twin)) << entry.path().filename() << " differs";
        }
        EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(m_node), {})), files);
    }

    fs::path m_root, m_native, m_node;
};

struct RunCase {
    const char* name;
    std::vector<std::vector<std::string>> commands;  // run one after another in the same folder
    std::vector<std::pair<std::string, std::string>> files = {};  // put in the folder first
};

class SameRuns : public WebTwin, public testing::WithParamInterface<RunCase> {};

TEST_P(SameRuns, PrintsAndWritesTheSame)
{
    for (const auto& [name, text] : GetParam().files)
        for (const fs::path& folder : {m_native, m_node})
            std::ofstream(folder / name, std::ios::binary) << text;
    for (const std::vector<std::string>& command : GetParam().commands)
        runBoth(SPRINGLAB_NATIVE_CLI, "springlab-cli.mjs", command);
    expectSameFiles();
}

using Args = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(Experiments, SameRuns, testing::Values(
    RunCase{"VibrationDefaults", {Args{"run", "vibration", "--csv", "v.csv", "--record", "v.jsonl"}}},
    RunCase{"VibrationJapaneseAndEnglishKeys",
            {Args{"run", "vibration", "--set", "重さ=250", "--set", "viscosity=1 2.5d-4", "--set", "長さ=&HFF",
                  "--ticks", "700", "--csv", "-"}}},
    RunCase{"VibrationLastState", {Args{"run", "vibration", "--set", "stiffness=.7e1", "--ticks", "333"}}},
    RunCase{"VibrationDivisionByZero", {Args{"run", "vibration", "--set", "mass=0", "--csv", "-"}}},
    RunCase{"RotationMovesAndPresses",
            {Args{"run", "rotation", "--move", "0:3000,1500", "--move", "40:-1200.5,2400", "--press", "80:10,20",
                  "--ticks", "300", "--csv", "r.csv", "--record", "r.jsonl"}}},
    RunCase{"RotationRelaxGrowsUntilTheError",
            {Args{"run", "rotation", "--set", "relax=1.5", "--move", "0:3000,1500", "--csv", "-"}}},
    RunCase{"RotationJapaneseKeys", {Args{"run", "rotation", "--set", "バネ定数=0.035", "--set", "緩和係数=0.95",
                                          "--move", "1:5000,100", "--ticks", "500", "--csv", "-"}}},
    RunCase{"TwoBallsUntilRest", {Args{"run", "two-balls", "--csv", "t.csv"}}},
    RunCase{"TwoBallsPressed", {Args{"run", "two-balls", "--set", "gravity=1.5", "--set", "バネの強さ=4",
                                     "--press", "30:4000,2000", "--press", "90:100,100", "--ticks", "400",
                                     "--csv", "-", "--record", "t.jsonl"}}},
    RunCase{"TwoBallsRefusedTimer", {Args{"run", "two-balls", "--set", "タイマー=70000"}}},
    RunCase{"RubberCordDefaults", {Args{"run", "rubber-cord", "--ticks", "200", "--csv", "c.csv"}}},
    // The display list at the last tick, element for element and bit for bit.
    RunCase{"PicturesAtTheLastTick",
            {Args{"run", "vibration", "--ticks", "77", "--press", "30:2000,100", "--picture", "v.svg"},
             Args{"run", "rotation", "--move", "0:3000,1500", "--ticks", "150", "--picture", "r.svg"},
             Args{"run", "two-balls", "--ticks", "120", "--picture", "t.svg"},
             Args{"run", "rubber-cord", "--set", "nodes=2000", "--press", "40:5000,300", "--ticks", "90",
                  "--picture", "c.svg"}}},
    RunCase{"RubberCordLongAndPulled",
            {Args{"run", "rubber-cord", "--set", "nodes=5000", "--set", "粘性抵抗=0.01", "--press", "5:6000,300",
                  "--move", "20:200,4000", "--ticks", "60", "--csv", "-", "--record", "c.jsonl"}}},
    RunCase{"RubberCordTimerOverflow", {Args{"run", "rubber-cord", "--set", "timer=1e10"}}},
    RunCase{"RubberCordNoNodes", {Args{"run", "rubber-cord", "--set", "nodes=-1"}}},
    RunCase{"BadArguments", {Args{"run", "vibration", "--set", "colour=red"},
                             Args{"run", "two-balls", "--press", "5:1,nan"}, Args{"run", "pendulum"},
                             Args{"run", "vibration", "--ticks=1.5"}, Args{"run", "--help"}}},
    RunCase{"ReplayOfARecording",
            {Args{"run", "two-balls", "--press", "12:3000,2500", "--ticks", "150", "--record", "p.jsonl"},
             Args{"replay", "p.jsonl", "--csv", "-"},
             Args{"replay", "p.jsonl", "--csv", "replayed.csv"}}},
    // Made in a window: started part way through a run (the balls' velocities
    // carried), "変更" twice mid-run, a press, a pause with steps.
    RunCase{"ReplayOfAWindowRecordingStartedMidRun",
            {Args{"replay", "w.jsonl", "--csv", "w.csv"}, Args{"replay", "w.jsonl", "--csv", "-"}},
            {{"w.jsonl",
              "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"two-balls\","
              "\"carry\":[0.5,-1.25,0,2.5]}\n"
              "{\"tick\":0,\"change\":{\"timer\":\"10\",\"length\":\"300\",\"stiffness\":\"10\","
              "\"resistance\":\"0.02\",\"mass1\":\"1500\",\"mass2\":\"200\",\"gravity\":\"0.98\"}}\n"
              "{\"tick\":25,\"press\":[3000,2000]}\n"
              "{\"tick\":40,\"change\":{\"質量2\":\"350\"}}\n"
              "{\"tick\":60,\"pause\":true}\n{\"tick\":61,\"step\":true}\n{\"tick\":62,\"step\":true}\n"
              "{\"tick\":62,\"resume\":true}\n"
              "{\"tick\":80,\"change\":{\"gravity\":\"1.5\",\"resistance\":\"0.05\"}}\n"
              "{\"tick\":150,\"end\":true}\n"}}},
    RunCase{"ReplayOfAMissingFile", {Args{"replay", "absent.jsonl"}}},
    RunCase{"UnwritableCsv", {Args{"run", "vibration", "--ticks", "5", "--csv", "/nonexistent-folder/run.csv"}}}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

// The browser's API (springlab-api.mjs, driven by api_drive.mjs as the
// command line drives a run) against `springlab run`: the same CSV bytes,
// the same run-time error at the same tick, the same last picture, and its
// own recording replayed to the same CSV.
struct ApiCase {
    const char* name;
    std::string experiment;
    std::string ticks;
    Args options;  // --set, --press and --move as the command line takes them
    int error = 0;  // the run-time error it must end in; 0: none
    bool knocks = false;  // whether the run must knock
};

// The line (with the newline before it) api_drive.mjs prints of the
// picture's pixels at a zoom: the window's client area, drawn natively as
// the page asks the module to.
std::string rasterLine(const sims::HeadlessRun& run, int zoom)
{
    const double scale = zoom / 15.0;
    const int width = static_cast<int>(std::lround(run.definition().clientWidth * scale));
    const int height = static_cast<int>(std::lround(run.definition().clientHeight * scale));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    rt::rasterPicture({pixels.data(), width, height, width}, run.canvas().displayList(), run.canvas().BackColor,
                      scale, rt::PixelLayout::Rgba);
    std::uint32_t hash = 0x811c9dc5;
    for (const std::uint32_t pixel : pixels)
        for (int byte = 0; byte < 4; ++byte)  // R, G, B, A as they lie in memory
            hash = (hash ^ ((pixel >> (8 * byte)) & 0xFF)) * 0x01000193u;
    std::ostringstream line;
    line << "\nraster " << zoom << " " << width << "x" << height << " " << std::hex << hash << "\n";
    return line.str();
}

std::string lineAfter(const std::string& out, const std::string& label)
{
    const std::size_t at = out.find("\n" + label + " ");
    if (at == std::string::npos)
        return "(no " + label + " line)";
    const std::size_t start = at + label.size() + 2;
    return out.substr(start, out.find('\n', start) - start);
}

class ApiLikeCommandLine : public WebTwin, public testing::WithParamInterface<ApiCase> {};

// The first `<tag` element's numeric attributes, as floats.
std::vector<float> firstElement(const std::string& svg, const std::string& tag, std::vector<std::string> names)
{
    std::vector<float> values;
    const std::size_t at = svg.find("<" + tag + " ");
    if (at == std::string::npos)
        return values;
    for (const std::string& name : names) {
        const std::size_t value = svg.find(" " + name + "=\"", at) + name.size() + 3;
        values.push_back(std::strtof(svg.c_str() + value, nullptr));
    }
    return values;
}

std::vector<float> floatsAfter(const std::string& out, const std::string& label)
{
    std::istringstream line(out.substr(out.find("\n" + label + " ") + label.size() + 2));
    std::vector<float> values;
    std::string word;
    while (line.peek() != '\n' && line >> word)
        values.push_back(static_cast<float>(std::strtod(word.c_str(), nullptr)));
    return values;
}

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_P(ApiLikeCommandLine, SameCsvErrorAndPicture)
{
    const ApiCase& c = GetParam();
    Args native{SPRINGLAB_NATIVE_CLI, "run", c.experiment, "--ticks", c.ticks, "--csv", "native.csv", "--picture",
                "native.svg"};
    native.insert(native.end(), c.options.begin(), c.options.end());
    const Output n = runIn(m_native, native);
    Args api{SPRINGLAB_NODE, SPRINGLAB_API_DRIVER, kWebDir.string(), c.experiment, c.ticks};
    api.insert(api.end(), c.options.begin(), c.options.end());
    const Output a = runIn(m_node, api);
    ASSERT_EQ(a.status, 0) << a.err;

    // The knocks of every call, the desktop's run's and the page's alike.
    sims::HeadlessRun twin(*sims::findExperiment(c.experiment));
    const std::string knocks = webtest::drive(twin, c.options, std::stoll(c.ticks));
    EXPECT_EQ(lineAfter(a.out, "knocks"), knocks);
    EXPECT_EQ(!knocks.empty(), c.knocks) << knocks;
    // The page's pixels are the desktop rasterizer's, byte for byte.
    for (const int zoom : {1, 2}) {
        const std::string line = rasterLine(twin, zoom);
        EXPECT_NE(a.out.find(line), std::string::npos) << a.out << line;
    }

    const std::string csv = contents(m_node / "api.csv");
    EXPECT_GT(csv.size(), 0u);
    EXPECT_TRUE(csv == contents(m_native / "native.csv")) << "CSV differs";
    EXPECT_TRUE(contents(m_node / "replayed.csv") == csv) << "the API's recording replays differently";
    EXPECT_NE(a.out.find("\nNaN refused: true\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("\nlong text refused: true\n"), std::string::npos) << a.out;
    if (c.error) {
        EXPECT_EQ(n.status, 3);
        const std::string tick = n.err.substr(n.err.find(" at tick ") + 9);
        EXPECT_EQ(a.out.rfind("error " + std::to_string(c.error) + " " + tick.substr(0, tick.find(':')) + " ", 0), 0u)
            << a.out << n.err;
        return;
    }
    EXPECT_EQ(n.status, 0) << n.err;
    EXPECT_EQ(a.out.rfind("error none\n", 0), 0u) << a.out;
    EXPECT_NE(a.out.find("\nsample same\n"), std::string::npos) << a.out;
    const std::string header = a.out.substr(a.out.find("\nheader ") + 8);
    EXPECT_NE(csv.find("時刻 tick [tick]," + header.substr(0, header.find('\n') + 1)), std::string::npos) << header;
    const std::string svg = contents(m_native / "native.svg");
    std::ostringstream counts;
    counts << "counts " << occurrences(svg, "<line ") << " " << occurrences(svg, "<path ") << " "
           << occurrences(svg, "<circle ") << "\n";
    EXPECT_NE(a.out.find(counts.str()), std::string::npos) << a.out << "native: " << counts.str();
    EXPECT_EQ(floatsAfter(a.out, "line"), firstElement(svg, "line", {"x1", "y1", "x2", "y2"}));
    EXPECT_EQ(floatsAfter(a.out, "circle"), firstElement(svg, "circle", {"cx", "cy", "r"}));
}

INSTANTIATE_TEST_SUITE_P(Experiments, ApiLikeCommandLine, testing::Values(
    ApiCase{"VibrationDefaults", "vibration", "300", {}},
    ApiCase{"VibrationSetAndPressed", "vibration", "200", {"--set", "重さ=250", "--press", "40:2000,100"}},
    ApiCase{"VibrationDivisionByZero", "vibration", "50", {"--set", "mass=0"}, 11},
    ApiCase{"RotationMoved", "rotation", "150", {"--move", "0:3000,1500", "--press", "90:10,20"}},
    ApiCase{"RotationRelaxGrowsUntilTheError", "rotation", "10000", {"--set", "relax=1.5", "--move", "0:3000,1500"}, 6},
    ApiCase{"TwoBallsUntilRest", "two-balls", "5000", {"--set", "gravity=1.5"}, 0, true},
    ApiCase{"TwoBallsPressed", "two-balls", "120", {"--press", "30:4000,2000"}, 0, true},
    // Single knocks, and two in one tick where both balls reach the floor.
    ApiCase{"TwoBallsAcrossBounces", "two-balls", "300", {"--set", "mass2=400", "--press", "30:4000,2000"}, 0, true},
    ApiCase{"RubberCordPulled", "rubber-cord", "60", {"--set", "nodes=300", "--press", "5:6000,300", "--move", "20:200,4000"}},
    ApiCase{"RubberCordNoNodes", "rubber-cord", "10", {"--set", "nodes=-1"}, 9}),
    [](const testing::TestParamInfo<ApiCase>& info) { return std::string(info.param.name); });

// The launcher the page builds is the desktop's: its design table, and the
// experiment each button opens with its icon; the languages named in
// themselves, as the desktop's language menu names them.
TEST_F(WebTwin, LauncherAndLanguagesAsTheDesktopHasThem)
{
    const Output a = runIn(m_node, {SPRINGLAB_NODE, SPRINGLAB_API_DRIVER, kWebDir.string(), "--lab"});
    ASSERT_EQ(a.status, 0) << a.err;
    const rt::FormDesign& form = sims::launcher();
    std::ostringstream expected;
    expected << "form " << form.formName << " " << form.caption << " " << form.clientWidth << " "
             << form.clientHeight << "\n";
    static const char* const kinds[] = {"label", "textBox", "commandButton"};
    for (const rt::ControlDef& c : form.controls) {
        expected << "control " << kinds[static_cast<int>(c.kind)] << " " << c.name << " " << c.text << " " << c.left
                 << " " << c.top << " " << c.width << " " << c.height << " " << c.tabIndex << " ";
        if (c.backColor == rt::kDefaultColor)
            expected << "null\n";
        else
            expected << c.backColor << "\n";
    }
    for (const sims::Definition* d : sims::experiments())
        expected << "opens " << d->launcherButton << " " << d->name << " " << d->icon << "\n";
    expected << "language ja 日本語\nlanguage en English\n";
    EXPECT_EQ(a.out, expected.str());
}

// lab.translate against the table the desktop's command line reads, and
// the text each must give.
struct TextCase {
    const char* name;
    const char* language;
    const char* context;
    const char* source;
    const char* expected;
};

class PageTexts : public WebTwin, public testing::WithParamInterface<TextCase> {};

TEST_P(PageTexts, TranslatedAsOnTheDesktop)
{
    const TextCase& c = GetParam();
    const std::string asked = std::string(c.language) + "/" + c.context + "/" + c.source;
    const Output a = runIn(m_node, {SPRINGLAB_NODE, SPRINGLAB_API_DRIVER, kWebDir.string(), "--lab", asked});
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(lineAfter(a.out, "text"), c.expected);
    EXPECT_EQ(rt::text::translate(c.language, c.context, c.source), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, PageTexts, testing::Values(
    TextCase{"LauncherCaptionInEnglish", "en", "frmMain", "バネ関係", "Spring Experiments"},
    TextCase{"LauncherCaptionInJapanese", "ja", "frmMain", "バネ関係", "バネ関係"},
    TextCase{"ButtonInEnglish", "en", "frmMain", "バネでつながった2個のボール", "Two balls joined by a spring"},
    TextCase{"ChangeButtonOfAWindow", "en", "frm2Bolls", "変更", "Apply"},
    TextCase{"QuantityName", "en", "VibrationQuantities", "位置", "position (spring length)"},
    TextCase{"OtherContextHasNoSuchText", "en", "frmMain", "変更", "変更"},
    TextCase{"UnknownLanguageKeepsTheSource", "fr", "frmMain", "バネ関係", "バネ関係"},
    TextCase{"ObjectMembersAreNoTranslations", "en", "__proto__", "toString", "toString"}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// The page's use of the API compiles against its types with `tsc --strict`.
TEST(PageTypes, CompileStrictly)
{
    const fs::path folder = fs::temp_directory_path() / ("springlab-tsc-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const Output o = runIn(folder, {SPRINGLAB_TSC, "--strict", "--noEmit", "--module", "nodenext", "--moduleResolution",
                                    "nodenext", "--target", "es2022", "--lib", "es2022", SPRINGLAB_TYPINGS_CHECK});
    fs::remove_all(folder);
    EXPECT_EQ(o.status, 0) << o.out << o.err;
}

// Val, its conversions and the shortest text on the fuzzer's texts and
// 100 000 more; rt::hypot on 100 000 pairs.
TEST_F(WebTwin, NumbersAlike)
{
    std::vector<std::string> corpus;
    for (const auto& entry : fs::directory_iterator(SPRINGLAB_VAL_CORPUS))
        corpus.push_back(entry.path().string());
    std::sort(corpus.begin(), corpus.end());
    std::size_t lines = 0;
    runBoth(SPRINGLAB_NATIVE_NUMBER_TABLE, "springlab-number-table.mjs", corpus, &lines);
    EXPECT_GE(lines, 200'000u + corpus.size());
}

}  // namespace

#include "measure/measure_texts.h"

#include "sims/experiment.h"  // QT_TRANSLATE_NOOP without Qt

#include <stdexcept>
#include <string>

namespace measure {
namespace {

// Each text inside its QT_TRANSLATE_NOOP, where the translation tools find it.
const NamedText kMeasurement[] = {
    {"title", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "%1の計測")},
    {"quantities", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "表示する量")},
    {"tickAxis", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "時刻 [tick]")},
    {"resume", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "再開")},
    {"pause", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "一時停止")},
    {"resumeTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "再開 (Space)")},
    {"pauseTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "一時停止 (Space)")},
    {"step", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "1 ティック進める")},
    {"stepTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "一時停止して 1 ティックだけ進めます (→)")},
    {"csv", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "CSV で保存…")},
    {"csvTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "記録したすべてのティックを CSV ファイルに保存します (Ctrl+S)")},
    {"graph", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "グラフを保存…")},
    {"graphTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "グラフを PNG か SVG の画像として保存します (Ctrl+Shift+S)")},
    {"copy", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "コピー")},
    {"copyTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "グラフに出ているデータをタブ区切りでクリップボードへ (Ctrl+C)")},
    {"paused", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "一時停止中")},
    {"recordStop", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "記録終了…")},
    {"recordStart", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "記録開始")},
    {"recordStopTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "入力の記録を終えて、ファイルに保存します")},
    {"recordStartTip", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "次に窓が開くか「変更」を押したときから、入力を記録します")},
    {"status", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "記録: %1 ティック (グラフは最後の %2 ティック)")},
    {"full", QT_TRANSLATE_NOOP("measure::MeasurementWindow", " — 記録が一杯です。これより後のティックは記録されません。")},
    {"graphFailed", QT_TRANSLATE_NOOP("measure::MeasurementWindow", "グラフを保存できませんでした。\n%1")},
};

const NamedText kRecording[] = {
    {"record", QT_TRANSLATE_NOOP("frmMain", "記録")},
    {"nothing", QT_TRANSLATE_NOOP("frmMain", "記録はありません。記録は、実験の窓が開くときか「変更」を押したときに始まります。")},
    {"replay", QT_TRANSLATE_NOOP("frmMain", "再生")},
};

}  // namespace

std::span<const NamedText> measurementTexts() { return kMeasurement; }
std::span<const NamedText> recordingTexts() { return kRecording; }

const char* namedText(std::span<const NamedText> table, std::string_view name)
{
    for (const NamedText& t : table)
        if (t.name == name)
            return t.source;
    throw std::logic_error("no text named " + std::string(name));
}

}  // namespace measure

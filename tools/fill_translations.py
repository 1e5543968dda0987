#!/usr/bin/env python3
"""Writes the English wording into translations/springlab_en.ts.

The texts are kept here, by window, so that after `update_translations`
gathers a new Japanese text its English can be added in one place:
    python3 tools/fill_translations.py translations/springlab_en.ts
The Japanese file needs nothing: Japanese is the language of the sources.
"""
import sys
import xml.etree.ElementTree as ET

ENGLISH = {
    "Language": {
        "日本語": "English",
    },
    "RotationQuantities": {
        "x座標": "x of the mass",
        "y座標": "y of the mass (down)",
        "ポインタまでの距離": "distance to the pointer",
        "速さ": "speed",
    },
    "RubberCordQuantities": {
        "節点0のx": "x of node 0",
        "節点0のy": "y of node 0 (down)",
        "全長": "total length",
        "節点の数×節点間の長さ": "NodeCount × segment length",
        "最大の伸び": "largest stretch",
        "運動エネルギー": "kinetic energy (unit mass per node)",
    },
    "TwoBallsQuantities": {
        "ボール1の高さ": "height of ball 1",
        "ボール2の高さ": "height of ball 2",
        "ボール1の速さ": "speed of ball 1",
        "ボール2の速さ": "speed of ball 2",
        "バネの長さ": "spring length",
        "全エネルギー": "total energy",
        "跳ね返り": "bounces this tick",
    },
    "VibrationQuantities": {
        "位置": "position (spring length)",
        "速度": "velocity",
        "力": "force",
        "運動エネルギー": "kinetic energy",
        "バネのエネルギー": "spring energy",
        "全エネルギー": "total energy",
    },
    "RuntimeError": {
        "プロシージャの呼び出し、または引数が不正です。": "Invalid procedure call or argument.",
        "オーバーフローしました。": "Overflow.",
        "メモリが不足しています。": "Out of memory.",
        "インデックスが有効範囲にありません。": "Subscript out of range.",
        "0 で除算しました。": "Division by zero.",
        "浮動小数点演算が無効です。": "Invalid floating-point operation.",
        "プロパティの値が不正です。": "Invalid property value.",
        "実行時エラーが発生しました。": "A run-time error occurred.",
    },
    "rt::Form": {
        "実行時エラー '%1':\n\n%2\n\n「%3」のタイマーを止めました。値を直して［変更］を押すと、もう一度動きます。":
            "Run-time error '%1':\n\n%2\n\nThe timer of \"%3\" has been stopped. "
            "Correct the values and press [Apply] to start it again.",
    },
    "frmMain": {
        "画面に収まりません": "does not fit the screen",
        "バネ関係": "Spring Experiments",
        "ゴムひもで回転": "Rotation on a rubber cord",
        "バネの振動": "Vibration of a spring",
        "バネでつながった2個のボール": "Two balls joined by a spring",
        "ゴムひも": "Rubber cord",
        "表示(&V)": "&View",
        "倍率(&Z)": "&Zoom",
        "ヘルプ(&H)": "&Help",
        "バージョン情報(&A)": "&About",
        "バージョン情報": "About",
        "バネとおもりの4つの実験を動かして見せる、授業のためのプログラムです。":
            "Four mass-and-spring experiments, animated for the physics classroom.",
        "ライセンス: GNU 一般公衆利用許諾書 第3版以降 (GPL-3.0-or-later)":
            "Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later)",
        "Qt %1 を使っています。": "Built with Qt %1.",
        "計測(&M)": "&Measure",
        "記録(&R)": "&Record",
        "再生(&P)...": "&Replay...",
        "記録": "Record",
        "再生": "Replay",
        "記録はありません。記録は、実験の窓が開くときか「変更」を押したときに始まります。":
            "Nothing was recorded. A recording starts when the experiment's window opens or [Apply] is pressed.",
        "記録 (*.jsonl)": "Recordings (*.jsonl)",
        "記録がいっぱいになったので、%1 ティックで終わっています。":
            "The recording was full, so it ends at tick %1.",
        "記録 (*.jsonl);;すべてのファイル (*)": "Recordings (*.jsonl);;All files (*)",
    },
    "measure::MeasurementWindow": {
        "%1の計測": "%1 \u2014 Measurement",
        "表示する量": "Quantities shown",
        "時刻 [tick]": "time [tick]",
        "再開": "Resume",
        "一時停止": "Pause",
        "再開 (Space)": "Resume (Space)",
        "一時停止 (Space)": "Pause (Space)",
        "1 ティック進める": "Step one tick",
        "一時停止して 1 ティックだけ進めます (→)": "Pause and run exactly one tick (\u2192)",
        "CSV で保存…": "Save as CSV\u2026",
        "記録したすべてのティックを CSV ファイルに保存します (Ctrl+S)":
            "Save every recorded tick to a CSV file (Ctrl+S)",
        "グラフを保存…": "Save graph\u2026",
        "グラフを PNG か SVG の画像として保存します (Ctrl+Shift+S)":
            "Save the graph as a PNG or SVG picture (Ctrl+Shift+S)",
        "コピー": "Copy",
        "グラフに出ているデータをタブ区切りでクリップボードへ (Ctrl+C)":
            "Copy the data on the graph to the clipboard, tab-separated (Ctrl+C)",
        "一時停止中": "Paused",
        "記録開始": "Start recording",
        "記録終了…": "Stop recording…",
        "入力の記録を終えて、ファイルに保存します": "Stops recording the inputs and saves them to a file",
        "次に窓が開くか「変更」を押したときから、入力を記録します":
            "Records the inputs from the next time the window opens or [Apply] is pressed",
        "記録: %1 ティック (グラフは最後の %2 ティック)": "Recorded: %1 ticks (the graph shows the last %2)",
        " — 記録が一杯です。これより後のティックは記録されません。":
            " \u2014 the recording is full; later ticks are not recorded.",
        "CSV ファイルを保存できませんでした。\n%1\n\n記録はこの窓に残っています。別の場所に保存してください。":
            "The CSV file could not be saved.\n%1\n\nThe recording is still in this window; save it somewhere else.",
        "グラフを保存できませんでした。\n%1: %2": "The graph could not be saved.\n%1: %2",
        "CSV で保存": "Save as CSV",
        "CSV ファイル (*.csv)": "CSV files (*.csv)",
        "グラフを保存": "Save graph",
        "PNG 画像 (*.png);;SVG 画像 (*.svg)": "PNG pictures (*.png);;SVG pictures (*.svg)",
    },
    "frmVibration": {
        "バネの振動": "Vibration of a Spring",
        "変更": "Apply",
        "タイマー": "Timer",
        "長さ": "Length",
        "バネ定数": "Spring k",
        "重さ": "Mass",
        "粘性抵抗": "Damping",
        "クリックして，ボールを引っ張ります。": "Click to pull the ball.",
    },
    "frmRotaion": {
        "ゴム紐で回転": "Rotation on a Rubber Cord",
        "変更": "Apply",
        "タイマー": "Timer",
        "バネ定数": "Spring k",
        "緩和係数": "Relaxation",
    },
    "frm2Bolls": {
        "バネでつながった2つのボール": "Two Balls Joined by a Spring",
        "変更": "Apply",
        "タイマー": "Timer",
        "バネの長さ": "Spring length",
        "バネの強さ": "Stiffness",
        "抵抗": "Resistance",
        "質量１": "Mass 1",
        "質量2": "Mass 2",
        "重力": "Gravity",
        "フォーム内でクリックして，大きなボールを引っ張ります。": "Click in the window to pull the large ball.",
    },
    "frmElasticCode": {
        "ゴムひも": "Rubber Cord",
        "変更": "Apply",
        "タイマー": "Timer",
        "節点の数": "Nodes",
        "節点間の長さ": "Link length",
        "重力": "Gravity",
        "粘性抵抗": "Damping",
        "バネ定数": "Spring k",
        "領域内でクリックしてゴムひもを引っ張ります。": "Click inside the frame to pull the cord.",
    },
}


def main(path):
    tree = ET.parse(path)
    missing = []
    for context in tree.getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            english = ENGLISH.get(name, {}).get(source)
            translation = message.find("translation")
            if english is None:
                missing.append(f"{name}: {source}")
                continue
            translation.text = english
            translation.attrib.pop("type", None)
    tree.write(path, encoding="utf-8", xml_declaration=True)
    with open(path, "r+", encoding="utf-8") as f:  # keep the DOCTYPE lupdate writes
        text = f.read().replace("?>\n<TS", "?>\n<!DOCTYPE TS>\n<TS", 1)
        f.seek(0)
        f.write(text)
        f.truncate()
    for m in missing:
        print("no English for", m, file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))

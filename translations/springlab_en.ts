<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>cli</name>
    <message>
        <source>usage: springlab run EXPERIMENT [--set KEY=VALUE]... [--ticks N] [--press TICK:X,Y]...
                     [--move TICK:X,Y]... [--csv FILE|-] [--columns K1,K2,...] [--record FILE]
                     [--picture FILE.svg]
       springlab replay RECORDING [--csv FILE|-] [--columns K1,K2,...]
       springlab --lang LANGUAGE run|replay ...   (messages in en or ja)

Runs an experiment without a window, tick by tick as its window would.
  EXPERIMENT   %1
  --set        a parameter box by its English key or Japanese label, read with Val
               as the box would read it (--set mass=250 or --set 重さ=250)
  --ticks      how many ticks (default: until the experiment stops by itself,
               at most 10000)
  --press      a mouse press after tick TICK (0: before the first) at X,Y twips
  --move       the pointer moved there after tick TICK (the rotation's cord follows it)
  --csv        the state after every tick as CSV, to FILE or to stdout (-)
  --columns    only these quantities, by key
  --record     the run written down as a recording, for springlab replay
  --picture    the picture after the last tick, as SVG, to FILE
Without --csv the state after the last tick is printed.
Exit status: 0 done, 2 bad arguments, 3 run-time error or output not written
(the rows so far are written).

example: springlab run vibration --set viscosity=0 --ticks 100 --csv swing.csv
</source>
        <translation>usage: springlab run EXPERIMENT [--set KEY=VALUE]... [--ticks N] [--press TICK:X,Y]...
                     [--move TICK:X,Y]... [--csv FILE|-] [--columns K1,K2,...] [--record FILE]
                     [--picture FILE.svg]
       springlab replay RECORDING [--csv FILE|-] [--columns K1,K2,...]
       springlab --lang LANGUAGE run|replay ...   (messages in en or ja)

Runs an experiment without a window, tick by tick as its window would.
  EXPERIMENT   %1
  --set        a parameter box by its English key or Japanese label, read with Val
               as the box would read it (--set mass=250 or --set 重さ=250)
  --ticks      how many ticks (default: until the experiment stops by itself,
               at most 10000)
  --press      a mouse press after tick TICK (0: before the first) at X,Y twips
  --move       the pointer moved there after tick TICK (the rotation's cord follows it)
  --csv        the state after every tick as CSV, to FILE or to stdout (-)
  --columns    only these quantities, by key
  --record     the run written down as a recording, for springlab replay
  --picture    the picture after the last tick, as SVG, to FILE
Without --csv the state after the last tick is printed.
Exit status: 0 done, 2 bad arguments, 3 run-time error or output not written
(the rows so far are written).

example: springlab run vibration --set viscosity=0 --ticks 100 --csv swing.csv
</translation>
    </message>
    <message>
        <source>%1 needs a whole number of ticks, not %2</source>
        <translation>%1 needs a whole number of ticks, not %2</translation>
    </message>
    <message>
        <source>%1 takes TICK:X,Y, not %2</source>
        <translation>%1 takes TICK:X,Y, not %2</translation>
    </message>
    <message>
        <source>%1 needs X,Y in twips as numbers within a single's range, not %2</source>
        <translation>%1 needs X,Y in twips as numbers within a single's range, not %2</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>one experiment only, %1 is extra</source>
        <translation>one experiment only, %1 is extra</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--set takes KEY=VALUE, not %1</source>
        <translation>--set takes KEY=VALUE, not %1</translation>
    </message>
    <message>
        <source>--csv needs a file name or -</source>
        <translation>--csv needs a file name or -</translation>
    </message>
    <message>
        <source>--record needs a file name</source>
        <translation>--record needs a file name</translation>
    </message>
    <message>
        <source>which experiment? (%1)</source>
        <translation>which experiment? (%1)</translation>
    </message>
    <message>
        <source>no column %1 in %2 (%3)</source>
        <translation>no column %1 in %2 (%3)</translation>
    </message>
    <message>
        <source>no experiment %1 (%2)</source>
        <translation>no experiment %1 (%2)</translation>
    </message>
    <message>
        <source>no parameter %1 in %2 (%3)</source>
        <translation>no parameter %1 in %2 (%3)</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 ticks --record can hold</source>
        <translation>--ticks %1 is more than the %2 ticks --record can hold</translation>
    </message>
    <message>
        <source>%1 presses and moves are more than the %2 events --record can hold</source>
        <translation>%1 presses and moves are more than the %2 events --record can hold</translation>
    </message>
    <message>
        <source>the --set texts are too long for --record: %1 bytes where a line holds %2</source>
        <translation>the --set texts are too long for --record: %1 bytes where a line holds %2</translation>
    </message>
    <message>
        <source>tick %1 of %2, %3 ticks/s, %4 left</source>
        <translation>tick %1 of %2, %3 ticks/s, %4 left</translation>
    </message>
    <message>
        <source>the recording runs %1 ticks, more than the %2 rows --csv can hold</source>
        <translation>the recording runs %1 ticks, more than the %2 rows --csv can hold</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 rows --csv can hold</source>
        <translation>--ticks %1 is more than the %2 rows --csv can hold</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 ticks a run may take</source>
        <translation>--ticks %1 is more than the %2 ticks a run may take</translation>
    </message>
    <message>
        <source>run-time error %1 at tick %2: %3</source>
        <translation>run-time error %1 at tick %2: %3</translation>
    </message>
    <message>
        <source>%1 presses or moves after tick %2 were not applied: the run had ended</source>
        <translation>%1 presses or moves after tick %2 were not applied: the run had ended</translation>
    </message>
    <message>
        <source>%1 and %2 name the same file %3</source>
        <translation>%1 and %2 name the same file %3</translation>
    </message>
    <message>
        <source>unknown argument %1</source>
        <translation>unknown argument %1</translation>
    </message>
    <message>
        <source>which recording?</source>
        <translation>which recording?</translation>
    </message>
    <message>
        <source>no language %1 (en, ja)</source>
        <translation>no language %1 (en, ja)</translation>
    </message>
    <message>
        <source>%1 does not go before %2: only --lang does</source>
        <translation>%1 does not go before %2: only --lang does</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>the output could not be written</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>Invalid procedure call or argument.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>インデックスが有効範囲にありません。</source>
        <translation>Subscript out of range.</translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation>Division by zero.</translation>
    </message>
    <message>
        <source>浮動小数点演算が無効です。</source>
        <translation>Invalid floating-point operation.</translation>
    </message>
    <message>
        <source>プロパティの値が不正です。</source>
        <translation>Invalid property value.</translation>
    </message>
    <message>
        <source>実行時エラーが発生しました。</source>
        <translation>A run-time error occurred.</translation>
    </message>
</context>
<context>
    <name>frm2Bolls</name>
    <message>
        <source>フォーム内でクリックして，大きなボールを引っ張ります。</source>
        <translation>Click in the window to pull the large ball.</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>バネの長さ</source>
        <translation>Spring length</translation>
    </message>
    <message>
        <source>バネの強さ</source>
        <translation>Stiffness</translation>
    </message>
    <message>
        <source>抵抗</source>
        <translation>Resistance</translation>
    </message>
    <message>
        <source>質量１</source>
        <translation>Mass 1</translation>
    </message>
    <message>
        <source>質量2</source>
        <translation>Mass 2</translation>
    </message>
    <message>
        <source>重力</source>
        <translation>Gravity</translation>
    </message>
    <message>
        <source>バネでつながった2つのボール</source>
        <translation>Two Balls Joined by a Spring</translation>
    </message>
</context>
<context>
    <name>frmElasticCode</name>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>節点の数</source>
        <translation>Nodes</translation>
    </message>
    <message>
        <source>節点間の長さ</source>
        <translation>Link length</translation>
    </message>
    <message>
        <source>重力</source>
        <translation>g</translation>
    </message>
    <message>
        <source>粘性抵抗</source>
        <translation>Damping</translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation>Spring k</translation>
    </message>
    <message>
        <source>領域内でクリックしてゴムひもを引っ張ります。</source>
        <translation>Click inside the frame to pull the cord.</translation>
    </message>
    <message>
        <source>ゴムひも</source>
        <translation>Rubber Cord</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>ゴムひもで回転</source>
        <translation>Rotation on a rubber cord</translation>
    </message>
    <message>
        <source>バネの振動</source>
        <translation>Vibration of a spring</translation>
    </message>
    <message>
        <source>バネでつながった2個のボール</source>
        <translation>Two balls joined by a spring</translation>
    </message>
    <message>
        <source>ゴムひも</source>
        <translation>Rubber cord</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>倍率(&amp;Z)</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>バネ関係</source>
        <translation>Spring Experiments</translation>
    </message>
    <message>
        <source>バネとおもりの4つの実験を動かして見せる、授業のためのプログラムです。</source>
        <translation>Four mass-and-spring experiments, animated for the physics classroom.</translation>
    </message>
    <message>
        <source>ライセンス: GNU 一般公衆利用許諾書 第3版以降 (GPL-3.0-or-later)</source>
        <translation>Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later)</translation>
    </message>
    <message>
        <source>Qt %1 を使っています。</source>
        <translation>Built with Qt %1.</translation>
    </message>
    <message>
        <source>計測(&amp;M)</source>
        <translation>&amp;Measure</translation>
    </message>
    <message>
        <source>記録(&amp;R)</source>
        <translation>&amp;Record</translation>
    </message>
    <message>
        <source>再生(&amp;P)...</source>
        <translation>&amp;Replay...</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>記録はありません。記録は、実験の窓が開くときか「変更」を押したときに始まります。</source>
        <translation>Nothing was recorded. A recording starts when the experiment's window opens or [Apply] is pressed.</translation>
    </message>
    <message>
        <source>記録 (*.jsonl)</source>
        <translation>Recordings (*.jsonl)</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>記録 (*.jsonl);;すべてのファイル (*)</source>
        <translation>Recordings (*.jsonl);;All files (*)</translation>
    </message>
    <message>
        <source>記録がいっぱいになったので、%1 ティックで終わっています。</source>
        <translation>The recording was full, so it ends at tick %1.</translation>
    </message>
</context>
<context>
    <name>frmRotaion</name>
    <message>
        <source>変更</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation>Spring k</translation>
    </message>
    <message>
        <source>緩和係数</source>
        <translation>Relaxation</translation>
    </message>
    <message>
        <source>ゴム紐で回転</source>
        <translation>Rotation on a Rubber Cord</translation>
    </message>
</context>
<context>
    <name>frmVibration</name>
    <message>
        <source>タイマー</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation>Spring k</translation>
    </message>
    <message>
        <source>重さ</source>
        <translation>Mass</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>粘性抵抗</source>
        <translation>Damping</translation>
    </message>
    <message>
        <source>クリックして，ボールを引っ張ります。</source>
        <translation>Click to pull the ball.</translation>
    </message>
    <message>
        <source>バネの振動</source>
        <translation>Vibration of a Spring</translation>
    </message>
</context>
<context>
    <name>measure::MeasurementWindow</name>
    <message>
        <source>%1の計測</source>
        <translation>%1 — Measurement</translation>
    </message>
    <message>
        <source>表示する量</source>
        <translation>Quantities shown</translation>
    </message>
    <message>
        <source>時刻 [tick]</source>
        <translation>time [tick]</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>再開 (Space)</source>
        <translation>Resume (Space)</translation>
    </message>
    <message>
        <source>一時停止 (Space)</source>
        <translation>Pause (Space)</translation>
    </message>
    <message>
        <source>1 ティック進める</source>
        <translation>Step one tick</translation>
    </message>
    <message>
        <source>一時停止して 1 ティックだけ進めます (→)</source>
        <translation>Pause and run exactly one tick (→)</translation>
    </message>
    <message>
        <source>CSV で保存…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>記録したすべてのティックを CSV ファイルに保存します (Ctrl+S)</source>
        <translation>Save every recorded tick to a CSV file (Ctrl+S)</translation>
    </message>
    <message>
        <source>グラフを保存…</source>
        <translation>Save graph…</translation>
    </message>
    <message>
        <source>グラフを PNG か SVG の画像として保存します (Ctrl+Shift+S)</source>
        <translation>Save the graph as a PNG or SVG picture (Ctrl+Shift+S)</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>グラフに出ているデータをタブ区切りでクリップボードへ (Ctrl+C)</source>
        <translation>Copy the data on the graph to the clipboard, tab-separated (Ctrl+C)</translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>記録: %1 ティック (グラフは最後の %2 ティック)</source>
        <translation>Recorded: %1 ticks (the graph shows the last %2)</translation>
    </message>
    <message>
        <source> — 記録が一杯です。これより後のティックは記録されません。</source>
        <translation> — the recording is full; later ticks are not recorded.</translation>
    </message>
    <message>
        <source>CSV ファイルを保存できませんでした。
%1

記録はこの窓に残っています。別の場所に保存してください。</source>
        <translation>The CSV file could not be saved.
%1

The recording is still in this window; save it somewhere else.</translation>
    </message>
    <message>
        <source>グラフを保存できませんでした。
%1</source>
        <translation>The graph could not be saved.
%1</translation>
    </message>
    <message>
        <source>CSV で保存</source>
        <translation>Save as CSV</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>グラフを保存</source>
        <translation>Save graph</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png);;SVG 画像 (*.svg)</source>
        <translation>PNG pictures (*.png);;SVG pictures (*.svg)</translation>
    </message>
    <message>
        <source>記録終了…</source>
        <translation>Stop recording…</translation>
    </message>
    <message>
        <source>記録開始</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>入力の記録を終えて、ファイルに保存します</source>
        <translation>Stops recording the inputs and saves them to a file</translation>
    </message>
    <message>
        <source>次に窓が開くか「変更」を押したときから、入力を記録します</source>
        <translation>Records the inputs from the next time the window opens or [Apply] is pressed</translation>
    </message>
</context>
<context>
    <name>rt::Form</name>
    <message>
        <source>実行時エラー '%1':

%2

「%3」のタイマーを止めました。値を直して［変更］を押すと、もう一度動きます。</source>
        <translation>Run-time error '%1':

%2

The timer of "%3" has been stopped. Correct the values and press [Apply] to start it again.</translation>
    </message>
</context>
<context>
    <name>RotationQuantities</name>
    <message>
        <source>x座標</source>
        <translation>x of the mass</translation>
    </message>
    <message>
        <source>y座標</source>
        <translation>y of the mass (down)</translation>
    </message>
    <message>
        <source>ポインタまでの距離</source>
        <translation>distance to the pointer</translation>
    </message>
    <message>
        <source>速さ</source>
        <translation>speed</translation>
    </message>
</context>
<context>
    <name>RubberCordQuantities</name>
    <message>
        <source>節点0のx</source>
        <translation>x of node 0</translation>
    </message>
    <message>
        <source>節点0のy</source>
        <translation>y of node 0 (down)</translation>
    </message>
    <message>
        <source>全長</source>
        <translation>total length</translation>
    </message>
    <message>
        <source>節点の数×節点間の長さ</source>
        <translation>NodeCount × segment length</translation>
    </message>
    <message>
        <source>最大の伸び</source>
        <translation>largest stretch</translation>
    </message>
    <message>
        <source>運動エネルギー</source>
        <translation>kinetic energy (unit mass per node)</translation>
    </message>
</context>
<context>
    <name>TwoBallsQuantities</name>
    <message>
        <source>ボール1の高さ</source>
        <translation>height of ball 1</translation>
    </message>
    <message>
        <source>ボール2の高さ</source>
        <translation>height of ball 2</translation>
    </message>
    <message>
        <source>ボール1の速さ</source>
        <translation>speed of ball 1</translation>
    </message>
    <message>
        <source>ボール2の速さ</source>
        <translation>speed of ball 2</translation>
    </message>
    <message>
        <source>バネの長さ</source>
        <translation>spring length</translation>
    </message>
    <message>
        <source>全エネルギー</source>
        <translation>total energy</translation>
    </message>
    <message>
        <source>跳ね返り</source>
        <translation>bounces this tick</translation>
    </message>
</context>
<context>
    <name>VibrationQuantities</name>
    <message>
        <source>位置</source>
        <translation>position (spring length)</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>velocity</translation>
    </message>
    <message>
        <source>力</source>
        <translation>force</translation>
    </message>
    <message>
        <source>運動エネルギー</source>
        <translation>kinetic energy</translation>
    </message>
    <message>
        <source>バネのエネルギー</source>
        <translation>spring energy</translation>
    </message>
    <message>
        <source>全エネルギー</source>
        <translation>total energy</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>日本語</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>web</name>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>画面に合わせる</source>
        <translation>Fit to the screen</translation>
    </message>
</context>
</TS>
<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="ja">
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
        <translation>使い方: springlab run 実験 [--set KEY=VALUE]... [--ticks N] [--press TICK:X,Y]...
                     [--move TICK:X,Y]... [--csv FILE|-] [--columns K1,K2,...] [--record FILE]
                     [--picture FILE.svg]
       springlab replay 記録 [--csv FILE|-] [--columns K1,K2,...]
       springlab --lang 言語 run|replay ...   (メッセージを en または ja で)

実験を窓なしで、窓と同じようにティックごとに実行します。
  実験         vibration, rotation, two-balls, rubber-cord のいずれか
  --set        パラメーターの欄 (英語のキーか日本語のラベル)。欄と同じく Val で読みます
               (--set mass=250 または --set 重さ=250)
  --ticks      ティック数 (既定: 実験がひとりでに止まるまで、最大 10000)
  --press      ティック TICK の後 (0: 最初の前) に X,Y (twip) でマウスを押す
  --move       ティック TICK の後にポインターをそこへ動かす (回転のひもが追います)
  --csv        ティックごとの状態を CSV で FILE へ、または標準出力 (-) へ
  --columns    これらの量だけ (キーで)
  --record     springlab replay 用に実行を記録します
  --picture    最後のティックの後の絵を SVG で FILE に書きます
--csv がなければ最後のティックの後の状態を表示します。
終了状態: 0 完了、2 引数の誤り、3 実行時エラーまたは出力の書き込み失敗
(それまでの行は書き込まれます)。

例: springlab run vibration --set viscosity=0 --ticks 100 --csv swing.csv
</translation>
    </message>
    <message>
        <source>%1 needs a whole number of ticks, not %2</source>
        <translation>%1 には 0 以上の整数のティック数を指定してください (%2 ではなく)</translation>
    </message>
    <message>
        <source>%1 takes TICK:X,Y, not %2</source>
        <translation>%1 は TICK:X,Y の形で指定します (%2 ではなく)</translation>
    </message>
    <message>
        <source>%1 needs X,Y in twips as numbers within a single's range, not %2</source>
        <translation>%1 の X,Y は単精度の範囲の数 (twip) で指定してください (%2 ではなく)</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>one experiment only, %1 is extra</source>
        <translation>実験は 1 つだけです。%1 は余分です</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>不明なオプション %1</translation>
    </message>
    <message>
        <source>--set takes KEY=VALUE, not %1</source>
        <translation>--set は KEY=VALUE の形で指定します (%1 ではなく)</translation>
    </message>
    <message>
        <source>--csv needs a file name or -</source>
        <translation>--csv にはファイル名か - が必要です</translation>
    </message>
    <message>
        <source>--record needs a file name</source>
        <translation>--record にはファイル名が必要です</translation>
    </message>
    <message>
        <source>which experiment? (%1)</source>
        <translation>どの実験ですか? (%1)</translation>
    </message>
    <message>
        <source>no column %1 in %2 (%3)</source>
        <translation>%2 に列 %1 はありません (%3)</translation>
    </message>
    <message>
        <source>no experiment %1 (%2)</source>
        <translation>実験 %1 はありません (%2)</translation>
    </message>
    <message>
        <source>no parameter %1 in %2 (%3)</source>
        <translation>%2 にパラメーター %1 はありません (%3)</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 ticks --record can hold</source>
        <translation>--ticks %1 は --record に記録できる %2 ティックを超えています</translation>
    </message>
    <message>
        <source>%1 presses and moves are more than the %2 events --record can hold</source>
        <translation>押下と移動 %1 個は --record に記録できる %2 件を超えています</translation>
    </message>
    <message>
        <source>the --set texts are too long for --record: %1 bytes where a line holds %2</source>
        <translation>--set の文字列が --record には長すぎます: 1 行 %2 バイトまでのところ %1 バイトです</translation>
    </message>
    <message>
        <source>tick %1 of %2, %3 ticks/s, %4 left</source>
        <translation>ティック %1 / %2、毎秒 %3 ティック、残り %4</translation>
    </message>
    <message>
        <source>the recording runs %1 ticks, more than the %2 rows --csv can hold</source>
        <translation>記録は %1 ティックあり、--csv に書ける %2 行を超えています</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 rows --csv can hold</source>
        <translation>--ticks %1 は --csv に書ける %2 行を超えています</translation>
    </message>
    <message>
        <source>--ticks %1 is more than the %2 ticks a run may take</source>
        <translation>--ticks %1 は 1 回の実行の上限 %2 ティックを超えています</translation>
    </message>
    <message>
        <source>run-time error %1 at tick %2: %3</source>
        <translation>実行時エラー %1 (ティック %2): %3</translation>
    </message>
    <message>
        <source>%1 presses or moves after tick %2 were not applied: the run had ended</source>
        <translation>ティック %2 より後の押下・移動 %1 個は適用されませんでした: 実行はそこで終わっていました</translation>
    </message>
    <message>
        <source>%1 and %2 name the same file %3</source>
        <translation>%1 と %2 が同じファイル %3 を指しています</translation>
    </message>
    <message>
        <source>unknown argument %1</source>
        <translation>不明な引数 %1</translation>
    </message>
    <message>
        <source>which recording?</source>
        <translation>どの記録ですか?</translation>
    </message>
    <message>
        <source>no language %1 (en, ja)</source>
        <translation>言語 %1 はありません (en, ja)</translation>
    </message>
    <message>
        <source>%1 does not go before %2: only --lang does</source>
        <translation>%1 は %2 の前には置けません (前に置けるのは --lang だけです)</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>出力を書き込めませんでした</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>インデックスが有効範囲にありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>浮動小数点演算が無効です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロパティの値が不正です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実行時エラーが発生しました。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frm2Bolls</name>
    <message>
        <source>フォーム内でクリックして，大きなボールを引っ張ります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネの長さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネの強さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>抵抗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>質量１</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>質量2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネでつながった2つのボール</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmElasticCode</name>
    <message>
        <source>タイマー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>節点の数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>節点間の長さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘性抵抗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>領域内でクリックしてゴムひもを引っ張ります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ゴムひも</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>ゴムひもで回転</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネの振動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネでつながった2個のボール</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ゴムひも</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>倍率(&amp;Z)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネ関係</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネとおもりの4つの実験を動かして見せる、授業のためのプログラムです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ライセンス: GNU 一般公衆利用許諾書 第3版以降 (GPL-3.0-or-later)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt %1 を使っています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>計測(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再生(&amp;P)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録はありません。記録は、実験の窓が開くときか「変更」を押したときに始まります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録 (*.jsonl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再生</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録 (*.jsonl);;すべてのファイル (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録がいっぱいになったので、%1 ティックで終わっています。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmRotaion</name>
    <message>
        <source>変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>タイマー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>緩和係数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ゴム紐で回転</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmVibration</name>
    <message>
        <source>タイマー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>長さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネ定数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘性抵抗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリックして，ボールを引っ張ります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネの振動</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>measure::MeasurementWindow</name>
    <message>
        <source>%1の計測</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示する量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>時刻 [tick]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再開 (Space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時停止 (Space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 ティック進める</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時停止して 1 ティックだけ進めます (→)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV で保存…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録したすべてのティックを CSV ファイルに保存します (Ctrl+S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフを保存…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフを PNG か SVG の画像として保存します (Ctrl+Shift+S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コピー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフに出ているデータをタブ区切りでクリップボードへ (Ctrl+C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録: %1 ティック (グラフは最後の %2 ティック)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> — 記録が一杯です。これより後のティックは記録されません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV ファイルを保存できませんでした。
%1

記録はこの窓に残っています。別の場所に保存してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフを保存できませんでした。
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV で保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 画像 (*.png);;SVG 画像 (*.svg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録終了…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記録開始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>入力の記録を終えて、ファイルに保存します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次に窓が開くか「変更」を押したときから、入力を記録します</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rt::Form</name>
    <message>
        <source>実行時エラー &apos;%1&apos;:

%2

「%3」のタイマーを止めました。値を直して［変更］を押すと、もう一度動きます。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RotationQuantities</name>
    <message>
        <source>x座標</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y座標</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ポインタまでの距離</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速さ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RubberCordQuantities</name>
    <message>
        <source>節点0のx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>節点0のy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全長</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>節点の数×節点間の長さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最大の伸び</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>運動エネルギー</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TwoBallsQuantities</name>
    <message>
        <source>ボール1の高さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ボール2の高さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ボール1の速さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ボール2の速さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネの長さ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全エネルギー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳ね返り</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VibrationQuantities</name>
    <message>
        <source>位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>運動エネルギー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バネのエネルギー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全エネルギー</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>日本語</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>web</name>
    <message>
        <source>閉じる</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画面に合わせる</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

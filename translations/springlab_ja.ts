<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="ja">
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
        <source>%1 の計測</source>
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
%1: %2</source>
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
</TS>

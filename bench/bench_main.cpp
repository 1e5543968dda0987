// The benchmarks' main: window benchmarks need a QApplication, and none of
// them needs a screen. The windows the real-timer benchmarks show are
// painted at device pixel ratio 2, the cost of 200 % zoom or a HiDPI
// screen, unless QT_SCALE_FACTOR says otherwise.

#include <QApplication>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// Showing a window on the offscreen platform warns that it cannot raise
// it, once per window; that line would only clutter the figures.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

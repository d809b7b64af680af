// Figures for the strip's hot paths on the offscreen platform. Not a test: it prints numbers.
#include "platform/Application.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "platform/Screen.h"
#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Median over batches of the time one call takes, in microseconds.
template <class F> double perCall(F &&f, int calls, int batches = 15)
{
    std::vector<double> times;
    for (int b = 0; b < batches; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i)
            f();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char *what, double micros, const char *target)
{
    if (micros >= 1000)
        std::printf("%-52s %10.2f ms   (target %s)\n", what, micros / 1000, target);
    else
        std::printf("%-52s %10.2f us   (target %s)\n", what, micros, target);
}

// A strip of about `positions` lights: the work area is sized so.
void layOut(int positions)
{
    SetWorkAreaForTesting(QRect(0, 0, positions * 16 - 8, 1000));
    Form1->Remake();
}

double stepCost(int pattern, int positions)
{
    layOut(positions);
    Pattern = pattern;
    ResetPattern();
    for (int i = 0; i < 50; ++i) // settle into the pattern
        Form1->Timer1Timer(nullptr);
    return perCall([] { Form1->Timer1Timer(nullptr); }, pattern == ptRandom ? 50 : 2000);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());

    const auto processStart = Clock::now();
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarniva"));
    SetWorkAreaForTesting(QRect(0, 0, 1920, 1080));
    app.CreateForm(Form1);
    Form1->show();
    (void)QTest::qWaitForWindowExposed(Form1);
    QCoreApplication::processEvents();
    const double startup = std::chrono::duration<double, std::micro>(Clock::now() - processStart).count();
    Form1->Timer1->SetEnabled(false);
    RandSeed(1);

    std::printf("Tarniva benchmarks (offscreen, one core)\n");
    report("start-up to the first drawn strip (in process)", startup, "<= 150 ms");
    report("step, \"Side to side\", 120 positions", stepCost(ptSideToSide, 120), "<= 20 us");
    report("step, \"Side to side\", 1024 positions", stepCost(ptSideToSide, 1024), "<= 20 us");
    report("step, \"Random\", 120 positions", stepCost(ptRandom, 120), "<= 1 ms");
    report("step, \"Random\", 1024 positions", stepCost(ptRandom, 1024), "<= 1 ms");

    SetWorkAreaForTesting(QRect(0, 0, 1920, 1080));
    Pattern = ptSideToSide;
    report("Remake, full width 1920, round lights of 16", perCall([] { Form1->Remake(); }, 20), "-");
    LShape = 2;
    LEDSize = 4;
    report("Remake, full width 1920, rect lights of 4", perCall([] { Form1->Remake(); }, 20), "-");
    LShape = 0;
    LEDSize = 16;

    report("SaveStuff (31 atomic writes)", perCall([] { Form1->SaveStuff(); }, 3, 9), "<= 30 ms");
    std::fflush(stdout);
    app.DestroyForms();
    return 0;
}

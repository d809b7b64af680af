// The animation: the four patterns over whole cycles, their reset, and the step on the strip.
#include "TestSupport.h"

#include "platform/Random.h"
#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

using Lit = QList<int>;

namespace {

// Lit positions (1-based) of the frame under construction.
Lit litPositions()
{
    Lit lit;
    for (size_t i = 0; i < FrameBuilder.size(); ++i)
        if (FrameBuilder[i] == '1')
            lit << int(i + 1);
    return lit;
}

struct Step
{
    Lit lit;
    bool sound;
};

// Runs the pattern for n steps on a strip of N positions.
QList<Step> run(int N, int n)
{
    QList<Step> steps;
    for (int i = 0; i < n; ++i) {
        FrameBuilder.clear();
        const bool sound = AdvancePattern(N, RoundUpDiv(N, 2), 1024);
        steps << Step{litPositions(), sound};
    }
    return steps;
}

QString describe(const QList<Step> &steps)
{
    QStringList out;
    for (const Step &s : steps) {
        QStringList lit;
        for (int p : s.lit)
            lit << QString::number(p);
        out << (lit.isEmpty() ? QStringLiteral("-") : lit.join('+')) + (s.sound ? QStringLiteral("!") : QString());
    }
    return out.join(' ');
}

// "2 3 ... 64!" style expectations, built from runs.
QString range(int from, int to, const QString &suffixLast = {})
{
    QStringList out;
    const int step = from <= to ? 1 : -1;
    for (int p = from; p != to + step; p += step)
        out << QString::number(p);
    if (!out.isEmpty())
        out.last() += suffixLast;
    return out.join(' ');
}

} // namespace

class Animation : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Sandbox> box;

    // The strip at its defaults on a display 1024 pixels wide when maximised: 64 positions.
    void startStrip(QRect workArea = QRect(0, 0, 1016, 572))
    {
        box = std::make_unique<Sandbox>(workArea);
        Application->CreateForm(Form1);
        Form1->Timer1->SetEnabled(false);
    }

    void checkLightsAgreeWithFrame()
    {
        const int N = LightCount();
        for (int p = 1; p <= N; ++p)
            QVERIFY2(LightOn[size_t(p - 1)] == (PrevFrame[size_t(p - 1)] == '1'), qPrintable(QString::number(p)));
    }

private slots:
    void cleanup() { box.reset(); }

    void sideToSide()
    {
        Pattern = ptSideToSide;
        Pos1 = 1;
        Forward = true;
        const QString expected = range(2, 64, "!") + ' ' + range(63, 1) + " -! " + range(1, 64, "!") + ' ' + range(63, 62);
        QCOMPARE(describe(run(64, 63 + 63 + 1 + 64 + 2)), expected);
    }

    void centerOut()
    {
        Pattern = ptCenterOut;
        Pos1 = 64; // the step after this one passes the end and resets
        Pos2 = 0;
        QStringList expected{"32!"};
        for (int k = 1; k <= 31; ++k)
            expected << QStringLiteral("%1+%2").arg(32 - k).arg(32 + k);
        expected << "64" << "32!" << "31+33";
        QCOMPARE(describe(run(64, 35)), expected.join(' '));
    }

    void sidesIn_data()
    {
        QTest::addColumn<int>("N");
        QTest::addColumn<QString>("expected");
        QStringList even{"1+64!"};
        for (int k = 2; k <= 32; ++k)
            even << QStringLiteral("%1+%2").arg(k).arg(65 - k);
        even << "32+33" << "1+64!";
        QStringList odd{"1+63!"};
        for (int k = 2; k <= 31; ++k)
            odd << QStringLiteral("%1+%2").arg(k).arg(64 - k);
        odd << "32" << "1+63!";
        QTest::newRow("even count: the middle pair twice") << 64 << even.join(' ');
        QTest::newRow("odd count: they meet once") << 63 << odd.join(' ');
    }
    void sidesIn()
    {
        QFETCH(int, N);
        QFETCH(QString, expected);
        Pattern = ptSidesIn;
        Centre = RoundUpDiv(N, 2);
        Pos1 = Centre + 1; // the step after this one resets
        Pos2 = Centre;
        QCOMPARE(describe(run(N, int(expected.count(' ')) + 1)), expected);
    }

    void randomLightsAFifth()
    {
        Pattern = ptRandom;
        RandSeed(7);
        int lit = 0;
        for (const Step &s : run(64, 200)) {
            QVERIFY(!s.sound);
            lit += int(s.lit.size());
        }
        // 204800 draws at 1/5: about 40960 lit.
        QVERIFY2(lit > 39500 && lit < 42500, qPrintable(QString::number(lit)));
    }

    void reset_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<int>("pos1");
        QTest::addColumn<int>("pos2");
        QTest::addColumn<int>("centre");
        QTest::newRow("side to side") << int(ptSideToSide) << 1 << -9 << -9;
        QTest::newRow("center out") << int(ptCenterOut) << 32 << 32 << 32;
        QTest::newRow("sides in") << int(ptSidesIn) << 1 << 64 << 32;
        QTest::newRow("random") << int(ptRandom) << 1 << -9 << -9;
    }
    void reset()
    {
        QFETCH(int, pattern);
        QFETCH(int, pos1);
        QFETCH(int, pos2);
        QFETCH(int, centre);
        Sandbox sandbox(QRect(0, 0, 1016, 572));
        SetDefaultSettings(1016);
        Pos1 = Pos2 = Centre = -9;
        Forward = false;
        Pattern = pattern;
        ResetPattern();
        QCOMPARE(Pos1, pos1);
        QCOMPARE(Pos2, pos2);
        QCOMPARE(Centre, centre);
        QVERIFY(!Forward);
    }

    // Every light the random pattern lit goes dark on the turn, then position 1 lights.
    void randomThenSideToSideWhileBackward()
    {
        startStrip();
        Pattern = ptRandom;
        for (int i = 0; i < 3; ++i)
            Form1->Timer1Timer(nullptr);
        Forward = false;
        Pattern = ptSideToSide;
        ResetPattern();
        Form1->Timer1Timer(nullptr);
        QVERIFY(Forward);
        QCOMPARE(PrevFrame.find('1'), std::string::npos);
        checkLightsAgreeWithFrame();
        Form1->Timer1Timer(nullptr);
        QCOMPARE(PrevFrame.find('1'), size_t(0));
        checkLightsAgreeWithFrame();
    }

    // Only the lights that differ are switched: the lights always agree with the frame on screen.
    void lightsFollowTheFrames_data()
    {
        QTest::addColumn<int>("pattern");
        for (int p = ptSideToSide; p <= ptRandom; ++p)
            QTest::addRow("pattern %d", p) << p;
    }
    void lightsFollowTheFrames()
    {
        QFETCH(int, pattern);
        startStrip();
        Pattern = pattern;
        ResetPattern();
        for (int i = 0; i < 150; ++i) {
            Form1->Timer1Timer(nullptr);
            checkLightsAgreeWithFrame();
        }
    }

    // A relayout mid-pattern darkens the strip; the next step lights the pattern where it was.
    void relayoutMidPattern()
    {
        startStrip();
        for (int i = 0; i < 10; ++i)
            Form1->Timer1Timer(nullptr);
        QCOMPARE(Pos1, 11);
        LEDSize = 8;
        Form1->Remake();
        QVERIFY(!LightOn[10]);
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Pos1, 12);
        QVERIFY(LightOn[11]);
        checkLightsAgreeWithFrame();
    }

    void clamp_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("after");
        QTest::newRow("below the limit") << 560 << 553;
        QTest::newRow("at the limit") << 553 << 553;
        QTest::newRow("above the top edge") << -40 << -40;
    }
    void clamp()
    {
        QFETCH(int, top);
        QFETCH(int, after);
        startStrip(QRect(0, 0, 1016, 572)); // maximised height 580
        Form1->SetTop(top);
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Top(), after);
    }

    void delayTakesEffectAtTheNextStep()
    {
        startStrip();
        Delay = 100;
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Timer1->Interval(), 100);
        Delay = 1000;
        QCOMPARE(Form1->Timer1->Interval(), 100);
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Timer1->Interval(), 1000);
        Delay = -5; // still being typed
        Form1->Timer1Timer(nullptr);
        QCOMPARE(Form1->Timer1->Interval(), 1);
    }

    // Tiny lights on a wide display: every light the strip shows takes part.
    void moreThan1024Positions()
    {
        startStrip(QRect(0, 0, 3840, 2160));
        LShape = 2;
        LEDSize = 4;
        Form1->Remake();
        QCOMPARE(LightCount(), 1920);
        Pos1 = 1899;
        Form1->Timer1Timer(nullptr);
        QVERIFY(LightOn[1899]);
        checkLightsAgreeWithFrame();
        Pattern = ptRandom;
        Form1->Timer1Timer(nullptr);
        checkLightsAgreeWithFrame();
        QVERIFY(PrevFrame.substr(1024).find('1') != std::string::npos);
    }

    void timerDrivesTheSteps()
    {
        startStrip();
        Form1->Timer1->SetEnabled(true);
        QTRY_VERIFY(Pos1 > 3);
    }
};

TARNIVA_TEST_MAIN(Animation)
#include "tst_animation.moc"

// When the program sounds: the user's file on the sound timer, in step with the animation and on
// ">", the built-in sounds before docking and before the About box.
#include "OptionsFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <cmath>
#include <sys/stat.h>

namespace {

enum Trigger { TimerTick, AnimationTurn, PlayButton };

void fire(Trigger trigger)
{
    switch (trigger) {
    case TimerTick: Form2->Timer1Timer(nullptr); break;
    case AnimationTurn:
        Pattern = ptSideToSide;
        Forward = true;
        Pos1 = LightCount() - 1; // the next step reaches the right end and turns
        Form1->Timer1Timer(nullptr);
        QVERIFY(!Forward);
        break;
    case PlayButton: Form2->Button4->click(); break;
    }
}

// A mono 16-bit WAV file holding a loud square wave.
QByteArray loudWave()
{
    const int samples = 22050 / 5;
    QByteArray data;
    for (int i = 0; i < samples; ++i) {
        const qint16 v = (i / 25) % 2 ? 20000 : -20000;
        data.append(reinterpret_cast<const char *>(&v), 2);
    }
    QByteArray wav = "RIFF";
    const auto u32 = [&](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + data.size()));
    wav += "WAVEfmt ";
    u32(16); u16(1); u16(1); u32(22050); u32(44100); u16(2); u16(16);
    wav += "data";
    u32(quint32(data.size()));
    return wav + data;
}

} // namespace

class SoundControls : public QObject
{
    Q_OBJECT
private slots:
    void whoSounds_data()
    {
        QTest::addColumn<bool>("playW");
        QTest::addColumn<bool>("sync");
        QTest::addColumn<int>("trigger");
        QTest::addColumn<bool>("sounds");
        for (bool playW : {false, true})
            for (bool sync : {false, true}) {
                const QString state = QStringLiteral("%1 play, %2 sync").arg(playW ? "" : "no", sync ? "" : "no");
                QTest::addRow("%s: timer tick", qPrintable(state)) << playW << sync << int(TimerTick) << (playW && !sync);
                QTest::addRow("%s: animation turn", qPrintable(state)) << playW << sync << int(AnimationTurn) << (playW && sync);
                QTest::addRow("%s: \">\"", qPrintable(state)) << playW << sync << int(PlayButton) << true;
            }
    }
    void whoSounds()
    {
        QFETCH(bool, playW);
        QFETCH(bool, sync);
        QFETCH(int, trigger);
        QFETCH(bool, sounds);
        Program program({{"WarnFile", "/tmp/ring.wav"}});
        PlayW = playW;
        Sync = sync;
        fire(Trigger(trigger));
        QCOMPARE(program.Sounds, sounds ? QStringList{"/tmp/ring.wav async"} : QStringList{});
    }

    void randomHasNoTurns()
    {
        Program program({{"PlayW", "true"}, {"Sync", "true"}, {"Pattern", "3"}});
        for (int i = 0; i < 200; ++i)
            Form1->Timer1Timer(nullptr);
        QVERIFY(program.Sounds.isEmpty());
    }

    // A file that cannot be read at once never stalls the strip.
    void stripRunsWhileAFileIsTried_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO without a writer") << "fifo";
        QTest::newRow("/dev/zero") << "device";
    }
    void stripRunsWhileAFileIsTried()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = QStringLiteral("/dev/zero");
        if (kind == "fifo") {
            path = dir.filePath("fifo.wav");
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        Program program({{"WarnFile", path.toStdString()}, {"Delay", "20"}});
        SetSoundRequestRecorder({});
        QElapsedTimer clock;
        clock.start();
        Form2->Button4->click();
        QVERIFY(clock.elapsed() < 1000);
        const int from = Pos1;
        Form1->Timer1->SetEnabled(true);
        QTRY_VERIFY(Pos1 >= from + 5);
        QVERIFY(WaitForSoundLoaderForTesting(5000));
        QCOMPARE(SoundStatusForTesting().last, std::string("default"));
    }

    void syncTicksPlaySoundButNotBack()
    {
        Program program;
        Form2->CheckBox5->SetChecked(true);
        QVERIFY(Sync);
        QVERIFY(PlayW);
        QVERIFY(Form2->CheckBox2->Checked());
        Form2->CheckBox5->SetChecked(false);
        QVERIFY(PlayW);
        Form2->CheckBox5->SetChecked(true);
        Form2->CheckBox2->SetChecked(false);
        QVERIFY(Sync);
        QVERIFY(!PlayW);
    }

    void pathFieldFollowsEveryKeystroke()
    {
        Program program;
        program.ShowOptions();
        Form2->Edit27->setFocus();
        QTest::keyClicks(Form2->Edit27, "/a b");
        QCOMPARE(WarnFile, std::string("/a b"));
        QTest::keyClick(Form2->Edit27, Qt::Key_Backspace);
        QCOMPARE(WarnFile, std::string("/a "));
    }

    // The stored bytes of a path that is no valid UTF-8 survive the dialog's field.
    void pathBytesSurviveTheField()
    {
        Program program({{"WarnFile", "/tmp/\xff\xfe.wav"}});
        QCOMPARE(WarnFile, std::string("/tmp/\xff\xfe.wav"));
        Form2->close();
        QCOMPARE(program.box.Stored("WarnFile"), std::string("/tmp/\xff\xfe.wav"));
    }

    void dockingPlaysWupperFirst_data()
    {
        QTest::addColumn<bool>("up");
        QTest::newRow("Up") << true;
        QTest::newRow("Low") << false;
    }
    void dockingPlaysWupperFirst()
    {
        QFETCH(bool, up);
        Program program;
        Form1->move(40, 200);
        (up ? Form2->Button1 : Form2->Button2)->click();
        QCOMPARE(program.Sounds, QStringList{"WUPPER sync"});
        QCOMPARE(program.SoundPositions, QList<QPoint>{QPoint(40, 200)});
        QCOMPARE(Form1->pos(), up ? QPoint(0, 0) : QPoint(0, 553));
    }

    void badgeBeforeTheAboutBox()
    {
        Program program;
        bool aboutShownDuringTheSound = true;
        SetSoundRequestRecorder([&](const std::string &name, unsigned) {
            program.Sounds << QString::fromStdString(name);
            aboutShownDuringTheSound = Form4->Visible();
        });
        Form2->Image2->OnDblClick(Form2->Image2);
        QCOMPARE(program.Sounds, QStringList{"BADGE"});
        QVERIFY(!aboutShownDuringTheSound);
        QVERIFY(Form4->Visible());
    }

    // The sound in step lands in the sound device's output only when both boxes are ticked.
    void inStepSoundReachesTheDevice_data()
    {
        QTest::addColumn<bool>("playW");
        QTest::addColumn<bool>("sync");
        QTest::newRow("both") << true << true;
        QTest::newRow("play sound only") << true << false;
        QTest::newRow("sync only") << false << true;
    }
    void inStepSoundReachesTheDevice()
    {
        QFETCH(bool, playW);
        QFETCH(bool, sync);
        QTemporaryDir dir;
        QFile wav(dir.filePath("loud.wav"));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write(loudWave());
        wav.close();
        ShutdownSound();
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", dir.filePath("out.raw").toUtf8());
        {
            Program program({{"WarnFile", wav.fileName().toStdString()}});
            SetSoundRequestRecorder({});
            qputenv("SDL_AUDIODRIVER", "disk");
            PlayW = playW;
            Sync = sync;
            fire(AnimationTurn);
            QVERIFY(WaitForSoundLoaderForTesting(5000));
            QTest::qWait(300);
        }
        ShutdownSound();
        QFile out(dir.filePath("out.raw"));
        double peak = 0;
        if (out.open(QIODevice::ReadOnly)) {
            const QByteArray raw = out.readAll();
            const float *f = reinterpret_cast<const float *>(raw.constData());
            for (qsizetype i = 0; i < raw.size() / 4; ++i)
                peak = std::max(peak, double(std::fabs(f[i])));
        }
        if (playW && sync)
            QVERIFY2(peak > 0.4, qPrintable(QString::number(peak)));
        else
            QCOMPARE(peak, 0.0);
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
};

TARNIVA_TEST_MAIN(SoundControls)
#include "tst_soundcontrols.moc"

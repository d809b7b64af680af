// The per-user store: the REGEDIT4 file, its key, atomic and locked writes, damaged files.
#include "Permissions.h"
#include "StoreRounds.h"
#include "TestSupport.h"

#include "platform/Exceptions.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QProcess>
#include <QRandomGenerator>
#include <csignal>
#include <sys/resource.h>

namespace {
const QString key = QStringLiteral("Software\\Orsolen\\Lights");
const QByteArray section = "HKEY_CURRENT_USER\\Software\\Orsolen\\Lights";
}

class Store : public QObject
{
    Q_OBJECT
private slots:
    void fileFormat()
    {
        RegFile file;
        file.Sections.push_back({section, {}});
        RegSection &s = file.Sections.back();
        s.Values.push_back({"Plain", REG_SZ, QByteArray("clRed") + '\0'});
        s.Values.push_back({"Quotes", REG_SZ, QByteArray("C:\\a \"b\"") + '\0'});
        s.Values.push_back({"Empty", REG_SZ, QByteArray(1, '\0')});
        s.Values.push_back({"Dword", REG_DWORD, QByteArray("\x2a\0\0\0", 4)});
        s.Values.push_back({"Expand", REG_EXPAND_SZ, QByteArray("%HOME%") + '\0'});
        QCOMPARE(file.Serialize(), QByteArray("REGEDIT4\r\n\r\n"
                                              "[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights]\r\n"
                                              "\"Plain\"=\"clRed\"\r\n"
                                              "\"Quotes\"=\"C:\\\\a \\\"b\\\"\"\r\n"
                                              "\"Empty\"=\"\"\r\n"
                                              "\"Dword\"=dword:0000002a\r\n"
                                              "\"Expand\"=hex(2):25,48,4f,4d,45,25,00\r\n"
                                              "\r\n"));
    }

    // Whatever the bytes of a value, the file gives them back.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<uint>("type");
        QTest::newRow("text") << QByteArray("hello\0", 6) << uint(REG_SZ);
        QTest::newRow("backslashes and quotes") << QByteArray("\\\"\\\\\"\0", 6) << uint(REG_SZ);
        QTest::newRow("line break") << QByteArray("a\r\nb\0", 5) << uint(REG_SZ);
        QTest::newRow("utf-8 path") << QByteArray("/home/zoë/klänge.wav\0", 23) << uint(REG_SZ);
        QTest::newRow("invalid utf-8") << QByteArray("\xff\xfe\x80\0", 4) << uint(REG_SZ);
        QTest::newRow("no terminating zero") << QByteArray("abc") << uint(REG_SZ);
        QTest::newRow("zero inside") << QByteArray("a\0b\0", 4) << uint(REG_SZ);
        QTest::newRow("long binary, folded lines") << QByteArray(300, '\x7f') << uint(REG_BINARY);
        QTest::newRow("odd type") << QByteArray("xy") << uint(0x12345);
    }
    void roundTrip()
    {
        QFETCH(QByteArray, data);
        QFETCH(uint, type);
        RegFile file;
        file.Sections.push_back({section, {{"V", type, data}}});
        const auto back = RegFile::Parse(file.Serialize());
        QVERIFY(back);
        QCOMPARE(back->Sections.size(), size_t(1));
        QCOMPARE(back->Sections[0].Values.size(), size_t(1));
        QCOMPARE(back->Sections[0].Values[0].Type, uint32_t(type));
        QCOMPARE(back->Sections[0].Values[0].Data, data);
    }

    // What regedit writes reads back: continuations, comments, other sections, deletions.
    void readsRegeditExports()
    {
        const QByteArray text = "REGEDIT4\n\n"
                                "; exported\n"
                                "; a note about \"x\"=hex:01,\\\n"
                                "[HKEY_CURRENT_USER\\Software\\Orsolen]\n"
                                "\"Other\"=\"kept\"\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights]\n"
                                "\"Name\"=hex(2):41,42,\\\n"
                                "  43,00\n"
                                "\"Gone\"=-\n"
                                "@=\"default\"\n";
        auto file = RegFile::Parse(text);
        QVERIFY(file);
        QCOMPARE(file->Sections.size(), size_t(2));
        const RegSection *lights = file->Find(section.toLower());
        QVERIFY(lights);
        QCOMPARE(lights->Find("name")->Data, QByteArray("ABC\0", 4));
        QCOMPARE(lights->Find("Gone"), nullptr);
        QCOMPARE(lights->Find("")->Data, QByteArray("default\0", 8));
        QVERIFY(RegFile::Parse(file->Serialize())->Find(section)->Find("Name"));
    }

    void readsUtf16Export()
    {
        const QString text = "Windows Registry Editor Version 5.00\r\n\r\n[" + QString::fromLatin1(section) +
                             "]\r\n\"WarnFile\"=\"C:\\\\Klänge\\\\a.wav\"\r\n";
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        auto file = RegFile::Parse(bytes);
        QVERIFY(file);
        QCOMPARE(file->Find(section)->Find("WarnFile")->Data, QString("C:\\Klänge\\a.wav").toUtf8() + '\0');
    }

    void rejectsWhatIsNotRegedit4_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\x]\n\"a\"=\"b\"\n");
        QTest::newRow("ini file") << QByteArray("[General]\nDelay=5\n");
        QTest::newRow("value before a section") << QByteArray("REGEDIT4\n\"a\"=\"b\"\n");
        QTest::newRow("unclosed quote") << QByteArray("REGEDIT4\n[K]\n\"a\"=\"b\n");
        QTest::newRow("text after the value") << QByteArray("REGEDIT4\n[K]\n\"a\"=\"b\" x\n");
        QTest::newRow("bad hex") << QByteArray("REGEDIT4\n[K]\n\"a\"=hex:zz\n");
        QTest::newRow("dword too long") << QByteArray("REGEDIT4\n[K]\n\"a\"=dword:123456789\n");
        QTest::newRow("binary garbage") << QByteArray("\x00\x01\x02\xff\xfe garbage", 14);
    }
    void rejectsWhatIsNotRegedit4()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!RegFile::Parse(text));
    }

    // A file well under the size limit, with very many values, keys or lines of one value, opens
    // in a moment: a search through all values read so far for every line, or a copy of all the
    // lines joined so far for every line of a value, took hours, and the start hung.
    void manyValuesOpen_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("repeated"); // %1 stands for the repetition's number
        QTest::addColumn<int>("count");
        QTest::newRow("values") << QByteArray() << QByteArray("\"Value%1\"=\"x\"\r\n") << 200000;
        QTest::newRow("keys") << QByteArray() << QByteArray("[HKEY_CURRENT_USER\\Software\\Other%1]\r\n") << 200000;
        QTest::newRow("a value folded over many lines") << QByteArray("\"Folded\"=hex:0") << QByteArray(",\\\n0") << 3000000;
    }
    void manyValuesOpen()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, repeated);
        QFETCH(int, count);
        Sandbox box;
        QByteArray text = "REGEDIT4\r\n\r\n[" + section + "]\r\n\"Delay\"=\"25\"\r\n" + head;
        const qsizetype mark = repeated.indexOf("%1");
        for (int i = 0; i < count; ++i)
            text += mark < 0 ? repeated : repeated.left(mark) + QByteArray::number(i) + repeated.mid(mark + 2);
        text += "\r\n[" + section.toLower() + "]\r\n\"delay\"=\"30\"\r\n";
        box.WriteRaw(text);
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("30"));
        QVERIFY(box.Errors.isEmpty());
    }

    // Every read and write of a value reads the file: it must take the memory the file needs, not
    // a buffer for the largest file allowed (16 MiB each time, which made a save crawl).
    void accessTakesLittleMemory()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves far more address space than any limit here allows");
#endif
        Sandbox box;
        box.WriteStore({{"Delay", "25"}});
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("25")); // everything loaded once
        QFile statm("/proc/self/statm");
        QVERIFY(statm.open(QIODevice::ReadOnly));
        const rlim_t inUse = rlim_t(statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE));
        rlimit old;
        ::getrlimit(RLIMIT_AS, &old);
        rlimit limit = old;
        limit.rlim_cur = inUse + 8 * 1024 * 1024;
        ::setrlimit(RLIMIT_AS, &limit);
        std::string read, failure;
        try {
            read = ReadRegString(key, "Delay", "1");
            WriteRegString(key, "Delay", "30");
        } catch (const std::exception &e) {
            failure = e.what();
        }
        ::setrlimit(RLIMIT_AS, &old);
        QCOMPARE(failure, std::string());
        QCOMPARE(read, std::string("25"));
        QCOMPARE(box.Stored("Delay"), std::string("30"));
    }

    void firstOpenLeavesAnEmptyKey()
    {
        Sandbox box;
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("1"));
        QCOMPARE(box.ReadRaw(), QByteArray("REGEDIT4\r\n\r\n[" + section + "]\r\n\r\n"));
        QVERIFY(box.StoreFile().endsWith("/Orsolen/Lights.reg"));
    }

    void namesMatchWithoutCase()
    {
        Sandbox box;
        box.WriteStore({{"LEDOnIn", "clLime"}, {"other", "x"}});
        QCOMPARE(ReadRegString(key, "LedOnIn", "clRed"), std::string("clLime"));
        WriteRegString(key, "LEDONIN", "clBlue");
        QCOMPARE(box.StoredValues(), (std::vector<std::pair<std::string, std::string>>{{"LEDONIN", "clBlue"}, {"other", "x"}}));
    }

    void readTypes()
    {
        Sandbox box;
        box.WriteRaw("REGEDIT4\n[" + section + "]\n\"Dw\"=dword:00000001\n\"Ex\"=hex(2):25,41,25,00\n\"Cut\"=hex(1):61,00,62,00\n");
        QCOMPARE(ReadRegString(key, "Ex", ""), std::string("%A%"));
        QCOMPARE(ReadRegString(key, "Cut", ""), std::string("a"));
        try {
            ReadRegString(key, "Dw", "");
            QFAIL("no failure");
        } catch (const ERegistryException &e) {
            QCOMPARE(e.Message, QStringLiteral("Invalid data type for 'Dw'"));
        }
    }

    void damagedFileIsKeptAside()
    {
        Sandbox box;
        box.WriteRaw("this is not a settings file");
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("1"));
        QCOMPARE(box.Errors.size(), 1);
        const QStringList aside = QDir(QFileInfo(box.StoreFile()).absolutePath()).entryList({"Lights.reg.damaged-*"});
        QCOMPARE(aside.size(), 1);
        QVERIFY(box.Errors[0].contains(box.StoreFile()));
        QVERIFY(box.Errors[0].contains(aside[0]));
        QFile kept(QFileInfo(box.StoreFile()).absolutePath() + "/" + aside[0]);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("this is not a settings file"));
        // The user is told once; the key goes on empty and usable.
        WriteRegString(key, "Delay", "5");
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("5"));
        QCOMPARE(box.Errors.size(), 1);
    }

    void directoryInPlaceOfTheFile()
    {
        Sandbox box;
        QDir().mkpath(box.StoreFile());
        WriteRegString(key, "Delay", "5");
        QCOMPARE(box.Errors.size(), 1);
        QCOMPARE(box.Stored("Delay"), std::string("5"));
    }

    void linkedFileStaysLinked()
    {
        Sandbox box;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("real.reg");
        QDir().mkpath(QFileInfo(box.StoreFile()).absolutePath());
        QVERIFY(QFile::link(target, box.StoreFile()));
        WriteRegString(key, "Delay", "5");
        QVERIFY(QFileInfo(box.StoreFile()).isSymLink());
        QCOMPARE(box.Stored("Delay"), std::string("5"));
    }

    void unwritableFolderFails()
    {
        Sandbox box;
        // The store's folder cannot exist where a file stands.
        QTemporaryDir dir;
        QFile blocker(dir.filePath("config"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", blocker.fileName().toUtf8());
        QCOMPARE(ReadRegString(key, "Delay", "7"), std::string("7"));
        try {
            WriteRegString(key, "Delay", "5");
            QFAIL("no failure");
        } catch (const ERegistryException &e) {
            QCOMPARE(e.Message, QStringLiteral("Failed to set data for 'Delay'"));
        }
    }

    void fullDiskKeepsThePreviousFile()
    {
        Sandbox box;
        box.WriteStore({{"Delay", "25"}});
        const QByteArray before = box.ReadRaw();
        // A file size limit makes every write of the new file fail, as a full disk does.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit old;
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit tiny = old;
        tiny.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
        bool failed = false;
        try {
            WriteRegString(key, "Delay", "5");
        } catch (const ERegistryException &e) {
            failed = e.Message == QStringLiteral("Failed to set data for 'Delay'");
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(failed);
        QCOMPARE(box.ReadRaw(), before);
        QCOMPARE(QDir(QFileInfo(box.StoreFile()).absolutePath()).entryList(QDir::Files).size(), 1);
    }

    // SaveStuff on a full disk or into a folder it may not write: the error box names the value
    // that failed, the window stays open, and the file is still the one before, byte for byte.
    void refusedSave_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("error");
        // The values before WarnFile keep their size, so the disk fills at the first longer one.
        QTest::newRow("full disk") << true << "Failed to set data for 'WarnFile'.";
        QTest::newRow("read-only folder") << false << "Failed to set data for 'OnTop'.";
    }
    void refusedSave()
    {
        QFETCH(bool, fullDisk);
        QFETCH(QString, error);
        Sandbox box;
        Application->CreateForm(Form1);
        Application->DestroyForms();
        const QByteArray before = box.ReadRaw();
        QCOMPARE(box.StoredValues().size(), size_t(31));
        Application->CreateForm(Form1);
        WarnFile = "/home/someone/sounds/a rather long name.wav";
        const QString folder = QFileInfo(box.StoreFile()).absolutePath();

        UserPermissions user;
        rlimit old;
        ::getrlimit(RLIMIT_FSIZE, &old);
        if (fullDisk) {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit = old;
            limit.rlim_cur = rlim_t(before.size());
            ::setrlimit(RLIMIT_FSIZE, &limit);
        } else {
            if (!user.Apply())
                QSKIP("running as root, where permissions do not stop writes, and the capabilities that let root "
                      "write anywhere could not be dropped");
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        const bool closed = Form1->close();
        ::setrlimit(RLIMIT_FSIZE, &old);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(!closed);
        QVERIFY(Form1->isVisible());
        QCOMPARE(box.Errors, QStringList{error});
        QCOMPARE(box.ReadRaw(), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Lights.reg"});
    }

    // A disk that really fills: a small tmpfs in a mount namespace of its own, where that may be
    // had (root, or a user allowed to). The writer saves ever longer texts until a write fails.
    void realFullDisk()
    {
        QTemporaryDir dir;
        QProcess shell;
        shell.start("unshare", {"--mount", "--propagation", "private", "sh", "-c",
                                "mount -t tmpfs -o size=64k tmpfs \"$0\" || exit 99; "
                                "XDG_CONFIG_HOME=\"$0\" exec \"$1\" fill",
                                dir.path(), QStringLiteral(STORE_WRITER)});
        if (!shell.waitForStarted(10000))
            QSKIP("no unshare here");
        QVERIFY(shell.waitForFinished(60000));
        const QByteArray output = shell.readAllStandardOutput();
        if (shell.exitCode() == 99 || output.isEmpty())
            QSKIP(qPrintable("no small tmpfs can be mounted here: " + shell.readAllStandardError().trimmed()));
        qInfo("%s", output.trimmed().replace('\n', "; ").constData());
        QVERIFY2(output.startsWith("full in round ") && output.contains("Failed to set data for '"), output);
        QVERIFY2(output.endsWith("store whole\n"), output);
        QCOMPARE(shell.exitCode(), 0);
    }

    // Two programs saving at once lose nothing of each other's: each writes values of its own,
    // checks after every save that they are all still there, and both save all the settings.
    // TARNIVA_CONCURRENT_SECONDS sets how long they run (a minute for the full run).
    void concurrentWriters()
    {
        const int seconds = qEnvironmentVariableIsSet("TARNIVA_CONCURRENT_SECONDS")
                                ? qEnvironmentVariableIntValue("TARNIVA_CONCURRENT_SECONDS")
                                : 5;
        Sandbox box;
        QProcess writers[2];
        for (int id = 1; id <= 2; ++id)
            writers[id - 1].start(QStringLiteral(STORE_WRITER), {"concurrent", QString::number(id), QString::number(seconds)});
        int rounds[2];
        for (int id = 1; id <= 2; ++id) {
            QProcess &writer = writers[id - 1];
            QVERIFY(writer.waitForFinished(seconds * 1000 + 60000));
            const QByteArray output = writer.readAllStandardOutput().trimmed();
            QVERIFY2(writer.exitCode() == 0 && output.startsWith("rounds "), output);
            rounds[id - 1] = output.mid(7).toInt();
            QVERIFY(rounds[id - 1] > 0);
        }
        qInfo("%d s: %d and %d rounds", seconds, rounds[0], rounds[1]);

        const auto stored = box.StoredValues();
        QCOMPARE(stored.size(), size_t(31 + 2 * 5));
        for (int id = 1; id <= 2; ++id)
            for (int k = 0; k < 5; ++k)
                QCOMPARE(box.Stored("Writer" + std::to_string(id) + "." + std::to_string(k)),
                         std::to_string(id) + ":" + std::to_string(rounds[id - 1] - 1));
        // Every setting as one of the two last saved it.
        const StoreTexts last[2] = {RoundTexts(100000 + rounds[0] - 1), RoundTexts(200000 + rounds[1] - 1)};
        for (size_t n = 0; n < 31; ++n) {
            const std::string found = box.Stored(last[0][n].first);
            QVERIFY2(found == last[0][n].second || found == last[1][n].second, last[0][n].first.c_str());
        }
    }

    // The writer's rounds, on which the kill test relies, are what SaveStuff writes.
    void writerRounds()
    {
        Sandbox box;
        SetRoundSettings(12345);
        SaveSettings(12345, -12345);
        QCOMPARE(box.StoredValues(), RoundTexts(12345));
    }

    // A program killed at any instant while saving leaves a whole store, holding every value
    // whose write had completed. The writer reports each completed write; after the kill the
    // store must hold exactly what those writes left, or at most one write more (one that
    // completed but was killed before it could be reported). TARNIVA_KILLS sets the count.
    void killedWhileSaving()
    {
        const int kills = qEnvironmentVariableIsSet("TARNIVA_KILLS") ? qEnvironmentVariableIntValue("TARNIVA_KILLS") : 1000;
        Sandbox box;
        const QDir folder = QFileInfo(box.StoreFile()).absoluteDir();
        QRandomGenerator random(42);
        std::map<std::string, std::string> before;
        int first = 0, unreported = 0, beforeAnyWrite = 0;
        QProcess writers;
        writers.start(QStringLiteral(STORE_WRITER), {"rounds"});
        QVERIFY(writers.waitForStarted(10000));
        const auto readLine = [&writers]() -> QByteArray {
            while (!writers.canReadLine())
                if (!writers.waitForReadyRead(10000))
                    return "<nothing>";
            return writers.readLine().trimmed();
        };
        for (int kill = 0; kill < kills; ++kill) {
            writers.write("start " + QByteArray::number(first) + "\n");
            const QByteArray started = readLine();
            QVERIFY2(started.startsWith("child "), started);
            const pid_t child = pid_t(started.mid(6).toInt());
            // Mostly after some writes, sometimes while the first one may be under way.
            if (random.bounded(4) != 0 && !writers.canReadLine())
                QVERIFY(writers.waitForReadyRead(10000));
            ::usleep(random.bounded(3000u));
            ::kill(child, SIGKILL);
            long completed = 0;
            for (QByteArray line = readLine(); line != "ended"; line = readLine()) {
                QVERIFY2(line != "<nothing>", "the writer does not answer");
                completed = line.toLong();
            }

            const QByteArray raw = box.ReadRaw();
            std::map<std::string, std::string> after;
            if (!raw.isEmpty() || QFileInfo::exists(box.StoreFile())) {
                const auto file = RegFile::Parse(raw);
                QVERIFY2(file, qPrintable(QString("kill %1: the store does not read back").arg(kill)));
                const RegSection *lights = file->Find(section);
                QVERIFY(lights);
                for (const RegValue &v : lights->Values)
                    after[v.Name.toStdString()] = v.Data.left(v.Data.indexOf('\0')).toStdString();
            }
            // Write n (from 0) is value n % 31 of round first + n / 31.
            const auto textOfWrite = [first](long n) { return RoundTexts(first + int(n / 31))[size_t(n % 31)]; };
            bool oneMore = false;
            for (long position = 0; position < 31; ++position) {
                const std::string name = textOfWrite(position).first;
                const long last = completed - 1 - (completed - 1 - position + 31) % 31; // latest write < completed here
                const std::string expected = last >= 0 ? textOfWrite(last).second
                                                       : (before.count(name) ? before[name] : "<missing>");
                const std::string found = after.count(name) ? after[name] : "<missing>";
                if (found != expected && completed % 31 == position && found == textOfWrite(completed).second) {
                    oneMore = true;
                    continue;
                }
                QVERIFY2(found == expected, qPrintable(QString("kill %1 after %2 writes: %3 holds '%4', not '%5'")
                                                           .arg(kill).arg(completed).arg(QString::fromStdString(name),
                                                                QString::fromStdString(found), QString::fromStdString(expected))));
            }
            QCOMPARE(after.size(), std::max<size_t>(before.size(), size_t(std::min<long>(completed + oneMore, 31))));
            unreported += oneMore;
            beforeAnyWrite += completed == 0;
            // A killed write may leave its new file; the next writer clears it away.
            const int tempFiles = int(folder.entryList(QDir::Files).size()) - 1;
            QVERIFY2(tempFiles <= 1, qPrintable(QString("%1 files left beside the store").arg(tempFiles)));
            before = after;
            first += int((completed + 1) / 31) + 1;
        }
        writers.closeWriteChannel();
        QVERIFY(writers.waitForFinished(10000));
        QCOMPARE(writers.exitCode(), 0);
        qInfo("%d kills: %d before the first write was reported, %d after a write that was not reported yet",
              kills, beforeAnyWrite, unreported);
        WriteRegString(key, "Delay", "5");
        QCOMPARE(folder.entryList(QDir::Files), QStringList{"Lights.reg"});
    }
};

TARNIVA_TEST_MAIN(Store)
#include "tst_store.moc"

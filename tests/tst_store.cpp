// The per-user store: the REGEDIT4 file, its key, atomic and locked writes, damaged files.
#include "TestSupport.h"

#include "platform/Exceptions.h"
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

    // A file well under the size limit, with very many values or keys, opens in a moment: a
    // lookup per line through all values read so far took hours here, and the start hung.
    void manyValuesOpen_data()
    {
        QTest::addColumn<QByteArray>("lineTemplate");
        QTest::newRow("values") << QByteArray("\"Value%1\"=\"x\"\r\n");
        QTest::newRow("keys") << QByteArray("[HKEY_CURRENT_USER\\Software\\Other%1]\r\n");
    }
    void manyValuesOpen()
    {
        QFETCH(QByteArray, lineTemplate);
        Sandbox box;
        QByteArray text = "REGEDIT4\r\n\r\n[" + section + "]\r\n\"Delay\"=\"25\"\r\n";
        const QByteArray before = lineTemplate.left(lineTemplate.indexOf("%1"));
        const QByteArray after = lineTemplate.mid(lineTemplate.indexOf("%1") + 2);
        for (int i = 0; i < 200000; ++i)
            text += before + QByteArray::number(i) + after;
        text += "[" + section.toLower() + "]\r\n\"delay\"=\"30\"\r\n";
        box.WriteRaw(text);
        QCOMPARE(ReadRegString(key, "Delay", "1"), std::string("30"));
        QVERIFY(box.Errors.isEmpty());
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

    // A program killed at any instant while saving leaves a whole file behind.
    void killedWhileSaving()
    {
        Sandbox box;
        QRandomGenerator random(42);
        for (int round = 0; round < 40; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(STORE_WRITER));
            QVERIFY(writer.waitForReadyRead(10000));
            QTest::qSleep(int(random.bounded(1, 30)));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            const auto file = RegFile::Parse(box.ReadRaw());
            QVERIFY2(file, "the store does not read back");
            const RegSection *lights = file->Find(section);
            QVERIFY(lights);
            QCOMPARE(lights->Values.size(), size_t(31));
        }
    }
};

TARNIVA_TEST_MAIN(Store)
#include "tst_store.moc"

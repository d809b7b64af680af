// Stores that no program of ours wrote: each setting in turn holding hostile text or the wrong
// type, and whole files that are no store at all. The start must go through to a usable strip,
// the error box must say what the rules say, and the end must leave a whole store (or the damaged
// original kept aside), never a torn or silently emptied one.
#include "Permissions.h"
#include "TestSupport.h"

#include "strip/Animation.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <sys/stat.h>

namespace {

const QByteArray section = "HKEY_CURRENT_USER\\Software\\Orsolen\\Lights";

enum class Kind { Integer, Colour, Boolean, Style, Text };

struct SettingCase
{
    const char *loadName;
    const char *saveName;
    Kind kind;
    const char *sample; // a good text other than the default, written back as it is
};

// In the order of the load.
const SettingCase settingCases[] = {
    {"DFont", "DFont", Kind::Text, "DejaVu Sans"},
    {"FSize", "FSize", Kind::Integer, "10"},
    {"FStyle", "FStyle", Kind::Style, "bi"},
    {"OnTop", "OnTop", Kind::Integer, "2"},
    {"FLeft", "FLeft", Kind::Integer, "-5"},
    {"FTop", "FTop", Kind::Integer, "40"},
    {"Delay", "Delay", Kind::Integer, "25"},
    {"LShape", "LShape", Kind::Integer, "1"},
    {"PTimer", "PTimer", Kind::Integer, "500"},
    {"LEDSize", "LEDSize", Kind::Integer, "8"},
    {"AlignInt", "AlignInt", Kind::Integer, "1"},
    {"Pattern", "Pattern", Kind::Integer, "3"},
    {"Spacing", "Spacing", Kind::Integer, "4"},
    {"BWidth", "BWidth", Kind::Integer, "300"},
    {"WarnFile", "WarnFile", Kind::Text, "%HOME%/a.wav"},
    {"WarnDir", "WarnDir", Kind::Text, "/tmp"},
    {"WarnDrive", "WarnDrive", Kind::Text, "/"},
    {"LedOnIn", "LEDOnIn", Kind::Colour, "clLime"},
    {"LedOnOut", "LEDOnOut", Kind::Colour, "$00123456"},
    {"LedOffIn", "LEDOffIn", Kind::Colour, "clNavy"},
    {"LedOffOut", "LEDOffOut", Kind::Colour, "$01020304"},
    {"HighLightOn", "HighLightOn", Kind::Colour, "clYellow"},
    {"HighLightOff", "HighLightOff", Kind::Colour, "clGray"},
    {"BackC", "BackC", Kind::Colour, "clBtnFace"},
    {"FormC", "FormC", Kind::Colour, "clWhite"},
    {"HighL", "HighL", Kind::Boolean, "false"},
    {"PlayW", "PLayW", Kind::Boolean, "true"},
    {"HideF", "HideF", Kind::Boolean, "true"},
    {"Sync", "Sync", Kind::Boolean, "true"},
    {"Moveable", "Moveable", Kind::Boolean, "true"},
    {"FScreen", "FScreen", Kind::Boolean, "false"},
};

// The names SaveStuff writes.
QList<QByteArray> savedNames()
{
    QList<QByteArray> names;
    for (const SettingCase &s : settingCases)
        names << s.saveName;
    return names;
}

QByteArray swappedCase(QByteArray name)
{
    for (char &c : name)
        c = std::isupper(uchar(c)) ? char(std::tolower(uchar(c))) : char(std::toupper(uchar(c)));
    return name;
}

QByteArray longText()
{
    QByteArray text;
    while (text.size() < 10000)
        text += "0123456789";
    return text;
}

RegValue text(const QByteArray &name, const QByteArray &value)
{
    return {name, REG_SZ, value + '\0'};
}

enum class Setup { Plain, Directory, DanglingLink, Unreadable };

QString asideIn(const QString &folder)
{
    const QStringList aside = QDir(folder).entryList({"Lights.reg.damaged-*"}, QDir::AllEntries | QDir::System);
    return aside.size() == 1 ? folder + "/" + aside[0] : QString();
}

} // namespace

class HostileSettings : public QObject
{
    Q_OBJECT
private:
    QString firstError;

    // Starts and ends the program on the store as it is; checks the start, the strip and the
    // store left behind, which must hold every value SaveStuff writes and each name in `kept`.
    // The one error box expected reads `error`, or begins with it when `errorBegins` is set.
    void startAndEnd(Sandbox &box, const QString &error, const QList<QByteArray> &kept, bool errorBegins = false)
    {
        Application->CreateForm(Form1);
        QVERIFY(Form1);
        if (errorBegins && box.Errors.size() == 1 && box.Errors[0].startsWith(error))
            firstError = box.Errors[0];
        else
            QCOMPARE(box.Errors, error.isEmpty() ? QStringList() : QStringList{error});
        if (!error.isEmpty())
            QCOMPARE(box.Captions, QStringList{"Tarniva"});

        // A usable strip, whatever the store held. (An unknown stacking choice leaves showing the
        // window to the message loop.)
        QVERIFY(Form1->Width() > 0);
        QCOMPARE(Form1->ClientHeight(), LEDSize + 3);
        QVERIFY(Form1->ClientHeight() >= 7 && Form1->ClientHeight() <= 19);
        QCOMPARE(PrevFrame, BlankFrame);
        QVERIFY(Spacing >= 1 && Spacing <= 20);
        QVERIFY(BWidth >= 32 && BWidth <= 2048);
        QVERIFY(Delay >= 1 && Delay <= 3600000);
        QVERIFY(PTimer >= 1 && PTimer <= 3600000);
        QVERIFY(LShape >= 0 && LShape <= 2);
        QVERIFY(Pattern >= 0 && Pattern <= 3);
        QVERIFY(Form1->Timer1->Interval() >= 1);

        Application->DestroyForms();
        QCOMPARE(box.Errors.size(), error.isEmpty() ? 0 : 1);

        // A whole store, with nothing but the file itself and damaged originals in its folder.
        const auto file = RegFile::Parse(box.ReadRaw());
        QVERIFY2(file, "the store left behind does not read");
        const RegSection *lights = file->Find(section);
        QVERIFY(lights);
        for (const QByteArray &name : savedNames() + kept) {
            int count = 0;
            for (const RegValue &v : lights->Values)
                count += v.Name.compare(name, Qt::CaseInsensitive) == 0;
            QVERIFY2(count == 1, name);
        }
        const QStringList left = QDir(QFileInfo(box.StoreFile()).absolutePath())
                                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &name : left)
            QVERIFY2(name == "Lights.reg" || name.startsWith("Lights.reg.damaged-"), qPrintable(name));

        // What the program wrote reads again without a word.
        box.Errors.clear();
        Guard([] { LoadSettings(1016); });
        QCOMPARE(box.Errors, QStringList());
    }

private slots:
    void hostileValue_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("saveName");
        QTest::addColumn<QByteArray>("written"); // what the end must leave in the value; null: any good text

        struct Bad
        {
            const char *what;
            QByteArray value;
            bool isNumber;
        };
        const Bad bad[] = {
            {"empty", "", false},
            {"only blanks", "   ", false},
            {"past 32 bits", "4294967296", false},
            {"negative", "-5", true},
            {"dollar alone", "$", false},
            {"nine hex digits", "$FFFFFFFFF", false},
            {"10000 characters", longText(), false},
            {"non-ASCII and invalid UTF-8", "zo\xc3\xab \xff\xfe\xc3", false},
            {"quotes, backslashes, line break", "a \"b\" c:\\d\\\r\nnext", false},
        };
        for (const SettingCase &s : settingCases) {
            const bool number = s.kind == Kind::Integer || s.kind == Kind::Colour;
            const auto row = [&](const char *what, std::vector<RegValue> values, const QString &error,
                                 const QByteArray &written) {
                RegFile file;
                file.Sections.push_back({section, {text("Unrelated", "kept")}});
                for (RegValue &v : values)
                    file.Sections.back().Values.push_back(std::move(v));
                QTest::addRow("%s: %s", s.loadName, what) << file.Serialize() << error << QByteArray(s.saveName) << written;
            };
            for (const Bad &b : bad) {
                const QString error = number && !b.isNumber
                                          ? QStringLiteral("'%1' is not a valid integer value.").arg(QString::fromUtf8(b.value))
                                          : QString();
                // A text is written back byte for byte; a number or colour only as a good text.
                row(b.what, {text(s.loadName, b.value)}, error, s.kind == Kind::Text ? b.value : QByteArray());
            }
            const QString typeError = QStringLiteral("Invalid data type for '%1'.").arg(s.loadName);
            row("dword", {{s.loadName, REG_DWORD, QByteArray("\x19\0\0\0", 4)}}, typeError, {});
            row("hex", {{s.loadName, REG_BINARY, QByteArray(s.sample)}}, typeError, {});
            row("hex(2) with its zero", {{s.loadName, REG_EXPAND_SZ, QByteArray(s.sample) + '\0'}}, {}, s.sample);
            row("hex(2) without its zero", {{s.loadName, REG_EXPAND_SZ, QByteArray(s.sample)}}, {}, s.sample);
            row("name in another case", {text(swappedCase(s.loadName), s.sample)}, {}, s.sample);
            row("value twice", {text(s.loadName, "x"), text(s.loadName, s.sample)}, {}, s.sample);
        }
    }
    void hostileValue()
    {
        QFETCH(QByteArray, store);
        QFETCH(QString, error);
        QFETCH(QByteArray, saveName);
        QFETCH(QByteArray, written);
        Sandbox box(QRect(0, 0, 1016, 700));
        box.WriteRaw(store);
        startAndEnd(box, error, {"Unrelated"});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(box.Stored("Unrelated"), std::string("kept"));
        if (!written.isNull())
            QCOMPARE(QByteArray::fromStdString(box.Stored(saveName.toStdString())), written);
    }

    void hostileFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("setup");
        QTest::addColumn<bool>("damaged"); // kept aside, the user told
        QTest::addColumn<QList<QByteArray>>("kept");

        const QByteArray store = "REGEDIT4\r\n\r\n[" + section + "]\r\n\"Delay\"=\"25\"\r\n";
        QByteArray garbage(4096, '\0');
        QRandomGenerator random(7);
        for (char &c : garbage)
            c = char(random.bounded(256));
        QByteArray huge = store;
        const QByteArray padding = "; " + QByteArray(1000, '-') + "\r\n";
        while (huge.size() < 50 * 1024 * 1024)
            huge += padding;

        QTest::newRow("empty") << QByteArray() << int(Setup::Plain) << true << QList<QByteArray>{};
        QTest::newRow("only the header") << QByteArray("REGEDIT4\r\n") << int(Setup::Plain) << false << QList<QByteArray>{};
        QTest::newRow("another key") << QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Delay\"=\"abc\"\r\n")
                                     << int(Setup::Plain) << false << QList<QByteArray>{};
        QTest::newRow("line break inside quotes") << QByteArray(store + "\"WarnFile\"=\"a\r\nb\"\r\n") << int(Setup::Plain)
                                                  << true << QList<QByteArray>{};
        QTest::newRow("binary garbage") << garbage << int(Setup::Plain) << true << QList<QByteArray>{};
        QTest::newRow("50 MB") << huge << int(Setup::Plain) << true << QList<QByteArray>{};
        QTest::newRow("a directory") << QByteArray() << int(Setup::Directory) << true << QList<QByteArray>{};
        QTest::newRow("a dangling link") << QByteArray() << int(Setup::DanglingLink) << false << QList<QByteArray>{};
        QTest::newRow("unreadable") << store << int(Setup::Unreadable) << true << QList<QByteArray>{};
    }
    void hostileFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, setup);
        QFETCH(bool, damaged);
        QFETCH(QList<QByteArray>, kept);
        Sandbox box(QRect(0, 0, 1016, 700));
        const QString folder = QFileInfo(box.StoreFile()).absolutePath();
        const QString linkTarget = QFileInfo(folder).absolutePath() + "/elsewhere/real.reg";
        QDir().mkpath(folder);
        switch (Setup(setup)) {
        case Setup::Directory:
            QVERIFY(QDir().mkpath(box.StoreFile()));
            QVERIFY(QFile(box.StoreFile() + "/inside").open(QIODevice::WriteOnly));
            break;
        case Setup::DanglingLink: QVERIFY(QFile::link(linkTarget, box.StoreFile())); break;
        default:
            box.WriteRaw(bytes);
            if (Setup(setup) == Setup::Unreadable)
                QVERIFY(QFile::setPermissions(box.StoreFile(), {}));
            break;
        }

        {
            UserPermissions user;
            if (Setup(setup) == Setup::Unreadable && !user.Apply())
                QSKIP("running as root, where permissions do not stop reads, and the capabilities that let root "
                      "read anything could not be dropped");
            firstError.clear();
            const QString error = damaged ? QString("The settings file '%1' could not be read").arg(box.StoreFile()) : QString();
            startAndEnd(box, error, kept, true);
            if (QTest::currentTestFailed())
                return;
        }

        if (damaged) {
            const QString aside = asideIn(folder);
            QVERIFY(!aside.isEmpty());
            QVERIFY2(firstError.contains("It was kept as '" + aside + "'"), qPrintable(firstError));
            if (Setup(setup) == Setup::Directory) {
                QVERIFY(QFileInfo::exists(aside + "/inside"));
            } else {
                QFile::setPermissions(aside, QFile::ReadOwner | QFile::WriteOwner);
                QFile original(aside);
                QVERIFY(original.open(QIODevice::ReadOnly));
                QVERIFY(original.readAll() == bytes);
            }
        } else {
            QVERIFY(asideIn(folder).isEmpty());
        }
        if (Setup(setup) == Setup::DanglingLink) {
            QVERIFY(QFileInfo(box.StoreFile()).isSymLink());
            QVERIFY(QFileInfo(linkTarget).isFile());
        }
        if (QTest::currentDataTag() == QByteArray("another key")) {
            const auto file = RegFile::Parse(box.ReadRaw());
            const RegSection *other = file->Find("HKEY_CURRENT_USER\\Software\\Other");
            QVERIFY(other && other->Find("Delay") && other->Find("Delay")->Data == QByteArray("abc\0", 4));
        }
    }
};

TARNIVA_TEST_MAIN(HostileSettings)
#include "tst_hostile_settings.moc"

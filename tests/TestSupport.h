#pragma once

#include "platform/Application.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/Screen.h"
#include "platform/X11Window.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <string>

// Widget tests run on the offscreen platform inside the program's own application object.
#define TARNIVA_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        TApplication app(argc, argv);                                                              \
        app.SetTitle(QStringLiteral("Tarniva"));                                                   \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// A fresh per-user store, a known work area, and recorders for the error box and the window
// manager requests.
class Sandbox
{
public:
    explicit Sandbox(QRect workArea = QRect(0, 0, 1024, 768))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
        SetWorkAreaForTesting(workArea);
        Application->SetErrorBox([this](const QString &caption, const QString &text) {
            Errors << text;
            Captions << caption;
        });
        SetWindowRequestRecorder([this](const QString &request) { WindowRequests << request; });
    }
    ~Sandbox()
    {
        Application->DestroyForms();
        Application->SetErrorBox({});
        SetWindowRequestRecorder({});
        SetWorkAreaForTesting(std::nullopt);
    }

    QString StoreFile() const { return TRegistry::FileForKey(QStringLiteral("Software\\Orsolen\\Lights")); }

    // Writes the store file with these REG_SZ values (in this order).
    void WriteStore(const std::vector<std::pair<std::string, std::string>> &values) const
    {
        RegFile file;
        file.Sections.push_back({"HKEY_CURRENT_USER\\Software\\Orsolen\\Lights", {}});
        for (const auto &[name, text] : values)
            file.Sections.back().Values.push_back(
                {QByteArray::fromStdString(name), REG_SZ, QByteArray::fromStdString(text) + '\0'});
        WriteRaw(file.Serialize());
    }
    void WriteRaw(const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(StoreFile()).absolutePath());
        QFile f(StoreFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadRaw() const
    {
        QFile f(StoreFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The key's values as texts, in the file's order; an unreadable file gives none.
    std::vector<std::pair<std::string, std::string>> StoredValues() const
    {
        std::vector<std::pair<std::string, std::string>> values;
        auto file = RegFile::Parse(ReadRaw());
        if (!file || file->Sections.empty())
            return values;
        for (const RegValue &v : file->Sections.front().Values)
            values.emplace_back(v.Name.toStdString(), v.Data.left(v.Data.indexOf('\0')).toStdString());
        return values;
    }
    std::string Stored(const std::string &name) const
    {
        for (const auto &[n, text] : StoredValues())
            if (n == name)
                return text;
        return "<missing>";
    }

    QStringList Errors, Captions, WindowRequests;

private:
    QTemporaryDir m_dir;
};

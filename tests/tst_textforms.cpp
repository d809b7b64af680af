// The text forms of stored values: whole numbers, colours, Booleans and the font style set.
#include "TestSupport.h"

#include "platform/Colors.h"
#include "platform/Convert.h"
#include "platform/Exceptions.h"
#include "strip/Settings.h"

class TextForms : public QObject
{
    Q_OBJECT
private slots:
    void integers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QByteArray("25") << true << 25;
        QTest::newRow("leading blanks") << QByteArray("  25") << true << 25;
        QTest::newRow("trailing blank") << QByteArray("25 ") << false << 0;
        QTest::newRow("plus") << QByteArray("+7") << true << 7;
        QTest::newRow("minus") << QByteArray("-5") << true << -5;
        QTest::newRow("blank after sign") << QByteArray("- 5") << false << 0;
        QTest::newRow("hex") << QByteArray("$1f") << true << 31;
        QTest::newRow("hex upper") << QByteArray("$00000055") << true << 0x55;
        QTest::newRow("hex all bits") << QByteArray("$FFFFFFFF") << true << -1;
        QTest::newRow("hex top bit") << QByteArray("$80000005") << true << int(0x80000005u);
        QTest::newRow("hex past 32 bits") << QByteArray("$FFFFFFFFF") << false << 0;
        QTest::newRow("dollar alone") << QByteArray("$") << false << 0;
        QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << true << int(-2147483648ll);
        QTest::newRow("overflow") << QByteArray("2147483648") << false << 0;
        QTest::newRow("far past 32 bits") << QByteArray("99999999999999999999999") << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("blanks only") << QByteArray("   ") << false << 0;
        QTest::newRow("letters") << QByteArray("abc") << false << 0;
        QTest::newRow("decimal point") << QByteArray("1.5") << false << 0;
        QTest::newRow("zero byte inside") << QByteArray("1\0" "2", 3) << false << 0;
    }
    void integers()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::string s = text.toStdString();
        if (valid) {
            QCOMPARE(StrToInt(s), value);
        } else {
            try {
                StrToInt(s);
                QFAIL("no failure");
            } catch (const EConvertError &e) {
                QCOMPARE(e.Message, QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(text)));
            }
        }
    }

    void colours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("name") << "clRed" << 0x0000FF << "clRed";
        QTest::newRow("name in lower case") << "clred" << 0x0000FF << "clRed";
        QTest::newRow("name in upper case") << "CLMAROON" << 0x000080 << "clMaroon";
        QTest::newRow("decimal of a named colour") << "255" << 0x0000FF << "clRed";
        QTest::newRow("hex") << "$00000055" << 0x55 << "$00000055";
        QTest::newRow("other top byte") << "$11111122" << 0x11111122 << "$11111122";
        QTest::newRow("system colour") << "clBtnFace" << int(0x8000000F) << "clBtnFace";
        QTest::newRow("system colour by number") << "$80000018" << int(0x80000018) << "clInfoBk";
        QTest::newRow("none") << "clNone" << 0x1FFFFFFF << "clNone";
        QTest::newRow("unnamed") << "$00123456" << 0x123456 << "$00123456";
    }
    void colours()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, written);
        QCOMPARE(StringToColor(text.toStdString()), value);
        QCOMPARE(QString::fromStdString(ColorToString(value)), written);
    }

    void badColourFailsAsInteger()
    {
        QVERIFY_THROWS_EXCEPTION(EConvertError, StringToColor("clRedd"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, StringToColor(""));
    }

    void drawnColours_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("plain") << 0x00000055 << QColor(0x55, 0, 0);
        QTest::newRow("other top byte draws its low bytes") << 0x11111122 << QColor(0x22, 0x11, 0x11);
        QTest::newRow("system index past the last") << int(0x800000FF) << QColor(Qt::black);
    }
    void drawnColours()
    {
        QFETCH(int, value);
        QFETCH(QColor, drawn);
        QCOMPARE(ColorToQColor(value), drawn);
    }

    void systemColoursFollowThePalette()
    {
        QCOMPARE(ColorToQColor(clWindowText), QGuiApplication::palette().color(QPalette::Active, QPalette::Text));
        QCOMPARE(ColorToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Active, QPalette::Button));
    }

    void booleans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("true") << "true" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("capitalised") << "True" << false;
        QTest::newRow("digit") << "1" << false;
        QTest::newRow("blank after") << "true " << false;
        QTest::newRow("empty") << "" << false;
    }
    void booleans()
    {
        QFETCH(QString, text);
        QFETCH(bool, value);
        QCOMPARE(TextToBool(text.toStdString()), value);
        QCOMPARE(BoolToText(value), value ? std::string("true") : std::string("false"));
    }

    void fontStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("readBack");
        QTest::newRow("none") << 0 << "" << 0;
        QTest::newRow("b") << int(fsBold) << "b" << int(fsBold);
        QTest::newRow("i") << int(fsItalic) << "i" << int(fsItalic);
        QTest::newRow("u") << int(fsUnderline) << "u" << int(fsUnderline);
        QTest::newRow("s") << int(fsStrikeOut) << "s" << int(fsStrikeOut);
        QTest::newRow("bi") << int(fsBold | fsItalic) << "bi" << int(fsBold | fsItalic);
        QTest::newRow("bu") << int(fsBold | fsUnderline) << "bu" << int(fsBold | fsUnderline);
        QTest::newRow("bs") << int(fsBold | fsStrikeOut) << "bs" << int(fsBold | fsStrikeOut);
        QTest::newRow("italic underline is lost") << int(fsItalic | fsUnderline) << "" << 0;
        QTest::newRow("all four are lost") << 15 << "" << 0;
    }
    void fontStyles()
    {
        QFETCH(int, style);
        QFETCH(QString, written);
        QFETCH(int, readBack);
        const std::string text = StyleToText(TFontStyles(style));
        QCOMPARE(QString::fromStdString(text), written);
        QCOMPARE(int(TextToStyle(text)), readBack);
    }

    void styleTextsAreExact()
    {
        QCOMPARE(int(TextToStyle("B")), 0);
        QCOMPARE(int(TextToStyle("ib")), 0);
        QCOMPARE(int(TextToStyle("b ")), 0);
    }
};

TARNIVA_TEST_MAIN(TextForms)
#include "tst_textforms.moc"

// The strip's layout and the drawing of its lights, checked on the pictures' pixels.
#include "TestSupport.h"

#include "strip/Animation.h"
#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QScreen>

namespace {
QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}
} // namespace

class Strip : public QObject
{
    Q_OBJECT
private:
    // A running strip with the defaults, on a display whose maximised width is 1024.
    std::unique_ptr<Sandbox> box;

    void setUpStrip(int shape, int size, int spacing = 1, bool highlights = true)
    {
        box = std::make_unique<Sandbox>(QRect(0, 0, 1016, 700));
        Application->CreateForm(Form1);
        LShape = shape;
        LEDSize = size;
        Spacing = spacing;
        HighL = highlights;
        Form1->Remake();
    }

private slots:
    void cleanup() { box.reset(); }

    void lightBoxes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("outer");
        QTest::addColumn<QRect>("inner");
        QTest::addColumn<QRect>("highlight");
        // (left, top, right, bottom) held in a QRect's four numbers
        QTest::newRow("round 16 at 2") << 0 << 16 << 2 << QRect(33, 1, 48, 16) << QRect(36, 4, 46, 14) << QRect(38, 6, 40, 8);
        QTest::newRow("rect 16 at 2") << 2 << 16 << 2 << QRect(17, 1, 24, 16) << QRect(20, 4, 22, 14) << QRect(19, 6, 20, 8);
        QTest::newRow("square 4 at 0") << 1 << 4 << 0 << QRect(1, 1, 4, 4) << QRect(1, 1, 2, 2) << QRect(2, 2, 2, 2);
        QTest::newRow("rect 11 at 1") << 2 << 11 << 1 << QRect(6, 1, 10, 11) << QRect(8, 3, 8, 9) << QRect(7, 4, 8, 6);
        QTest::newRow("square 10 at 1") << 1 << 10 << 1 << QRect(11, 1, 20, 10) << QRect(12, 2, 18, 8) << QRect(14, 4, 15, 5);
    }
    void lightBoxes()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        QFETCH(int, index);
        QFETCH(QRect, outer);
        QFETCH(QRect, inner);
        QFETCH(QRect, highlight);
        LShape = shape;
        LEDSize = size;
        Spacing = 1;
        const LightBoxes b = LightGeometry(index);
        const auto asRect = [](const TRect &r) { return QRect(r.Left, r.Top, r.Right, r.Bottom); };
        QCOMPARE(asRect(b.Outer), outer);
        QCOMPARE(asRect(b.Inner), inner);
        QCOMPARE(asRect(b.Highlight), highlight);
    }

    void counts_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("stripWidth");
        QTest::addColumn<int>("count");
        QTest::newRow("full width round") << true << 2048 << 0 << 1 << 1016 << 64;
        QTest::newRow("full width rect") << true << 2048 << 2 << 1 << 1016 << 127;
        QTest::newRow("BWidth caps the full width") << false << 500 << 0 << 1 << 500 << 32;
        QTest::newRow("BWidth past the full width") << false << 2048 << 0 << 1 << 1016 << 64;
        QTest::newRow("spacing") << false << 500 << 1 << 3 << 500 << 11;
    }
    void counts()
    {
        QFETCH(bool, fullScreen);
        QFETCH(int, width);
        QFETCH(int, shape);
        QFETCH(int, spacing);
        QFETCH(int, stripWidth);
        QFETCH(int, count);
        Sandbox sandbox(QRect(0, 0, 1016, 700));
        FScreen = fullScreen;
        BWidth = width;
        LShape = shape;
        LEDSize = 16;
        Spacing = spacing;
        QCOMPARE(StripWidth(), stripWidth);
        QCOMPARE(LightCount(), count);
    }

    // Each part of a filled light is exactly its box, drawn over the one before.
    void filledLightPixels_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("highlights");
        for (int size : {4, 5, 8, 11, 16}) {
            QTest::addRow("square %d", size) << 1 << size << true;
            QTest::addRow("rect %d", size) << 2 << size << true;
        }
        QTest::newRow("square 16 without highlights") << 1 << 16 << false;
    }
    void filledLightPixels()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        QFETCH(bool, highlights);
        setUpStrip(shape, size, 2, highlights);
        BackC = clBlue;
        Form1->Remake();
        Form1->SwitchLights(3);
        const LightBoxes b = LightGeometry(3);
        const QImage &img = Form1->Image1->Bitmap;
        const auto inside = [](const TRect &r, int x, int y) {
            return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        };
        const int x0 = 3 * LightPitch();
        for (int y = 0; y < size + 1; ++y)
            for (int x = x0; x < x0 + LightPitch(); ++x) {
                TColor want = BackC;
                if (inside(b.Outer, x, y)) want = LEDOnOut;
                if (inside(b.Inner, x, y)) want = LEDOnIn;
                if (highlights && inside(b.Highlight, x, y)) want = HighLightOn;
                QVERIFY2(pixel(img, x, y) == ColorToQColor(want), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    // A round light stays inside its box, keeps the background in the box's corners, and shows
    // its inner disc and highlight at their centres.
    void roundLightPixels_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {4, 7, 10, 16})
            QTest::addRow("%d", size) << size;
    }
    void roundLightPixels()
    {
        QFETCH(int, size);
        setUpStrip(0, size, 2, false);
        Form1->SwitchLights(1);
        const LightBoxes b = LightGeometry(1);
        const QImage &img = Form1->Image1->Bitmap;
        const QColor back = ColorToQColor(BackC);
        for (int y = 0; y < size + 1; ++y)
            for (int x = LightPitch(); x < 2 * LightPitch(); ++x) {
                const bool inOuter = x >= b.Outer.Left && x < b.Outer.Right && y >= b.Outer.Top && y < b.Outer.Bottom;
                if (!inOuter)
                    QCOMPARE(pixel(img, x, y), back);
            }
        QCOMPARE(pixel(img, b.Outer.Left, b.Outer.Top), back);
        QCOMPARE(pixel(img, b.Outer.Right - 1, b.Outer.Bottom - 1), back);
        QCOMPARE(pixel(img, (b.Outer.Left + b.Outer.Right) / 2, b.Outer.Top), ColorToQColor(LEDOnOut));
        if (b.Inner.Right - b.Inner.Left > 2)
            QCOMPARE(pixel(img, (b.Inner.Left + b.Inner.Right) / 2, (b.Inner.Top + b.Inner.Bottom) / 2), ColorToQColor(LEDOnIn));
        HighL = true;
        Form1->SwitchLights(1);
        Form1->SwitchLights(1);
        if (b.Highlight.Right - b.Highlight.Left >= 2)
            QCOMPARE(pixel(img, b.Highlight.Left, b.Highlight.Top), ColorToQColor(HighLightOn));
    }

    void remakeLaysOutAndDarkensEverything()
    {
        setUpStrip(0, 16);
        Form1->SwitchLights(0);
        Form1->SwitchLights(5);
        PrevFrame.assign(5, '1');
        FScreen = false;
        BWidth = 500;
        LEDSize = 10;
        Form1->Remake();
        QCOMPARE(Form1->Width(), 500);
        QCOMPARE(Form1->Height(), 13);
        QCOMPARE(Form1->Image1->geometry(), QRect(1, 1, 498, 11));
        QCOMPARE(Form1->Image2->geometry(), QRect(0, 1, 498, 11));
        QCOMPARE(PrevFrame, BlankFrame);
        for (int i = 0; i < 1025; ++i)
            QVERIFY(!LightOn[size_t(i)]);
        const LightBoxes b = LightGeometry(5);
        const int cx = (b.Inner.Left + b.Inner.Right) / 2, cy = (b.Inner.Top + b.Inner.Bottom) / 2;
        QCOMPARE(pixel(Form1->Image1->Bitmap, cx, cy), ColorToQColor(LEDOffIn));
        // The picture's lower rows below the strip are the background's, not the old lights'.
        QCOMPARE(pixel(Form1->Image1->Bitmap, cx, 14), ColorToQColor(BackC));
    }

    void switchingTwiceRestores()
    {
        setUpStrip(0, 16);
        const QImage before = Form1->Image1->Bitmap.copy();
        Form1->SwitchLights(7);
        QVERIFY(LightOn[7]);
        QVERIFY(Form1->Image1->Bitmap != before);
        Form1->SwitchLights(7);
        QVERIFY(!LightOn[7]);
        QCOMPARE(Form1->Image1->Bitmap, before);
        Form1->SwitchLights(-1);
        Form1->SwitchLights(int(LightOn.size()));
        QCOMPARE(Form1->Image1->Bitmap, before);
    }

    // Lights take the colours current when they are drawn.
    void newColoursShowWhenALightSwitches()
    {
        setUpStrip(1, 16);
        Form1->SwitchLights(0);
        LEDOnIn = clLime;
        QCOMPARE(pixel(Form1->Image1->Bitmap, 8, 8), ColorToQColor(clRed));
        Form1->SwitchLights(1);
        QCOMPARE(pixel(Form1->Image1->Bitmap, 16 + 8, 8), ColorToQColor(clLime));
    }

    // On a wide display the full-width strip shows lights across all of it.
    void wideDisplay()
    {
        box = std::make_unique<Sandbox>(QRect(0, 0, 3840, 2160));
        Application->CreateForm(Form1);
        LShape = 2;
        LEDSize = 4;
        Form1->Remake();
        QCOMPARE(Form1->Width(), 3840);
        QVERIFY(LightOn.size() >= 1920);
        QVERIFY(Form1->Image1->Bitmap.width() >= 3840);
        Form1->SwitchLights(1900);
        QVERIFY(LightOn[1900]);
        QCOMPARE(pixel(Form1->Image1->Bitmap, 1900 * 2 + 1, 2), ColorToQColor(LEDOnOut));
        QCOMPARE(pixel(Form1->Image1->Bitmap, 3000 + 1, 2), ColorToQColor(LEDOffOut));
    }

    // Only the changed light is repainted, and the screen then shows what a full repaint would.
    void screenShowsThePicture()
    {
        setUpStrip(0, 16);
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        Form1->SwitchLights(2);
        Form1->SwitchLights(40);
        const QImage shown = Form1->screen()->grabWindow(Form1->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture = Form1->Image1->Bitmap.copy(0, 0, Form1->Width() - 2, LEDSize + 1);
        QCOMPARE(shown.copy(1, 1, picture.width(), picture.height()), picture);
        QCOMPARE(shown.pixelColor(0, 0), ColorToQColor(FormC));
    }
};

TARNIVA_TEST_MAIN(Strip)
#include "tst_strip.moc"

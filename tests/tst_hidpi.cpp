// The strip on a display scaled by 2: every size stays in logical pixels, and the lights are drawn
// at the display's full resolution, not enlarged from a picture of logical pixels.
#include "TestSupport.h"

#include "strip/Layout.h"
#include "strip/Lights1.h"
#include "strip/Settings.h"

#include <QSet>

namespace {
constexpr int Ratio = 2;

// A logical coordinate of the picture as a device coordinate of the window: the picture lies one
// logical pixel inside the window.
int device(int pictureCoordinate)
{
    return Ratio * (pictureCoordinate + 1);
}

// The strip as the screen shows it, in device pixels.
QImage shown()
{
    QImage image = Form1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

QString where(int x, int y)
{
    return QStringLiteral("device pixel %1,%2").arg(x).arg(y);
}

struct LightColours
{
    TColor outer, inner, highlight;
};
} // namespace

class HiDpi : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Sandbox> box;

    // A strip that stands still: its step comes once an hour.
    void setUpStrip(int shape, int size)
    {
        box = std::make_unique<Sandbox>(QRect(0, 0, 1016, 700));
        box->WriteStore({{"Delay", "3600000"}, {"LShape", std::to_string(shape)}, {"LEDSize", std::to_string(size)}});
        Application->CreateForm(Form1);
    }

private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), qreal(Ratio)); }
    void cleanup() { box.reset(); }

    void geometryIsLogical_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("size 16") << 16;
        QTest::newRow("size 9") << 9;
        QTest::newRow("size 4") << 4;
    }
    void geometryIsLogical()
    {
        QFETCH(int, size);
        setUpStrip(0, size);
        // The display's maximised width is 1016 + 8 logical pixels.
        QCOMPARE(Form1->Width(), 1016);
        QCOMPARE(Form1->Height(), size + 3);
        QCOMPARE(Form1->Image1->geometry(), QRect(1, 1, 1014, size + 1));
        QCOMPARE(LightCount(), RoundUpDiv(1016, size));
        // The window on screen has twice as many pixels each way, its frame 2 of them wide.
        const QImage image = shown();
        QCOMPARE(image.size(), QSize(Ratio * 1016, Ratio * (size + 3)));
        const QRgb frame = ColorToQColor(FormC).rgb();
        for (int x = 0; x < image.width(); x += 7)
            for (int y : {0, 1, image.height() - 2, image.height() - 1})
                QVERIFY2(image.pixel(x, y) == frame, qPrintable(where(x, y)));
        for (int y = 0; y < image.height(); ++y)
            for (int x : {0, 1, image.width() - 2, image.width() - 1})
                QVERIFY2(image.pixel(x, y) == frame, qPrintable(where(x, y)));
        // The picture reaches the screen pixel for pixel, not resampled.
        QImage picture = Form1->Image1->Bitmap.copy(0, 0, Ratio * 1014, Ratio * (size + 1));
        picture.setDevicePixelRatio(1);
        QCOMPARE(image.copy(Ratio, Ratio, picture.width(), picture.height()), picture);
    }

    void lightsAtDeviceResolution_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::newRow("round 16") << 0 << 16;
        QTest::newRow("round 9") << 0 << 9;
        QTest::newRow("round 6") << 0 << 6;
        QTest::newRow("square 10") << 1 << 10;
        QTest::newRow("rect 16") << 2 << 16;
    }
    void lightsAtDeviceResolution()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        setUpStrip(shape, size);
        Form1->SwitchLights(3);
        const QImage image = shown();
        const QRgb background = ColorToQColor(BackC).rgb();

        const std::pair<int, LightColours> lights[] = {{2, {LEDOffOut, LEDOffIn, HighLightOff}},
                                                       {3, {LEDOnOut, LEDOnIn, HighLightOn}}};
        for (const auto &[index, colours] : lights) {
            const LightBoxes b = LightGeometry(index);
            const QRgb outer = ColorToQColor(colours.outer).rgb(), inner = ColorToQColor(colours.inner).rgb(),
                       highlight = ColorToQColor(colours.highlight).rgb();
            const int left = device(b.Outer.Left), right = device(b.Outer.Right); // right, bottom exclusive
            const int top = device(b.Outer.Top), bottom = device(b.Outer.Bottom);
            const auto lit = [&](int x, int y) { return image.pixel(x, y) != background; };

            // Edges as sharp as the display: no pixel of a blended colour anywhere in the light.
            const QSet<QRgb> colourSet{background, outer, inner, highlight};
            for (int y = top - 1; y <= bottom; ++y)
                for (int x = left - 1; x <= right; ++x)
                    QVERIFY2(colourSet.contains(image.pixel(x, y)), qPrintable(where(x, y)));

            // The outer part fills its box to the device pixel: across the middle row and down the
            // middle column it reaches the box's edges, and the background starts right outside.
            const int midX = (left + right) / 2, midY = (top + bottom) / 2;
            QCOMPARE(image.pixel(left, midY), outer);
            QCOMPARE(image.pixel(right - 1, midY), outer);
            QCOMPARE(image.pixel(midX, top), outer);
            QCOMPARE(image.pixel(midX, bottom - 1), outer);
            QCOMPARE(image.pixel(left - 1, midY), background);
            QCOMPARE(image.pixel(right, midY), background);
            QCOMPARE(image.pixel(midX, top - 1), background);
            QCOMPARE(image.pixel(midX, bottom), background);

            // The inner part, looked at in its lower right quarter, where the highlight never reaches.
            const TRect in = b.Inner;
            if (!in.IsEmpty())
                QCOMPARE(image.pixel((device(in.Left) + 3 * device(in.Right)) / 4, (device(in.Top) + 3 * device(in.Bottom)) / 4), inner);
            const TRect hl = b.Highlight;
            if (HighL && !hl.IsEmpty())
                QCOMPARE(image.pixel(device(hl.Left), device(hl.Top)), highlight);

            if (shape != 0)
                continue;
            // A round light keeps the background in the corners of its box and is as symmetric as
            // the box, so it sits centred at every size.
            QCOMPARE(image.pixel(left, top), background);
            QCOMPARE(image.pixel(right - 1, bottom - 1), background);
            for (int y = top; y < bottom; ++y)
                for (int x = left; x < right; ++x) {
                    QVERIFY2(lit(x, y) == lit(left + right - 1 - x, y), qPrintable(where(x, y)));
                    QVERIFY2(lit(x, y) == lit(x, top + bottom - 1 - y), qPrintable(where(x, y)));
                }
            // Its outline steps at single device pixels: a picture of logical pixels enlarged twice
            // would show every row of the disc twice.
            bool finer = false;
            for (int y = top; y + 1 < bottom && !finer; y += 2)
                for (int x = left; x < right && !finer; ++x)
                    finer = lit(x, y) != lit(x, y + 1);
            QVERIFY2(finer, "the disc is made of 2 by 2 blocks");
        }
    }
};

// The display's scale is set before the application starts, as a user's desktop would.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Ratio));
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarniva"));
    HiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"

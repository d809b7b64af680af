#include "platform/Screen.h"

#include "platform/Application.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<QRect> testWorkArea;
}

QRect WorkArea()
{
    if (testWorkArea)
        return *testWorkArea;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void SetWorkAreaForTesting(std::optional<QRect> area)
{
    testWorkArea = area;
}

int GetSystemMetrics(int index)
{
    const QRect area = WorkArea();
    switch (index) {
    case SM_CXMAXIMIZED: return area.x() + area.width() + 8;
    case SM_CYMAXIMIZED: return area.y() + area.height() + 8;
    default: return 0;
    }
}

void WhenWorkAreaChanges(QObject *context, std::function<void()> handler)
{
    auto watch = [context, handler](QScreen *screen) {
        if (screen)
            QObject::connect(screen, &QScreen::availableGeometryChanged, context, [handler] { Guard(handler); });
    };
    watch(QGuiApplication::primaryScreen());
    QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, context, [watch, handler](QScreen *screen) {
        watch(screen);
        Guard(handler);
    });
}

#pragma once

#include <QRect>
#include <optional>

// Screen metrics of the primary display, read afresh at every use. A maximised window there is
// as large as the work area plus an 8-pixel border on each side, so the metric minus 8 reaches
// exactly to the work area's right or bottom edge.
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;

int GetSystemMetrics(int index);

#include <functional>
class QObject;

// Runs the handler, inside the guard, whenever the primary display's work area changes.
void WhenWorkAreaChanges(QObject *context, std::function<void()> handler);

// The primary display's work area; tests may set one of their own.
QRect WorkArea();
void SetWorkAreaForTesting(std::optional<QRect> area);

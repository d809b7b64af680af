#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QImage;
class QWidget;

// Stacking and taskbar state of a top-level window, kept by the window manager (EWMH on X11).
// Elsewhere (the offscreen platform of the tests) the requests are only recorded.

enum TInsertAfter { HWND_TOPMOST, HWND_NOTOPMOST, HWND_BOTTOM };

// Places the window in the stacking order without moving or sizing it, and shows it.
// "Top" keeps it above other windows, "not top" lets it be covered again, "bottom" lowers it
// once beneath the others without holding it there.
void SetWindowPos(QWidget *window, TInsertAfter insertAfter);

// Whether the window has a button on the taskbar (and a place in the pager).
void ShowTaskbarButton(QWidget *window, bool visible);

// Whether windows are X11 windows here (not the offscreen platform of the tests).
bool OnX11();
// Puts a part of a raster (in device pixels, from its top-left corner) straight on a native
// window at the same place, and sends it to the X server at once.
void PutImage(QWidget *window, const QImage &raster, const QRect &devicePixels);

// Every request in words ("topmost", "notopmost", "bottom", "taskbar hidden", "taskbar shown"),
// for tests.
void SetWindowRequestRecorder(std::function<void(const QString &request)> recorder);

#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace {

std::function<void(const QString &)> recorder;

void record(const char *request)
{
    if (recorder)
        recorder(QString::fromLatin1(request));
}

xcb_connection_t *connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// Adds or removes _NET_WM_STATE atoms. A mapped window asks the window manager; an unmapped one
// carries the state in its property, which the window manager reads when it maps the window.
void setNetWmState(QWidget *window, bool on, std::initializer_list<const char *> names)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t stateAtom = atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    for (const char *name : names)
        atoms.push_back(atom(c, name));

    if (window->isVisible()) {
        for (size_t i = 0; i < atoms.size(); i += 2) {
            xcb_client_message_event_t message = {};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = id;
            message.type = stateAtom;
            message.data.data32[0] = on ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
            message.data.data32[1] = atoms[i];
            message.data.data32[2] = i + 1 < atoms.size() ? atoms[i + 1] : 0;
            message.data.data32[3] = 1; // from a normal application
            xcb_send_event(c, 0, rootOf(c),
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char *>(&message));
        }
    } else {
        std::vector<xcb_atom_t> current;
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, stateAtom, XCB_ATOM_ATOM, 0, 1024), nullptr);
        if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            current.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        for (xcb_atom_t a : atoms) {
            std::erase(current, a);
            if (on)
                current.push_back(a);
        }
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, stateAtom, XCB_ATOM_ATOM, 32,
                            uint32_t(current.size()), current.data());
    }
    xcb_flush(c);
}

} // namespace

void SetWindowPos(QWidget *window, TInsertAfter insertAfter)
{
    switch (insertAfter) {
    case HWND_TOPMOST:
        record("topmost");
        setNetWmState(window, true, {"_NET_WM_STATE_ABOVE"});
        break;
    case HWND_NOTOPMOST:
        record("notopmost");
        setNetWmState(window, false, {"_NET_WM_STATE_ABOVE"});
        break;
    case HWND_BOTTOM:
        record("bottom");
        if (window->isVisible())
            window->lower();
        break;
    }
    if (!window->isVisible()) {
        window->show();
        if (insertAfter == HWND_BOTTOM)
            window->lower();
    }
}

void ShowTaskbarButton(QWidget *window, bool visible)
{
    record(visible ? "taskbar shown" : "taskbar hidden");
    setNetWmState(window, !visible, {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
}

bool OnX11()
{
    return connection() != nullptr;
}

void PutImage(QWidget *window, const QImage &raster, const QRect &devicePixels)
{
    xcb_connection_t *c = connection();
    const QRect area = devicePixels & raster.rect();
    if (!c || area.isEmpty() || raster.format() != QImage::Format_RGB32)
        return;
    static xcb_gcontext_t gc = 0;
    const xcb_window_t id = xcb_window_t(window->winId());
    if (!gc) {
        gc = xcb_generate_id(c);
        const uint32_t noExposures = 0;
        xcb_create_gc(c, gc, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    }
    // Rows of 32-bit pixels are what a 24-bit ZPixmap holds. A wide strip on a scaled display can
    // exceed what one request may carry, so it goes in bands of rows that fit.
    const uint32_t rowBytes = uint32_t(area.width()) * 4;
    const uint32_t maxBytes = xcb_get_maximum_request_length(c) * 4 - 64;
    const int band = std::max(1, int(maxBytes / rowBytes));
    for (int top = area.top(); top <= area.bottom(); top += band) {
        const QImage part = raster.copy(QRect(area.left(), top, area.width(), std::min(band, area.bottom() + 1 - top)));
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, id, gc, uint16_t(part.width()), uint16_t(part.height()),
                      int16_t(area.x()), int16_t(top), 0, 24, uint32_t(part.sizeInBytes()), part.constBits());
    }
    xcb_flush(c);
}

void SetWindowRequestRecorder(std::function<void(const QString &)> r)
{
    recorder = std::move(r);
}

#include "nativetitle.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <xcb/xcb.h>

namespace vx {

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

void clearProperty(xcb_connection_t *c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type)
{
    if (property != XCB_ATOM_NONE && type != XCB_ATOM_NONE)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 8, 0, "");
}
} // namespace

void applyEmptyDesktopTitle(QWidget *window)
{
    if (!window || !window->isWindow() || !window->windowTitle().isEmpty()
        || !window->testAttribute(Qt::WA_WState_Created))
        return;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *c = x11->connection();
    const auto w = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    clearProperty(c, w, atom(c, "_NET_WM_NAME"), utf8);
    clearProperty(c, w, atom(c, "_NET_WM_ICON_NAME"), utf8);
    clearProperty(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    clearProperty(c, w, XCB_ATOM_WM_ICON_NAME, XCB_ATOM_STRING);
    xcb_flush(c);
}

} // namespace vx

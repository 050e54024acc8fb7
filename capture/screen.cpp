#include "screen.h"

#include "platform/imaging/picture.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace capture {

namespace {

bool screenReadable()
{
    // A Wayland compositor hands no client the screen; X clients under it
    // (XWayland) see only their own windows.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    return qgetenv("XDG_SESSION_TYPE") != "wayland";
}

QRect virtualDesktop()
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->virtualGeometry() : QRect();
}

// The frame of the window _NET_ACTIVE_WINDOW names, in root coordinates;
// empty when there is none or no X server.
QRect activeFrame()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    int screenNo = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNo);
    QRect result;
    if (xcb_connection_has_error(c) == 0) {
        const xcb_setup_t *setup = xcb_get_setup(c);
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < screenNo && it.rem; ++i)
            xcb_screen_next(&it);
        const xcb_window_t root = it.data ? it.data->root : 0;
        const char *name = "_NET_ACTIVE_WINDOW";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_window_t window = 0;
        if (atom && atom->atom != XCB_ATOM_NONE && root) {
            xcb_get_property_reply_t *prop = xcb_get_property_reply(
                c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
            if (prop && prop->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(prop) >= 4)
                std::memcpy(&window, xcb_get_property_value(prop), sizeof window);
            std::free(prop);
        }
        std::free(atom);
        // The frame is the ancestor that is a child of the root.
        for (int depth = 0; window && window != root && depth < 64; ++depth) {
            xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
            if (!tree) {
                window = 0;
                break;
            }
            const xcb_window_t parent = tree->parent;
            std::free(tree);
            if (parent == root || parent == 0)
                break;
            window = parent;
        }
        if (window && window != root) {
            xcb_get_geometry_reply_t *geo = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
            xcb_translate_coordinates_reply_t *pos = xcb_translate_coordinates_reply(
                c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr);
            if (geo && pos) {
                const int b = geo->border_width;
                result = QRect(pos->dst_x - b, pos->dst_y - b, geo->width + 2 * b, geo->height + 2 * b);
            }
            std::free(geo);
            std::free(pos);
        }
    }
    xcb_disconnect(c);
    return result;
}

class RealScreen : public ScreenSource {
public:
    std::optional<QImage> wholeScreen() override
    {
        if (!screenReadable())
            return std::nullopt;
        return vx::GrabScreenArea(virtualDesktop());
    }
    std::optional<QImage> activeWindow() override
    {
        if (!screenReadable())
            return std::nullopt;
        const QRect frame = activeFrame().intersected(virtualDesktop());
        return vx::GrabScreenArea(frame.isEmpty() ? virtualDesktop() : frame);
    }
};

std::unique_ptr<ScreenSource> &slot()
{
    static std::unique_ptr<ScreenSource> s;
    return s;
}

} // namespace

ScreenSource &screenSource()
{
    auto &s = slot();
    if (!s)
        s = std::make_unique<RealScreen>();
    return *s;
}

void setScreenSource(std::unique_ptr<ScreenSource> source) { slot() = std::move(source); }

} // namespace capture

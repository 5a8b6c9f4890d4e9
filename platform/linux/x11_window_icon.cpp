#include "platform/linux/x11_window_icon.h"

#include <QGuiApplication>
#include <QImage>
#include <QWindow>

#include <cstdint>
#include <cstdlib>

#include <xcb/xcb.h>

#include "platform/linux/icons.h"

namespace mirabo::platform {

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name, std::size_t length) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(length), name), nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

bool AppendLargeWindowIcons(QWidget* window, HICON icon, int above) {
    auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || window == nullptr || window->windowHandle() == nullptr) return false;
    xcb_connection_t* connection = x11->connection();
    if (connection == nullptr) return false;
    const xcb_window_t id = static_cast<xcb_window_t>(window->winId());
    static constexpr char kName[] = "_NET_WM_ICON";
    const xcb_atom_t property = Atom(connection, kName, sizeof kName - 1);
    if (property == XCB_ATOM_NONE) return false;

    bool sent = false;
    for (int size : DesktopIconSizes(icon)) {
        if (size <= above) continue;
        QImage picture = DesktopIconImage(icon, size);
        if (picture.isNull()) continue;
        // _NET_WM_ICON holds width, height, then unpremultiplied 0xAARRGGBB
        // rows; ARGB32 is exactly that in the client's byte order.
        picture.convertTo(QImage::Format_ARGB32);
        const uint32_t header[2] = {static_cast<uint32_t>(picture.width()),
                                    static_cast<uint32_t>(picture.height())};
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, property, XCB_ATOM_CARDINAL, 32, 2, header);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, property, XCB_ATOM_CARDINAL, 32,
                            static_cast<uint32_t>(picture.width() * picture.height()), picture.constBits());
        // The request is written out before the picture is let go.
        xcb_flush(connection);
        sent = true;
    }
    return sent;
}

}  // namespace mirabo::platform

#include "platform/linux/painting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <iterator>

#include "platform/linux/accessibility.h"
#include "platform/linux/fonts.h"
#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

struct Brush {
    QColor color;
    bool hollow;
};

Brush g_stockBrushes[] = {
    {QColor(255, 255, 255), false},  // WHITE_BRUSH
    {QColor(192, 192, 192), false},  // LTGRAY_BRUSH
    {QColor(128, 128, 128), false},  // GRAY_BRUSH
    {QColor(64, 64, 64), false},     // DKGRAY_BRUSH
    {QColor(0, 0, 0), false},        // BLACK_BRUSH
    {QColor(), true},                // NULL_BRUSH
};

// The innermost paint event being delivered; each knows the one around it.
PaintEvent* g_innermostPaint = nullptr;

// The device context of the paint begun with BeginPaint; a window paints
// only inside its paint event, so there is one at a time.
struct DeviceContext {
    HWND window = nullptr;
    QPainter* painter = nullptr;
    QStringList lines;  // the texts drawn, for screen readers
};
DeviceContext g_paintContext;

}  // namespace

bool BrushColor(HBRUSH brush, QColor* color) {
    for (const Brush& stock : g_stockBrushes) {
        if (reinterpret_cast<HBRUSH>(const_cast<Brush*>(&stock)) == brush) {
            if (stock.hollow) return false;
            *color = stock.color;
            return true;
        }
    }
    return false;
}

PaintEvent::PaintEvent(HWND window, QPainter* painter)
    : window_(window), painter_(painter), outer_(g_innermostPaint) {
    g_innermostPaint = this;
}

PaintEvent::~PaintEvent() { g_innermostPaint = outer_; }

QPainter* PaintEvent::PainterOf(HWND window) {
    for (PaintEvent* paint = g_innermostPaint; paint != nullptr; paint = paint->outer_) {
        if (paint->window_ == window) return paint->painter_;
    }
    return nullptr;
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's painting functions.

using namespace mirabo::platform;

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < 0 || i >= static_cast<int>(std::size(g_stockBrushes))) return nullptr;
    return &g_stockBrushes[i];
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (Window::FromHandle(hWnd) == nullptr || lpPaint == nullptr) return nullptr;
    g_paintContext = DeviceContext{};
    g_paintContext.window = hWnd;
    g_paintContext.painter = PaintEvent::PainterOf(hWnd);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = reinterpret_cast<HDC>(&g_paintContext);
    GetClientRect(hWnd, &lpPaint->rcPaint);
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr || lpPaint->hdc != reinterpret_cast<HDC>(&g_paintContext) ||
        g_paintContext.window != hWnd) {
        return FALSE;
    }
    if (Window* window = Window::FromHandle(hWnd))
        SetPaintedText(window->Widget(), g_paintContext.lines.join(u'\n'));
    g_paintContext = DeviceContext{};
    return TRUE;
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    if (hdc != reinterpret_cast<HDC>(&g_paintContext) || lpchText == nullptr || lprc == nullptr) return 0;
    QString text = cchText < 0 ? FromWide(lpchText) : QString::fromWCharArray(lpchText, cchText);
    // The device context's font is the handheld's system font; its colours
    // are black text on white.
    QFont font = ShellFont(1.0);
    QFontMetrics metrics(font);
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
                 : (format & DT_BOTTOM) ? Qt::AlignBottom
                                        : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    }
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    QRect rect(QPoint(lprc->left, lprc->top), QPoint(lprc->right - 1, lprc->bottom - 1));
    QRect bounds = metrics.boundingRect(rect, flags, text);
    if (format & DT_CALCRECT) {
        lprc->right = lprc->left + bounds.width();
        lprc->bottom = lprc->top + bounds.height();
        return bounds.height();
    }
    g_paintContext.lines.append(text);
    if (QPainter* painter = g_paintContext.painter) {
        painter->save();
        if (!(format & DT_NOCLIP)) painter->setClipRect(rect, Qt::IntersectClip);
        painter->setFont(font);
        painter->fillRect(bounds, Qt::white);
        painter->setPen(Qt::black);
        painter->drawText(rect, flags, text);
        painter->restore();
    }
    return bounds.height();
}

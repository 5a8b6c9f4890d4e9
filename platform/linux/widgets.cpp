#include "platform/linux/widgets.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace mirabo::platform {

int LineWidth(double scale) { return std::max(1, static_cast<int>(std::lround(scale))); }

PushButtonWidget::PushButtonWidget(QWidget* parent, double scale, Look look)
    : QAbstractButton(parent), scale_(scale), look_(look) {
    setFocusPolicy(look == Look::TitleStrip ? Qt::NoFocus : Qt::StrongFocus);
}

void PushButtonWidget::SetDefault(bool isDefault) {
    default_ = isDefault;
    update();
}

void PushButtonWidget::mousePressEvent(QMouseEvent* event) {
    focusedByProgram_ = false;
    QAbstractButton::mousePressEvent(event);
}

QSize PushButtonWidget::sizeHint() const {
    QFontMetrics metrics(font());
    int pad = static_cast<int>(std::lround(8 * scale_));
    return QSize(metrics.horizontalAdvance(text()) + 2 * pad, metrics.height() + pad);
}

void PushButtonWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    int line = LineWidth(scale_);
    QRectF frame = QRectF(rect()).adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0);
    qreal radius = 2.5 * scale_;
    bool down = isDown();

    if (look_ == Look::TitleStrip) {
        painter.setPen(QPen(Qt::white, line));
        painter.setBrush(down ? QColor(Qt::white) : kTitleBlue);
        painter.drawRoundedRect(frame, radius * 2, radius * 2);
        painter.setPen(down ? kTitleBlue : QColor(Qt::white));
    } else {
        // The default button's frame is heavier (the dialog moves the default
        // look with the focus, as the platform does).
        int weight = default_ ? 2 * line : line;
        QRectF outline = QRectF(rect()).adjusted(weight / 2.0, weight / 2.0, -weight / 2.0, -weight / 2.0);
        painter.setPen(QPen(Qt::black, weight));
        painter.setBrush(down ? QColor(Qt::black) : QColor(Qt::white));
        painter.drawRoundedRect(outline, radius, radius);
        if (hasFocus()) {
            // The focus mark: dots a pixel inside the heaviest frame, past
            // the rounded corners, as far from the text as the button allows,
            // so that they stay clear of its glyphs at every scale.
            QPen dots(down ? Qt::white : Qt::black, 1, Qt::DotLine);
            painter.setPen(dots);
            painter.setBrush(Qt::NoBrush);
            const int vertical = 2 * line + line / 2;
            const int across = vertical + static_cast<int>(std::ceil(radius / 2));
            const int left = across, right = width() - 1 - across;
            const int top = vertical, bottom = height() - 1 - vertical;
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.drawLine(left, top, right, top);
            painter.drawLine(left, bottom, right, bottom);
            painter.drawLine(left, top, left, bottom);
            painter.drawLine(right, top, right, bottom);
        }
        painter.setPen(!isEnabled() ? QColor(Qt::gray) : down ? QColor(Qt::white) : QColor(Qt::black));
    }
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, text());
}

StaticWidget::StaticWidget(QWidget* parent, DWORD style, double scale)
    : QWidget(parent), style_(style), scale_(scale) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void StaticWidget::SetText(const QString& text) {
    bool changed = text != text_;
    text_ = text;
    Fit();
    update();
    if (changed && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void StaticWidget::Place(const QRect& controlRect) {
    controlRect_ = controlRect;
    Fit();
}

void StaticWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) Fit();
    QWidget::changeEvent(event);
}

void StaticWidget::Fit() {
    if (!controlRect_.isValid()) return;
    QRect area = controlRect_;
    DWORD type = style_ & SS_TYPEMASK;
    if (type != SS_BITMAP && type != SS_ICON && !text_.isEmpty()) {
        // The lines as laid out, and the ink of the first one, which may
        // reach above the font's ascent or past its advance.
        QFontMetrics metrics(font());
        QRect box(QPoint(0, 0), controlRect_.size());
        QRect lines = metrics.boundingRect(box, TextFlags(), text_);
        QString firstLine = text_.section(QLatin1Char('\n'), 0, 0);
        if (!(style_ & SS_NOPREFIX)) firstLine.remove(QLatin1Char('&'));
        QRect ink =
            metrics.tightBoundingRect(firstLine).translated(lines.left(), lines.top() + metrics.ascent());
        area = area.united(lines.united(ink).translated(controlRect_.topLeft()));
    }
    textOrigin_ = controlRect_.topLeft() - area.topLeft();
    setGeometry(area);
}

int StaticWidget::TextFlags() const {
    int flags = Qt::AlignTop;
    switch (style_ & SS_TYPEMASK) {
    case SS_CENTER:
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case SS_RIGHT:
        flags |= Qt::AlignRight | Qt::TextWordWrap;
        break;
    case 0x0000000CL:  // SS_LEFTNOWORDWRAP
        flags |= Qt::AlignLeft;
        break;
    default:
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    if (!(style_ & SS_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    return flags;
}

void StaticWidget::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void StaticWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DWORD type = style_ & SS_TYPEMASK;
    if (type == SS_BITMAP || type == SS_ICON) {
        if (!image_.isNull()) {
            QSize size(static_cast<int>(std::lround(image_.width() * scale_)),
                       static_cast<int>(std::lround(image_.height() * scale_)));
            // Whole device pixels grow into blocks: no smoothing.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(QRect(QPoint(0, 0), size), image_);
        }
        return;
    }
    painter.setPen(isEnabled() ? Qt::black : Qt::gray);
    painter.setFont(font());
    painter.drawText(TextRect(), TextFlags(), text_);
}

QString StyleSheet(double scale) {
    int line = LineWidth(scale);
    return QStringLiteral(
               "QLineEdit { border: %1px solid black; background: white; color: black;"
               " padding: 0px %2px; selection-background-color: black; selection-color: white; }"
               "QLineEdit:read-only { background: #e4e4e4; }")
        .arg(line)
        .arg(line);
}

QString MenuStyleSheet(double scale) {
    int line = LineWidth(scale);
    int pad = static_cast<int>(std::lround(3 * scale));
    int side = static_cast<int>(std::lround(8 * scale));
    return QStringLiteral(
               "QMenu { background: white; color: black; border: %1px solid black; padding: %1px; }"
               "QMenu::item { padding: %2px %3px; background: transparent; }"
               "QMenu::item:selected { background: #0b2d8c; color: white; }"
               "QMenu::item:disabled { color: gray; }"
               "QMenu::separator { height: %1px; background: gray; margin: %2px %1px; }")
        .arg(line)
        .arg(pad)
        .arg(side);
}

}  // namespace mirabo::platform

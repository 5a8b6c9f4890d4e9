// The widgets that draw the handheld's controls: push buttons and static
// controls draw themselves in the handheld's flat black-on-white look; edit
// controls are line edits styled by the dialog (see StyleSheet()).
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QWidget>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// The handheld's blue, behind the title strip, the selected menu-bar button
// and the title-strip buttons when pressed.
inline const QColor kTitleBlue(0x0b, 0x2d, 0x8c);

class PushButtonWidget : public QAbstractButton {
public:
    enum class Look { Dialog, TitleStrip };

    PushButtonWidget(QWidget* parent, double scale, Look look = Look::Dialog);

    // The default button has a heavier frame.
    void SetDefault(bool isDefault);
    bool IsDefault() const { return default_; }
    // Whether this is the title strip's button rather than a dialog's.
    bool IsTitleStripButton() const { return look_ == Look::TitleStrip; }
    // Whether the button last got the keyboard focus from the program's
    // SetFocus rather than from the dialog manager (Tab, the first focus) or
    // the user's click: such a button is not the default one.
    bool FocusedByProgram() const { return focusedByProgram_; }
    void SetFocusedByProgram(bool byProgram) { focusedByProgram_ = byProgram; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double scale_;
    Look look_;
    bool default_ = false;
    bool focusedByProgram_ = false;
};

// A static control: a text drawn with the platform's rules (word breaks,
// "&" marking a mnemonic unless SS_NOPREFIX), or a bitmap (SS_BITMAP), or an
// icon (SS_ICON, drawn when an icon is set).
class StaticWidget : public QWidget {
public:
    StaticWidget(QWidget* parent, DWORD style, double scale);

    DWORD Style() const { return style_; }
    QString Text() const { return text_; }
    // Shows the text; screen readers hear of a label's new name.
    void SetText(const QString& text);
    // The picture is drawn at the screen's scale from the top-left corner.
    void SetImage(const QImage& image);
    bool HasImage() const { return !image_.isNull(); }

    // Puts the control at its rectangle in the parent. The text is laid out
    // in that rectangle as on the platform, and the widget grows past it
    // where the font standing in for the handheld's draws beyond it (taller
    // brackets, a line a pixel wider), so that nothing of the text is cut.
    void Place(const QRect& controlRect);
    // Where the text is laid out, in the widget's own pixels.
    QRect TextRect() const {
        return QRect(textOrigin_, controlRect_.isValid() ? controlRect_.size() : size());
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TextFlags() const;
    void Fit();

    DWORD style_;
    double scale_;
    QString text_;
    QImage image_;
    QRect controlRect_;
    QPoint textOrigin_;
};

// The style of edit controls (frame, background, read-only background).
QString StyleSheet(double scale);

// The style of pop-up menus: black on white, the chosen item inverted in the
// title strip's blue.
QString MenuStyleSheet(double scale);

// Width of a frame line at a scale.
int LineWidth(double scale);

}  // namespace mirabo::platform

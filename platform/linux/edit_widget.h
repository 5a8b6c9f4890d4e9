// The widget of an edit control: a line edit that keeps the platform's text
// limit and offers the platform's edit menu.
//
// The limit (EM_LIMITTEXT) bounds what the user types, pastes or commits from
// the input method, in UTF-16 units as on the platform: an insertion is cut to
// what still fits, and a character beyond U+FFFF (a surrogate pair) that would
// cross the limit is left out whole, never cut in half. A text the program
// sets (WM_SETTEXT) stands whole, even past the limit.
//
// The edit menu opens on a right click, Shift+F10 or the Menu key:
// 元に戻す, 切り取り, コピー, 貼り付け, 削除 and すべて選択, each greyed while it
// cannot act; a read-only control offers コピー and すべて選択 only.
#pragma once

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace mirabo::platform {

class EditWidget : public QLineEdit {
public:
    // The platform's limit before EM_LIMITTEXT is sent.
    static constexpr int kDefaultLimit = 32767;

    EditWidget(QWidget* parent, double scale);

    // EM_LIMITTEXT: the most characters the user can bring into the control;
    // 0 is as many as it can hold.
    void SetLimit(int characters);
    int Limit() const { return limit_; }
    // WM_SETTEXT: the whole text, shown from its start.
    void SetProgramText(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Opens the edit menu with its top-left corner at a point on the desktop.
    void OpenEditMenu(const QPoint& globalPosition);
    // Qt cuts a text to its maximum length, so the maximum follows a text
    // the program set past the limit until the user makes it shorter.
    void FollowText();
    // After the user's edit: takes out the half of a surrogate pair just
    // before the cursor that the limit cut from its other half.
    void DropCutHalf();

    double scale_;
    int limit_ = kDefaultLimit;
    QPointer<QMenu> menu_;
};

}  // namespace mirabo::platform

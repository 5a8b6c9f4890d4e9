// Message boxes (MessageBoxW): a modal window over the work area with a text
// and a row of buttons, owned by (and disabling) the window that asked for it.
#pragma once

#include <QString>

#include <utility>
#include <vector>

#include "platform/linux/screen.h"

class QAbstractButton;

namespace mirabo::platform {

class MessageBoxWindow : public TopLevelWindow {
public:
    // One button: the answer it gives and its label.
    using Button = std::pair<int, QString>;

    // `escapeAnswer`: what Esc and the desktop's close box answer; 0 where
    // they do nothing (a box without a Cancel or an OK button).
    MessageBoxWindow(const QString& text, const QString& caption, std::vector<Button> buttons,
                     int escapeAnswer, TopLevelWindow* owner);
    ~MessageBoxWindow() override;

    static MessageBoxWindow* FromHandle(HWND handle);

    // Runs the box until a button is pressed; returns its answer.
    int Run();
    void Answer(int answer) { EndModal(answer); }

    QString MessageText() const { return text_; }
    const std::vector<Button>& Buttons() const { return buttons_; }
    QAbstractButton* ButtonFor(int answer) const;

    bool HandleKey(QKeyEvent* event) override;
    void CloseFromShell() override {
        if (escapeAnswer_ != 0) Answer(escapeAnswer_);
    }
    // The program is ending: the last button's answer where Esc has none.
    void AbortModal() override { Answer(escapeAnswer_ != 0 ? escapeAnswer_ : buttons_.back().first); }

private:
    QString text_;
    std::vector<Button> buttons_;
    std::vector<QAbstractButton*> buttonWidgets_;
    int escapeAnswer_;
};

}  // namespace mirabo::platform

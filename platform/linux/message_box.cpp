#include "platform/linux/message_box.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

#include "platform/linux/accessibility.h"
#include "platform/linux/fonts.h"
#include "platform/linux/messages.h"
#include "platform/linux/screen.h"
#include "platform/linux/string_table.h"
#include "platform/linux/widgets.h"
#include "res/resource.h"

namespace mirabo::platform {

namespace {

// The box itself: white with a black frame.
class BoxWidget : public QWidget {
public:
    BoxWidget(QWidget* parent, double scale) : QWidget(parent), scale_(scale) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        int line = LineWidth(scale_);
        QPen pen(Qt::black, line);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect()).adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0));
    }

private:
    double scale_;
};

}  // namespace

MessageBoxWindow::MessageBoxWindow(const QString& text, const QString& caption, std::vector<Button> buttons,
                                   int escapeAnswer, TopLevelWindow* owner)
    : TopLevelWindow(WS_POPUP | WS_CAPTION, owner),
      text_(text),
      buttons_(std::move(buttons)),
      escapeAnswer_(escapeAnswer) {
    Screen* screen = Screen::Instance();
    double scale = screen->Scale();
    QFont font = ShellFont(scale);
    QFontMetrics metrics(font);

    auto* box = new BoxWidget(screen, scale);
    MarkAccessible(box, AccessibleKind::MessageBox);
    box->hide();
    box->setFont(font);
    box->setFocusPolicy(Qt::NoFocus);
    Attach(box);
    screen->AddWindow(this);
    SetText(caption);

    // Layout in device pixels times the scale: the text wrapped to fit the
    // work area, then the buttons side by side, centred below it.
    QRect work = screen->WorkArea();
    int margin = screen->Scaled(8);
    int gap = screen->Scaled(6);
    int maxTextWidth = work.width() - 2 * screen->Scaled(12) - 2 * margin;
    QRect textBounds = metrics.boundingRect(QRect(0, 0, maxTextWidth, work.height()),
                                            Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text_);
    int buttonHeight = metrics.height() + screen->Scaled(8);
    int buttonWidth = screen->Scaled(48);
    for (const Button& button : buttons_) {
        buttonWidth = std::max(buttonWidth, metrics.horizontalAdvance(button.second) + screen->Scaled(16));
    }
    int count = static_cast<int>(buttons_.size());
    int rowWidth = count * buttonWidth + std::max(0, count - 1) * gap;
    int width = std::min(work.width(), std::max(textBounds.width(), rowWidth) + 2 * margin);
    int textHeight = std::min(textBounds.height(), work.height() - buttonHeight - 3 * margin);
    int height = margin + textHeight + margin + buttonHeight + margin;
    QRect frame(0, 0, width, height);
    frame.moveCenter(work.center());
    box->setGeometry(frame);

    auto* label = new StaticWidget(box, SS_LEFT | SS_NOPREFIX, scale);
    label->setFont(font);
    label->SetText(text_);
    label->setGeometry(margin, margin, width - 2 * margin, textHeight);

    int x = (width - rowWidth) / 2;
    int y = margin + textHeight + margin;
    HWND self = Handle();
    for (int i = 0; i < count; ++i) {
        auto* button = new PushButtonWidget(box, scale);
        button->setFont(font);
        button->setText(buttons_[i].second);
        button->SetDefault(i == 0);
        button->setGeometry(x + i * (buttonWidth + gap), y, buttonWidth, buttonHeight);
        int answer = buttons_[i].first;
        QObject::connect(button, &QAbstractButton::clicked, button, [self, answer] {
            if (MessageBoxWindow* window = FromHandle(self)) window->Answer(answer);
        });
        buttonWidgets_.push_back(button);
    }
}

MessageBoxWindow::~MessageBoxWindow() { delete Widget(); }

MessageBoxWindow* MessageBoxWindow::FromHandle(HWND handle) {
    return dynamic_cast<MessageBoxWindow*>(Window::FromHandle(handle));
}

QAbstractButton* MessageBoxWindow::ButtonFor(int answer) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].first == answer) return buttonWidgets_[i];
    }
    return nullptr;
}

int MessageBoxWindow::Run() {
    DisableOwner();
    Screen::Instance()->BringToTop(this);
    NotifyAlert(Widget());
    if (!buttonWidgets_.empty()) buttonWidgets_.front()->setFocus(Qt::ActiveWindowFocusReason);
    return static_cast<int>(RunModalLoop(this));
}

bool MessageBoxWindow::HandleKey(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    int count = static_cast<int>(buttonWidgets_.size());
    int focused = -1;
    for (int i = 0; i < count; ++i) {
        if (buttonWidgets_[i]->window()->focusWidget() == buttonWidgets_[i]) focused = i;
    }
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (count == 0) return true;
        bool back = event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Left ||
                    (event->modifiers() & Qt::ShiftModifier);
        int next = focused < 0 ? 0 : ((focused + (back ? -1 : 1)) % count + count) % count;
        buttonWidgets_[next]->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (count > 0) Answer(buttons_[focused < 0 ? 0 : focused].first);
        return true;
    case Qt::Key_Escape:
        // A box without a Cancel or an OK button ignores Esc.
        if (escapeAnswer_ != 0) Answer(escapeAnswer_);
        return true;
    default:
        return false;
    }
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------

using mirabo::platform::MessageBoxWindow;
using mirabo::platform::Window;

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    if (!mirabo::platform::EnsureApplication()) return 0;
    std::vector<MessageBoxWindow::Button> buttons;
    int escapeAnswer = IDOK;
    switch (uType & MB_TYPEMASK) {
    case MB_OK:
        buttons = {{IDOK, mirabo::platform::ProgramString(IDS_BUTTON_OK)}};
        escapeAnswer = IDOK;
        break;
    case MB_YESNO:
        buttons = {{IDYES, mirabo::platform::ProgramString(IDS_BUTTON_YES)},
                   {IDNO, mirabo::platform::ProgramString(IDS_BUTTON_NO)}};
        escapeAnswer = 0;
        break;
    default:
        return 0;  // button sets the program does not use
    }
    Window* ownerWindow = Window::FromHandle(hWnd);
    mirabo::platform::TopLevelWindow* owner = ownerWindow ? ownerWindow->TopLevel() : nullptr;
    // Without a caption of its own the box has the default title, whatever
    // its owner.
    QString caption = lpCaption != nullptr ? mirabo::platform::FromWide(lpCaption)
                                           : mirabo::platform::ProgramString(IDS_DEFAULT_CAPTION);
    auto* box = new MessageBoxWindow(mirabo::platform::FromWide(lpText), caption, std::move(buttons),
                                     escapeAnswer, owner);
    int answer = box->Run();
    delete box;
    return answer;
}

#include "platform/linux/dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/linux/accessibility.h"
#include "platform/linux/dib.h"
#include "platform/linux/edit_widget.h"
#include "platform/linux/fonts.h"
#include "platform/linux/icons.h"
#include "platform/linux/messages.h"
#include "platform/linux/resource_directory.h"
#include "platform/linux/screen.h"
#include "platform/linux/widgets.h"

namespace mirabo::platform {

namespace {

// Upper bound on the size of a template that does not lie in the program's
// resources (one built in memory): the template itself says where it ends.
constexpr std::size_t kMaxTemplateBytes = 1 << 20;

bool IsVisibleAndEnabled(const Window* window, const QWidget* dialog) {
    return window->Widget()->isVisibleTo(dialog) && window->Widget()->isEnabled();
}

// Focus moved by the dialog manager (first focus, Tab): an edit control's
// whole text is selected, so that typing replaces it.
void GiveDialogFocus(Window* control, Qt::FocusReason reason) {
    if (auto* button = dynamic_cast<PushButtonWidget*>(control->Widget())) button->SetFocusedByProgram(false);
    control->Widget()->setFocus(reason);
    if (auto* edit = qobject_cast<QLineEdit*>(control->Widget())) edit->selectAll();
}

class EditControl : public ControlWindow {
public:
    EditControl(const DialogItemTemplate& item, TopLevelWindow* dialog, QWidget* parent, double scale)
        : ControlWindow(item, dialog) {
        edit_ = new EditWidget(parent, scale);
        edit_->setReadOnly(item.style & ES_READONLY);
        if (item.style & ES_PASSWORD) edit_->setEchoMode(QLineEdit::Password);
        switch (item.style & 3) {
        case ES_CENTER:
            edit_->setAlignment(Qt::AlignCenter);
            break;
        case ES_RIGHT:
            edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            break;
        default:
            edit_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        }
        edit_->setProperty("borderless", !(item.style & WS_BORDER));
        if (!item.title.isOrdinal) SetText(item.title.text);
        Attach(edit_);
    }

    QString Text() const override { return edit_->text(); }
    void SetText(const QString& text) override { edit_->SetProgramText(text); }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == EM_LIMITTEXT) {
            edit_->SetLimit(static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)));
            return 0;
        }
        return ControlWindow::Send(message, wParam, lParam);
    }

private:
    EditWidget* edit_;
};

class ButtonControl : public ControlWindow {
public:
    ButtonControl(const DialogItemTemplate& item, TopLevelWindow* dialog, QWidget* parent, double scale)
        : ControlWindow(item, dialog) {
        button_ = new PushButtonWidget(parent, scale);
        button_->SetDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        if (!item.title.isOrdinal) button_->setText(item.title.text);
        Attach(button_);
        HWND dialogHandle = dialog->Handle();
        HWND self = Handle();
        int id = Id();
        QObject::connect(button_, &QAbstractButton::clicked, button_, [dialogHandle, self, id] {
            if (DialogWindow* owner = DialogWindow::FromHandle(dialogHandle))
                owner->Command(id, BN_CLICKED, self);
        });
    }

    QString Text() const override { return button_->text(); }
    void SetText(const QString& text) override { button_->setText(text); }
    bool IsPushButton() const override { return true; }

private:
    PushButtonWidget* button_;
};

class StaticControl : public ControlWindow {
public:
    StaticControl(const DialogItemTemplate& item, TopLevelWindow* dialog, QWidget* parent, double scale)
        : ControlWindow(item, dialog) {
        static_ = new StaticWidget(parent, item.style, scale);
        DWORD type = item.style & SS_TYPEMASK;
        if (type == SS_BITMAP) {
            // The title names the bitmap resource, by number or by name.
            std::wstring name;
            LPCWSTR key = nullptr;
            if (item.title.isOrdinal) {
                key = MAKEINTRESOURCEW(item.title.ordinal);
            } else {
                name = item.title.text.toStdWString();
                key = name.c_str();
            }
            if (const ResourceEntry* entry = FindProgramResource(RT_BITMAP, key)) {
                image_ = DecodeDib(entry->data, entry->size);
            }
            static_->SetImage(image_);
            if (item.title.isOrdinal) static_->setAccessibleName(PictureDescription(item.title.ordinal));
        } else if (type == SS_ICON) {
            // The title names the icon group; the control shows its
            // standard-size (32 x 32) picture.
            if (item.title.isOrdinal) {
                image_ = IconImage(ProgramIcon(item.title.ordinal), 32);
                static_->setAccessibleName(PictureDescription(item.title.ordinal));
            }
            static_->SetImage(image_);
        } else if (!item.title.isOrdinal) {
            static_->SetText(item.title.text);
        }
        Attach(static_);
    }

    // Puts the control at its rectangle; a text that the stand-in font
    // draws past it is not cut.
    void Place(const QRect& rect) { static_->Place(rect); }

    // A picture grows the control to the picture's size, as on the platform.
    void FitToImage(double scale) {
        if (image_.isNull()) return;
        static_->resize(static_cast<int>(std::lround(image_.width() * scale)),
                        static_cast<int>(std::lround(image_.height() * scale)));
    }

    QString Text() const override { return static_->Text(); }
    void SetText(const QString& text) override { static_->SetText(text); }

private:
    StaticWidget* static_;
    QImage image_;
};

}  // namespace

ControlWindow::ControlWindow(const DialogItemTemplate& item, TopLevelWindow* dialog)
    : Window(item.style, item.id, dialog) {}

DialogWindow::DialogWindow(const DialogTemplate& dialogTemplate, DLGPROC procedure, TopLevelWindow* owner)
    : TopLevelWindow(dialogTemplate.style, owner), procedure_(procedure) {
    Screen* screen = Screen::Instance();
    double scale = screen->Scale();
    DialogFont dialogFont = dialogTemplate.hasFont
                                ? MakeDialogFont(dialogTemplate.faceName, dialogTemplate.pointSize, scale)
                                : MakeDialogFont(QStringLiteral("System"), 9, scale);
    font_ = dialogFont.font;
    baseUnits_ = dialogFont.baseUnits;

    auto* widget = new QWidget(screen);
    MarkAccessible(widget, AccessibleKind::Dialog);
    widget->hide();
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setFont(font_);
    widget->setStyleSheet(StyleSheet(scale) +
                          QStringLiteral("QLineEdit[borderless=\"true\"] { border: none; }"));
    widget->setFocusPolicy(Qt::NoFocus);
    Attach(widget);
    screen->AddWindow(this);
    SetText(dialogTemplate.title);
    // WS_EX_CAPTIONOKBTN: an OK button in the title strip, sending IDOK.
    if (dialogTemplate.exStyle & WS_EX_CAPTIONOKBTN) SetDoneButton(true);

    QRect work = screen->WorkArea();
    QRect rect = MapDialogRect(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
    if (dialogTemplate.style & DS_CENTER) {
        rect.moveCenter(work.center());
    } else {
        rect.translate(work.topLeft());
    }
    widget->setGeometry(rect);

    for (const DialogItemTemplate& item : dialogTemplate.items) {
        std::unique_ptr<ControlWindow> control;
        switch (item.Class()) {
        case ControlClass::Edit:
            control = std::make_unique<EditControl>(item, this, widget, scale);
            break;
        case ControlClass::Button:
            control = std::make_unique<ButtonControl>(item, this, widget, scale);
            break;
        default:
            control = std::make_unique<StaticControl>(item, this, widget, scale);
            break;
        }
        QWidget* child = control->Widget();
        child->setFont(font_);
        QRect rect = MapDialogRect(item.x, item.y, item.cx, item.cy);
        DWORD staticType = item.style & SS_TYPEMASK;
        if (auto* label = dynamic_cast<StaticControl*>(control.get())) {
            label->Place(rect);
            if (staticType == SS_BITMAP || staticType == SS_ICON) label->FitToImage(scale);
        } else {
            child->setGeometry(rect);
        }
        if (child->focusPolicy() != Qt::NoFocus) {
            child->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        }
        child->setEnabled(!(item.style & WS_DISABLED));
        child->setVisible(item.style & WS_VISIBLE);
        controls_.push_back(std::move(control));
    }
    std::vector<QWidget*> widgets;
    for (const auto& control : controls_) widgets.push_back(control->Widget());
    NameFieldsAfterLabels(dialogTemplate.items, widgets);
    HWND self = Handle();
    QObject::connect(qApp, &QApplication::focusChanged, widget, [self](QWidget*, QWidget* now) {
        if (DialogWindow* dialog = FromHandle(self)) dialog->FollowFocus(now);
    });
}

void DialogWindow::FollowFocus(QWidget* focus) {
    ControlWindow* focused = nullptr;
    for (const auto& control : controls_) {
        if (control->Widget() == focus) focused = control.get();
    }
    if (focused == nullptr) return;
    Window* shown = nullptr;
    if (!focused->IsPushButton()) {
        shown = DefaultButton();
    } else if (!static_cast<PushButtonWidget*>(focused->Widget())->FocusedByProgram()) {
        shown = focused;
    } else {
        return;
    }
    for (const auto& control : controls_) {
        if (control->IsPushButton())
            static_cast<PushButtonWidget*>(control->Widget())->SetDefault(control.get() == shown);
    }
}

DialogWindow::~DialogWindow() {
    controls_.clear();
    delete Widget();
}

DialogWindow* DialogWindow::FromHandle(HWND handle) {
    return dynamic_cast<DialogWindow*>(Window::FromHandle(handle));
}

QRect DialogWindow::MapDialogRect(int x, int y, int cx, int cy) const {
    // Each value on its own, rounded half away from zero, as the platform's
    // MulDiv does.
    auto across = [this](int v) { return static_cast<int>(std::lround(v * baseUnits_.width() / 4)); };
    auto down = [this](int v) { return static_cast<int>(std::lround(v * baseUnits_.height() / 8)); };
    return QRect(across(x), down(y), across(cx), down(cy));
}

Window* DialogWindow::Item(int id) const {
    for (const auto& control : controls_) {
        if (control->Id() == id) return control.get();
    }
    return nullptr;
}

HWND DialogWindow::ItemHandle(int id) const {
    Window* item = Item(id);
    return item ? item->Handle() : nullptr;
}

Window* DialogWindow::FirstTabStop() const {
    for (const auto& control : controls_) {
        if ((control->Style() & WS_TABSTOP) && control->Widget()->focusPolicy() != Qt::NoFocus &&
            IsVisibleAndEnabled(control.get(), Widget())) {
            return control.get();
        }
    }
    return nullptr;
}

Window* DialogWindow::DefaultButton() const {
    for (const auto& control : controls_) {
        if (control->IsPushButton() && (control->Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return control.get();
        }
    }
    return nullptr;
}

LRESULT DialogWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = Handle();
    INT_PTR handled = procedure_ ? procedure_(self, message, wParam, lParam) : 0;
    if (message == WM_INITDIALOG) return handled;
    if (handled) return 0;
    if (message == WM_CLOSE) {
        // Closing a dialog is its cancel command, posted as the dialog
        // manager does, unless a disabled cancel button says otherwise.
        DialogWindow* dialog = FromHandle(self);
        if (dialog == nullptr) return 0;
        Window* cancel = dialog->Item(IDCANCEL);
        if (cancel != nullptr && !cancel->Widget()->isEnabled()) return 0;
        HWND cancelHandle = cancel ? cancel->Handle() : nullptr;
        const int id = dialog->CancelId();
        QMetaObject::invokeMethod(
            qApp,
            [self, id, cancelHandle] {
                if (DialogWindow* target = FromHandle(self)) target->Command(id, BN_CLICKED, cancelHandle);
            },
            Qt::QueuedConnection);
    }
    return 0;
}

void DialogWindow::Command(int id, int code, HWND control) {
    Send(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

INT_PTR DialogWindow::Run(LPARAM initParam) {
    DisableOwner();
    Screen::Instance()->BringToTop(this);
    Window* first = FirstTabStop();
    HWND self = Handle();
    LRESULT wantsFocus =
        Send(WM_INITDIALOG, reinterpret_cast<WPARAM>(first ? first->Handle() : nullptr), initParam);
    if (FromHandle(self) == nullptr) return -1;
    if (wantsFocus && !Ended()) {
        // The platform gives the focus to the first tab stop, selecting an
        // edit control's text as when tabbing into it.
        if (Window* focus = FirstTabStop()) GiveDialogFocus(focus, Qt::TabFocusReason);
    }
    return RunModalLoop(this);
}

void DialogWindow::MoveFocus(Window* from, bool backwards) {
    int count = static_cast<int>(controls_.size());
    if (count == 0) return;
    int start = -1;
    for (int i = 0; i < count; ++i) {
        if (controls_[i].get() == from) start = i;
    }
    if (start < 0) start = backwards ? 0 : count - 1;
    for (int step = 1; step <= count; ++step) {
        int index = ((start + (backwards ? -step : step)) % count + count) % count;
        Window* candidate = controls_[index].get();
        if ((candidate->Style() & WS_TABSTOP) && candidate->Widget()->focusPolicy() != Qt::NoFocus &&
            IsVisibleAndEnabled(candidate, Widget())) {
            GiveDialogFocus(candidate, backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

ControlWindow* DialogWindow::FocusedControl() const {
    QWidget* focus = Widget()->window()->focusWidget();
    Window* focused = focus ? Window::FromWidget(focus) : nullptr;
    for (const auto& control : controls_) {
        if (control.get() == focused) return control.get();
    }
    return nullptr;
}

bool DialogWindow::HandleKey(QKeyEvent* event) {
    ControlWindow* focused = FocusedControl();
    Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (modifiers) return false;
        MoveFocus(focused, event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers) return false;
        // A push button the focus reached by Tab or by the user takes Enter;
        // SetFocus alone does not make a button the default one.
        if (focused != nullptr && focused->IsPushButton() &&
            !static_cast<PushButtonWidget*>(focused->Widget())->FocusedByProgram()) {
            Command(focused->Id(), BN_CLICKED, focused->Handle());
        } else if (Window* button = DefaultButton()) {
            if (button->Widget()->isEnabled()) Command(button->Id(), BN_CLICKED, button->Handle());
        } else {
            Command(IDOK, BN_CLICKED, ItemHandle(IDOK));
        }
        return true;
    case Qt::Key_Escape:
        if (modifiers) return false;
        Command(CancelId(), BN_CLICKED, ItemHandle(IDCANCEL));
        return true;
    default:
        return false;
    }
}

int DialogWindow::CancelId() const {
    // A dialog whose only way out is the Done button (the About box) takes
    // Esc and the close box as that button: IDOK, as the Windows build does.
    return HasDoneButton() && Item(IDCANCEL) == nullptr ? IDOK : IDCANCEL;
}

void DialogWindow::CloseFromShell() { Send(WM_CLOSE, 0, 0); }

void DialogWindow::DonePressed() {
    // The click sends IDOK like Enter without a default button; a dialog
    // whose procedure leaves it unanswered is closed as its close box
    // closes it (the cancel command, 戻る in a calculator). Enter never
    // comes here, so it never closes a dialog with what was typed.
    HWND self = Handle();
    INT_PTR answered = procedure_ ? procedure_(self, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) : 0;
    DialogWindow* dialog = FromHandle(self);
    if (answered || dialog == nullptr || dialog->Ended()) return;
    dialog->CloseFromShell();
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's dialog functions.

using mirabo::platform::DialogWindow;
using mirabo::platform::Window;

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (hDialogTemplate == nullptr || !mirabo::platform::EnsureApplication()) return -1;
    std::size_t bound = mirabo::platform::ResourceBytesFrom(hDialogTemplate);
    if (bound == 0) bound = mirabo::platform::kMaxTemplateBytes;
    mirabo::platform::DialogTemplate parsed;
    if (!mirabo::platform::ParseDialogTemplate(hDialogTemplate, bound, &parsed)) return -1;
    Window* ownerWindow = Window::FromHandle(hWndParent);
    auto* dialog = new DialogWindow(parsed, lpDialogFunc, ownerWindow ? ownerWindow->TopLevel() : nullptr);
    HWND handle = dialog->Handle();
    INT_PTR result = dialog->Run(dwInitParam);
    // The dialog is destroyed once its loop is over; its procedure hears of
    // it while the controls are still there.
    if (DialogWindow::FromHandle(handle) == dialog) dialog->Send(WM_DESTROY, 0, 0);
    if (DialogWindow::FromHandle(handle) == dialog) delete dialog;
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    DialogWindow* dialog = DialogWindow::FromHandle(hDlg);
    if (dialog == nullptr) return FALSE;
    dialog->End(nResult);
    return TRUE;
}

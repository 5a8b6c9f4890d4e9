#include "platform/linux/screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/accessibility.h"
#include "platform/linux/fonts.h"
#include "platform/linux/screen_scale.h"
#include "platform/linux/string_table.h"
#include "platform/linux/widgets.h"
#include "res/resource.h"

namespace mirabo::platform {

namespace {

QPointer<Screen> g_screen;

// The scale for the desktop's primary screen, as MIRABO_SCALE asks; a scale
// that cannot be used is told on stderr in one line.
double ScaleForDesktop() {
    const char* asked = std::getenv("MIRABO_SCALE");
    QScreen* desktop = QGuiApplication::primaryScreen();
    QSize content(Screen::kDeviceWidth, Screen::kDeviceHeight);
    ScaleChoice choice = desktop != nullptr ? ChooseScale(desktop->availableGeometry().size(),
                                                          desktop->devicePixelRatio(), content, asked)
                                            : ChooseScale(QSize(INT_MAX, INT_MAX), 1.0, content, asked);
    if (!choice.notice.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(choice.notice));
    return choice.scale;
}

const QColor kBarGrey(0xd6, 0xd3, 0xce);

// The title strip: the active window's caption in white on blue.
class TitleStrip : public QWidget {
public:
    TitleStrip(QWidget* parent, Screen* screen) : QWidget(parent), screen_(screen) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), kTitleBlue);
        QFont font = ShellFont(screen_->Scale());
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        int margin = screen_->Scaled(6);
        QRect text = rect().adjusted(margin, 0, -margin, 0);
        if (QAbstractButton* done = screen_->DoneButton()) text.setRight(done->x() - margin);
        QString caption =
            QFontMetrics(font).elidedText(screen_->StripCaption(), Qt::ElideRight, text.width());
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, caption);
    }

private:
    Screen* screen_;
};

// The menu-bar strip: empty while no window has a menu bar.
class MenuStrip : public QWidget {
public:
    MenuStrip(QWidget* parent, double scale) : QWidget(parent), scale_(scale) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), kBarGrey);
        painter.fillRect(QRect(0, 0, width(), LineWidth(scale_)), Qt::gray);
    }

private:
    double scale_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Top-level windows

TopLevelWindow::TopLevelWindow(DWORD style, TopLevelWindow* owner)
    : Window(style, 0, nullptr), ownerHandle_(owner ? owner->Handle() : nullptr) {}

TopLevelWindow::~TopLevelWindow() {
    ReleaseOwner();
    if (Screen* screen = Screen::Existing()) screen->RemoveWindow(this);
}

TopLevelWindow* TopLevelWindow::Owner() const {
    Window* window = FromHandle(ownerHandle_);
    return window ? window->TopLevel() : nullptr;
}

void TopLevelWindow::SetText(const QString& text) {
    bool changed = text != caption_;
    caption_ = text;
    if (changed && Widget() != nullptr) NotifyNameChanged(Widget());
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::SetDoneButton(bool shown) {
    doneButton_ = shown;
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::SetGeometry(const QRect& rect) { Widget()->setGeometry(rect); }

void TopLevelWindow::SetMenuBarWidget(QWidget* bar) {
    menuBar_ = bar;
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

bool TopLevelWindow::IsEnabled() const { return Widget()->isEnabled(); }

void TopLevelWindow::SetEnabled(bool enabled) {
    QWidget* widget = Widget();
    if (enabled == widget->isEnabled()) return;
    if (!enabled) {
        QWidget* focus = widget->window()->focusWidget();
        Window* focused = (focus && widget->isAncestorOf(focus)) ? FromWidget(focus) : nullptr;
        savedFocus_ = focused ? focused->Handle() : nullptr;
        widget->setEnabled(false);
    } else {
        widget->setEnabled(true);
        if (Window* focused = FromHandle(savedFocus_)) {
            if (focused->TopLevel() == this) focused->Widget()->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

void TopLevelWindow::DisableOwner() {
    if (ownerDisabled_) return;
    TopLevelWindow* owner = Owner();
    if (owner != nullptr && owner->IsEnabled()) {
        owner->SetEnabled(false);
        ownerDisabled_ = true;
    }
}

void TopLevelWindow::ReleaseOwner() {
    if (!ownerDisabled_) return;
    ownerDisabled_ = false;
    if (TopLevelWindow* owner = Owner()) owner->SetEnabled(true);
}

void TopLevelWindow::EndModal(INT_PTR result) {
    result_ = result;
    ended_ = true;
    Widget()->hide();
    ReleaseOwner();
    if (loop_ != nullptr) loop_->quit();
    if (Screen* screen = Screen::Existing()) screen->Refresh();
}

// ---------------------------------------------------------------------------
// The screen

Screen* Screen::Existing() { return g_screen.data(); }

Screen* Screen::Instance() {
    if (!g_screen) g_screen = new Screen(ScaleForDesktop());
    return g_screen.data();
}

Screen* Screen::Replace(double scale) {
    if (g_screen) {
        if (!g_screen->windows_.empty()) return nullptr;
        delete g_screen.data();
    }
    g_screen = new Screen(scale);
    return g_screen.data();
}

Screen::Screen(double scale) : QWidget(nullptr), scale_(scale) {
    InstallAccessibility();
    MarkAccessible(this, AccessibleKind::Desktop);
    // The handheld's screen has one size: the window manager is asked to
    // offer neither maximising nor full screen (no such button, and the
    // smallest and largest sizes the same), and a window manager that
    // makes it either all the same is undone (changeEvent).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(Scaled(kDeviceWidth), Scaled(kDeviceHeight));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_QuitOnClose, false);

    titleStrip_ = new TitleStrip(this, this);
    titleStrip_->setGeometry(TitleStripRect());
    doneButton_ = new PushButtonWidget(titleStrip_, scale_, PushButtonWidget::Look::TitleStrip);
    doneButton_->setText(ProgramString(IDS_BUTTON_DONE));
    QFont font = ShellFont(scale_);
    font.setBold(true);
    doneButton_->setFont(font);
    int buttonHeight = Scaled(18);
    int buttonWidth = Scaled(30);
    doneButton_->setGeometry(titleStrip_->width() - buttonWidth - Scaled(4),
                             (titleStrip_->height() - buttonHeight) / 2, buttonWidth, buttonHeight);
    doneButton_->hide();
    // The button's own context: screen readers are told it controls the
    // active window (accessibility.cpp), not the desktop window.
    QObject::connect(doneButton_, &QAbstractButton::clicked, doneButton_, [this] {
        if (TopLevelWindow* active = ActiveWindow()) active->DonePressed();
    });

    menuStrip_ = new MenuStrip(this, scale_);
    menuStrip_->setGeometry(MenuStripRect());

    PlaceOnDesktop();
    qApp->installEventFilter(this);
}

void Screen::PlaceOnDesktop() {
    QScreen* desktop = QGuiApplication::primaryScreen();
    if (desktop == nullptr) return;
    QRect available = desktop->availableGeometry();
    QSize frame = FrameRoom(desktop->devicePixelRatio());
    // Centred in the available area with the frame's room, its frame's
    // top-left corner never above or left of it.
    int x = available.x() + std::max(0, (available.width() - width() - frame.width()) / 2);
    int y = available.y() + std::max(0, (available.height() - height() - frame.height()) / 2);
    move(x, y);
}

int Screen::Scaled(int devicePixels) const { return static_cast<int>(std::lround(devicePixels * scale_)); }

QRect Screen::TitleStripRect() const { return QRect(0, 0, Scaled(kDeviceWidth), Scaled(kStripHeight)); }

QRect Screen::MenuStripRect() const {
    int height = Scaled(kStripHeight);
    return QRect(0, Scaled(kDeviceHeight) - height, Scaled(kDeviceWidth), height);
}

QRect Screen::ToDevice(const QRect& r) const {
    auto down = [this](int v) { return static_cast<int>(std::lround(v / scale_)); };
    return QRect(QPoint(down(r.left()), down(r.top())), QSize(down(r.width()), down(r.height())));
}

QRect Screen::FromDevice(const QRect& r) const {
    return QRect(QPoint(Scaled(r.left()), Scaled(r.top())), QSize(Scaled(r.width()), Scaled(r.height())));
}

QRect Screen::WorkArea() const {
    QRect title = TitleStripRect();
    QRect menu = MenuStripRect();
    return QRect(0, title.bottom() + 1, Scaled(kDeviceWidth), menu.top() - title.bottom() - 1);
}

void Screen::AddWindow(TopLevelWindow* window) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) windows_.push_back(window);
}

void Screen::RemoveWindow(TopLevelWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    Refresh();
}

void Screen::BringToTop(TopLevelWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    windows_.push_back(window);
    window->Widget()->show();
    window->Widget()->raise();
    titleStrip_->raise();
    menuStrip_->raise();
    Refresh();
    if (!ProgramEnding()) activateWindow();
}

TopLevelWindow* Screen::MainWindow() const {
    for (TopLevelWindow* window : windows_) {
        if (window->IsProgramWindow()) return window;
    }
    return nullptr;
}

void Screen::RaiseDesktopWindow() {
    if (ProgramEnding()) return;
    if (isMinimized() || !isVisible()) showNormal();
    raise();
    activateWindow();
}

TopLevelWindow* Screen::ActiveWindow() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if ((*it)->Widget()->isVisibleTo(const_cast<Screen*>(this))) return *it;
    }
    return nullptr;
}

QAbstractButton* Screen::DoneButton() const {
    return doneButton_->isVisibleTo(const_cast<Screen*>(this)) ? doneButton_ : nullptr;
}

void Screen::Refresh() {
    TopLevelWindow* active = ActiveWindow();
    stripCaption_ = active ? active->Text() : QString();
    doneButton_->setVisible(active != nullptr && active->HasDoneButton() && active->IsEnabled());
    for (TopLevelWindow* window : windows_) {
        QWidget* bar = window->MenuBarWidget();
        if (bar == nullptr) continue;
        bar->setVisible(window == active && active->IsEnabled());
        // A menu bar is read with the name of the window it belongs to.
        if (bar->accessibleName() != window->Text()) bar->setAccessibleName(window->Text());
    }
    titleStrip_->update();
    // Both strips are read with the active window's caption.
    if (titleStrip_->accessibleName() != stripCaption_) titleStrip_->setAccessibleName(stripCaption_);
    if (menuStrip_->accessibleName() != stripCaption_) menuStrip_->setAccessibleName(stripCaption_);
    TopLevelWindow* main = MainWindow();
    QString title = main != nullptr ? main->Text() : stripCaption_;
    setWindowTitle(title.isEmpty() ? QStringLiteral("Mirabo") : title);
    if (ProgramEnding()) return;
    if (active != nullptr && !isVisible()) {
        show();
        activateWindow();
    } else if (active == nullptr && isVisible()) {
        hide();
    }
}

bool Screen::eventFilter(QObject* watched, QEvent* event) {
    bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != this && !isAncestorOf(widget)) return false;
    TopLevelWindow* target = nullptr;
    if (Window* window = Window::FromWidget(widget)) target = window->TopLevel();
    if (target == nullptr) target = ActiveWindow();
    if (target == nullptr || !target->IsEnabled()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    return press ? target->HandleKey(key) : target->HandleKeyRelease(key);
}

void Screen::closeEvent(QCloseEvent* event) {
    // With a main window, closing the desktop window ends the program, with
    // whatever dialogs and message boxes are open.
    if (TopLevelWindow* main = MainWindow()) {
        event->accept();
        main->CloseFromShell();
        return;
    }
    // Without one, it closes the active window the way the user would close
    // it on the handheld; the screen itself stays while windows are open.
    TopLevelWindow* active = ActiveWindow();
    if (active == nullptr) {
        event->accept();
        return;
    }
    event->ignore();
    active->CloseFromShell();
}

void Screen::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    constexpr Qt::WindowStates kOtherSizes = Qt::WindowFullScreen | Qt::WindowMaximized;
    if (event->type() != QEvent::WindowStateChange || !(windowState() & kOtherSizes)) return;
    QPointer<Screen> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, kOtherSizes] {
            if (self && (self->windowState() & kOtherSizes))
                self->setWindowState(self->windowState() & ~kOtherSizes);
        },
        Qt::QueuedConnection);
}

void Screen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // The first paint the desktop shows: what waits for it runs once this
    // frame is on its way.
    if (!firstFrameShown_ && windowHandle() != nullptr && windowHandle()->isExposed()) {
        firstFrameShown_ = true;
        QTimer::singleShot(0, this, [this] { RunAfterFirstFrame(); });
    }
}

void Screen::AfterFirstFrame(std::function<void()> work) {
    // Shown already with nothing waiting, or not shown at all: nothing to wait for.
    if ((firstFrameShown_ && afterFirstFrame_.empty()) || !isVisible()) {
        work();
        return;
    }
    afterFirstFrame_.push_back(std::move(work));
    QTimer::singleShot(kFirstFrameWaitMs, this, [this] { RunAfterFirstFrame(); });
}

void Screen::RunAfterFirstFrame() {
    firstFrameShown_ = true;
    std::vector<std::function<void()>> work;
    work.swap(afterFirstFrame_);
    for (const auto& step : work) step();
}

}  // namespace mirabo::platform

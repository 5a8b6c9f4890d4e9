#include "platform/linux/input_context.h"

#include <QApplication>
#include <QVariant>

#include <memory>
#include <vector>

#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

struct InputContext {
    // Whether anyone said if the input method is open in this context; the
    // default context leaves it to the desktop until then.
    bool statusSet = false;
    bool open = false;
};

// Where a window's widget keeps the handle of its context: absent for the
// default context, 0 for none.
const char kContextProperty[] = "mirabo.inputContext";
// The widget's own choice of whether it takes input-method text, kept while
// no context is associated with it.
const char kOwnEnabledProperty[] = "mirabo.inputMethodEnabled";

InputContext g_defaultContext;

std::vector<std::unique_ptr<InputContext>>& Contexts() {
    static std::vector<std::unique_ptr<InputContext>> contexts;
    return contexts;
}

HIMC HandleOf(InputContext* context) { return reinterpret_cast<HIMC>(context); }

InputContext* ContextOf(HIMC handle) {
    if (handle == HandleOf(&g_defaultContext)) return &g_defaultContext;
    for (const auto& context : Contexts()) {
        if (HandleOf(context.get()) == handle) return context.get();
    }
    return nullptr;
}

// The context associated with the window of this widget.
HIMC AssociatedContext(const QWidget* widget) {
    QVariant value = widget->property(kContextProperty);
    if (!value.isValid()) return HandleOf(&g_defaultContext);
    return reinterpret_cast<HIMC>(value.value<quintptr>());
}

// Tells Qt's input method what the widget's context says.
void Apply(QWidget* widget) {
    if (!widget->property(kOwnEnabledProperty).isValid()) {
        widget->setProperty(kOwnEnabledProperty, widget->testAttribute(Qt::WA_InputMethodEnabled));
    }
    InputContext* context = ContextOf(AssociatedContext(widget));
    bool ownEnabled = widget->property(kOwnEnabledProperty).toBool();
    widget->setAttribute(Qt::WA_InputMethodEnabled, context != nullptr && ownEnabled);
    Qt::InputMethodHints hints = widget->inputMethodHints() & ~kDirectInputHints;
    if (context != nullptr && context->statusSet && !context->open) hints |= kDirectInputHints;
    widget->setInputMethodHints(hints);
}

// The widgets of the windows that use the context.
std::vector<QWidget*> WidgetsUsing(HIMC handle) {
    std::vector<QWidget*> widgets;
    for (QWidget* widget : QApplication::allWidgets()) {
        Window* window = Window::FromWidget(widget);
        if (window != nullptr && window->Widget() == widget && AssociatedContext(widget) == handle) {
            widgets.push_back(widget);
        }
    }
    return widgets;
}

}  // namespace

int LiveInputContexts() { return static_cast<int>(Contexts().size()); }

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's input-context functions.

using namespace mirabo::platform;

HIMC WINAPI ImmCreateContext(void) {
    Contexts().push_back(std::make_unique<InputContext>());
    return HandleOf(Contexts().back().get());
}

BOOL WINAPI ImmDestroyContext(HIMC hIMC) {
    InputContext* context = ContextOf(hIMC);
    // The default context lives as long as the thread.
    if (context == nullptr || context == &g_defaultContext) return FALSE;
    // Windows still associated with it go back to the default context.
    for (QWidget* widget : WidgetsUsing(hIMC)) {
        widget->setProperty(kContextProperty, QVariant());
        Apply(widget);
    }
    auto& contexts = Contexts();
    for (auto it = contexts.begin(); it != contexts.end(); ++it) {
        if (it->get() == context) {
            contexts.erase(it);
            break;
        }
    }
    return TRUE;
}

HIMC WINAPI ImmAssociateContext(HWND hWnd, HIMC hIMC) {
    Window* window = Window::FromHandle(hWnd);
    if (window == nullptr || (hIMC != nullptr && ContextOf(hIMC) == nullptr)) return nullptr;
    QWidget* widget = window->Widget();
    HIMC previous = AssociatedContext(widget);
    if (hIMC == HandleOf(&g_defaultContext)) {
        widget->setProperty(kContextProperty, QVariant());
    } else {
        widget->setProperty(kContextProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hIMC)));
    }
    Apply(widget);
    return previous;
}

BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen) {
    InputContext* context = ContextOf(hIMC);
    if (context == nullptr) return FALSE;
    context->statusSet = true;
    context->open = fOpen != FALSE;
    for (QWidget* widget : WidgetsUsing(hIMC)) Apply(widget);
    return TRUE;
}

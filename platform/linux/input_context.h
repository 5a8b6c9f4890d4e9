// Input contexts of the input method (ImmCreateContext, ImmDestroyContext,
// ImmAssociateContext, ImmSetOpenStatus), told to Qt's input method through
// the widgets of the windows they are associated with.
//
// Every window starts with the thread's default context, which leaves its
// widget as Qt made it. A window associated with no context has the input
// method switched off. A window whose context is closed asks for direct input:
// its widget hints Latin input without prediction, and the user can still
// switch the input method on; a context that is open takes those hints away.
#pragma once

#include <QWidget>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// The hints a widget carries while its window's input context is closed.
constexpr Qt::InputMethodHints kDirectInputHints = Qt::ImhPreferLatin | Qt::ImhNoPredictiveText;

// How many contexts made with ImmCreateContext are alive.
int LiveInputContexts();

}  // namespace mirabo::platform

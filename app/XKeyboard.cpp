#include "app/XKeyboard.h"
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

bool requestDetectableAutoRepeat() {
    ::Display* const display = glXGetCurrentDisplay();
    if (display == nullptr)
        return false;
    Bool supported = False;
    const Bool on = XkbSetDetectableAutoRepeat(display, True, &supported);
    return on && supported;
}

KeyboardLayout readKeyboardLayout() {
    KeyboardLayout layout;
    ::Display* const display = glXGetCurrentDisplay();
    if (display == nullptr)
        return layout;
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    if (last < first)
        return layout;
    int perKey = 0;
    KeySym* const table =
        XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKey);
    if (table == nullptr)
        return layout;
    layout.firstKeyCode = first;
    for (int key = 0; key <= last - first; ++key) {
        std::vector<std::uint32_t>& levels = layout.symbols.emplace_back();
        for (int level = 0; level < perKey; ++level)
            levels.push_back(static_cast<std::uint32_t>(table[key * perKey + level]));
    }
    XFree(table);
    return layout;
}

bool windowHasInputFocus() {
    ::Display* const display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == None)
        return false;
    ::Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    return focus == drawable;
}

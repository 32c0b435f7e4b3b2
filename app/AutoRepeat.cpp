#include "app/AutoRepeat.h"
#include <GL/glx.h>
#include <X11/XKBlib.h>

bool requestDetectableAutoRepeat() {
    ::Display* const display = glXGetCurrentDisplay();
    if (display == nullptr)
        return false;
    Bool supported = False;
    const Bool on = XkbSetDetectableAutoRepeat(display, True, &supported);
    return on && supported;
}

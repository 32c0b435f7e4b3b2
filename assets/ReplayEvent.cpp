#include "assets/ReplayEvent.h"

ReplayEvent ReplayEvent::update(float seconds) {
    ReplayEvent e;
    e.kind = Kind::update;
    e.seconds = seconds;
    return e;
}

ReplayEvent ReplayEvent::keyboard(unsigned char key, bool down, int modifiers) {
    ReplayEvent e;
    e.kind = Kind::key;
    e.key = key;
    e.down = down;
    e.modifiers = modifiers & 0xFF;
    return e;
}

ReplayEvent ReplayEvent::mouse(bool buttonDown, float x, float y, float dx, float dy) {
    ReplayEvent e;
    e.kind = Kind::mouse;
    e.down = buttonDown;
    e.x = x, e.y = y, e.dx = dx, e.dy = dy;
    return e;
}

ReplayEvent ReplayEvent::reshape(int width, int height) {
    ReplayEvent e;
    e.kind = Kind::reshape;
    e.width = width;
    e.height = height;
    return e;
}

ReplayEvent ReplayEvent::gameStart() {
    ReplayEvent e;
    e.kind = Kind::gameStart;
    return e;
}

ReplayEvent ReplayEvent::network(std::string bytes) {
    ReplayEvent e;
    e.kind = Kind::network;
    e.bytes = std::move(bytes);
    return e;
}

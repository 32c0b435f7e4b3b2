#include "app/HeldKeys.h"
#include <algorithm>

namespace {

// Keys from the layout are numbered past every character code, so they never
// meet the codes that stand for a key of their own.
constexpr int layoutKeyBase = 256;

// The character GLUT reports for an X key symbol, as the X library turns one into
// text; -1 for a symbol that types none.
int characterOf(std::uint32_t symbol) {
    if (symbol >= 0x20 && symbol <= 0xff)
        return static_cast<int>(symbol); // Latin-1 symbols are their characters
    switch (symbol) {
    case 0xff08: // BackSpace
    case 0xff09: // Tab
    case 0xff0d: // Return
    case 0xff1b: // Escape
        return static_cast<int>(symbol & 0xff);
    case 0xffff: // Delete
        return 127;
    case 0xff80: // the keypad's Space, Tab and Enter
        return ' ';
    case 0xff89:
        return 9;
    case 0xff8d:
        return 13;
    default:
        break;
    }
    if (symbol >= 0xffaa && symbol <= 0xffb9) // the keypad's * + , - . / and digits
        return static_cast<int>(symbol - 0xff80);
    if (symbol == 0xffbd) // the keypad's =
        return '=';
    return -1;
}

// The character a key typing `c` types with Ctrl held, by the X library's rule.
int withControl(int c) {
    if ((c >= '@' && c < 127) || c == ' ')
        return c & 0x1f;
    if (c == '2')
        return 0;
    if (c >= '3' && c <= '7')
        return c - ('3' - 27);
    if (c == '8')
        return 127;
    if (c == '/')
        return '_' & 0x1f;
    return -1;
}

} // namespace

void HeldKeys::learnLayout(const KeyboardLayout& layout) {
    const auto add = [](std::vector<int>& keys, int key) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    };
    for (std::size_t c = 0; c < typing.size(); ++c) {
        typing[c].clear();
        control[c].clear();
    }
    for (std::size_t n = 0; n < layout.symbols.size(); ++n) {
        const int key = layoutKeyBase + layout.firstKeyCode + static_cast<int>(n);
        for (const std::uint32_t symbol : layout.symbols[n]) {
            const int c = characterOf(symbol);
            if (c < 0)
                continue;
            add(typing[static_cast<std::size_t>(c)], key);
            const int controlled = withControl(c);
            if (controlled >= 0)
                add(control[static_cast<std::size_t>(controlled)], key);
        }
    }
}

std::vector<int> HeldKeys::keysOf(int code, bool pressing) const {
    if (code >= 0 && code < 256) {
        const std::vector<int>& typed = typing[static_cast<std::size_t>(code)];
        const std::vector<int>& controlled = control[static_cast<std::size_t>(code)];
        if (pressing && !typed.empty())
            return typed;
        std::vector<int> keys = typed;
        keys.insert(keys.end(), controlled.begin(), controlled.end());
        if (!keys.empty())
            return keys;
    }
    // Without a layout: a letter in either case, or with Ctrl (the codes of the
    // keys that type a control character of their own excepted).
    if (code >= 'A' && code <= 'Z')
        return {code - 'A' + 'a'};
    if (code >= 1 && code <= 26 && code != 8 && code != 9 && code != 10 && code != 13)
        return {code - 1 + 'a'};
    return {code};
}

bool HeldKeys::press(int code) {
    const std::vector<int> keys = keysOf(code, true);
    for (const int key : keys)
        if (down.count(key) != 0)
            return false;
    down[keys.front()] = code;
    return true;
}

std::vector<int> HeldKeys::releaseAll() {
    std::vector<int> codes;
    for (const auto& [key, pressedAs] : down)
        codes.push_back(pressedAs);
    down.clear();
    return codes;
}

int HeldKeys::release(int code) {
    for (const int key : keysOf(code, false)) {
        const auto held = down.find(key);
        if (held == down.end())
            continue;
        const int pressedAs = held->second;
        down.erase(held);
        return pressedAs;
    }
    return code;
}

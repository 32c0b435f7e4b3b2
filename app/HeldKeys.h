#pragma once
#include "app/XKeyboard.h"
#include <array>
#include <map>
#include <vector>

// Which keys of the keyboard are down, and as what character each went down.
// GLUT reports characters, and the character of a key changes with Shift, Ctrl
// and Caps Lock while it is held: '1' goes down and, Shift pressed meanwhile,
// comes up as '!'. Both are one key, so the release lets go of what the press
// took hold of, and a repeat of a held key in another case is still a repeat.
// The keys a character can come from are learnt from the keyboard's layout;
// without one, a letter's two cases and its control character are one key.
class HeldKeys {
public:
    void learnLayout(const KeyboardLayout& layout);
    // A press of `code`; false when its key is down already: a repeat.
    bool press(int code);
    // The release of `code`: the code its key went down as, which is what the
    // game lets go of; `code` itself when no key of it is down.
    int release(int code);
    // Lets go of every key: the codes they went down as.
    std::vector<int> releaseAll();

private:
    // The keys that type `code`, each as a number of its own: first those that
    // type it at a shift level, then those that type it only with Ctrl. A press
    // looks at the first kind alone where there is one, so Esc is not taken for
    // a repeat of a held '[' (Ctrl turns '[' into Esc's character).
    std::vector<int> keysOf(int code, bool pressing) const;

    std::array<std::vector<int>, 256> typing;  // by character code
    std::array<std::vector<int>, 256> control; // by character code, with Ctrl
    std::map<int, int> down;                   // key -> the code it went down as
};

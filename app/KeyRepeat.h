#pragma once

// Repeats one held key at a steady rate after a first pause, as a desktop does.
// The window asks GLUT for one event per physical press, so a held Space fires
// once; the console, the one place where a held key should go on typing, keeps
// its own clock with this.
class KeyRepeat {
public:
    // Starts timing a newly pressed key; it replaces any key timed before.
    void press(unsigned char key);
    // Stops the repeat if that key is the one being timed.
    void release(unsigned char key);
    void stop() { holding = false; }
    // Moves the clock on and returns how many repeats fell due meanwhile.
    int advance(float dtSeconds);

    unsigned char key() const { return heldKey; }

    static constexpr float delaySeconds = 0.5f;     // before the first repeat
    static constexpr float intervalSeconds = 0.04f; // between repeats: 25 a second

private:
    unsigned char heldKey = 0;
    bool holding = false;
    float heldSeconds = 0.0f;
    int repeatsSent = 0;
};

#pragma once

// The program's own exception: caught by value in main as a last resort.
struct Exception {
    const char* message;
    const char* detail;
};

#pragma once
#include <iostream>
#include <sstream>
#include <string>

// Redirects std::cout and std::cerr into strings for as long as it lives, so a
// test can compare trace and error lines exactly.
class CaptureStreams {
public:
    CaptureStreams() : oldOut(std::cout.rdbuf(outText.rdbuf())), oldErr(std::cerr.rdbuf(errText.rdbuf())) {}
    ~CaptureStreams() {
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
    }
    CaptureStreams(const CaptureStreams&) = delete;
    CaptureStreams& operator=(const CaptureStreams&) = delete;

    std::string out() const { return outText.str(); }
    std::string err() const { return errText.str(); }
    void clear() {
        outText.str("");
        errText.str("");
    }

private:
    std::ostringstream outText;
    std::ostringstream errText;
    std::streambuf* oldOut;
    std::streambuf* oldErr;
};

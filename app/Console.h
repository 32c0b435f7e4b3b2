#pragma once
#include <list>
#include <string>

// Scroll-back of at most maxLines lines, newest first. While an input line is
// open it is the first line and new messages go directly behind it.
class Console {
public:
    void addLine(const std::string& text);
    std::string inputLine();
    void setInputLine(const std::string& text);
    void commitInputLine();

    const std::list<std::string>& lines() const { return lineList; }
    bool inputOpen() const { return open; }

    static constexpr unsigned int maxLines = 128;

private:
    void trim();

    std::list<std::string> lineList;
    bool open = false;
};

#include "app/Console.h"

void Console::addLine(const std::string& text) {
    if (open && !lineList.empty())
        lineList.insert(std::next(lineList.begin()), text);
    else
        lineList.push_front(text);
    trim();
}

std::string Console::inputLine() {
    if (lineList.empty() || !open)
        lineList.push_front(std::string());
    open = true;
    return lineList.front();
}

void Console::setInputLine(const std::string& text) {
    if (lineList.empty() || !open)
        lineList.push_front(std::string());
    lineList.front() = text;
    open = true;
}

void Console::commitInputLine() {
    open = false;
    trim();
}

void Console::trim() {
    while (lineList.size() > maxLines)
        lineList.pop_back();
}

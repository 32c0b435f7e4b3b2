#include "assets/TraceSink.h"
#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

namespace {
// Newest last; a listener leaves in any order. Never destroyed, so a line
// written while the process tears its statics down still finds it.
std::vector<const TraceSink::Listen*>& listeners() {
    static auto* const all = new std::vector<const TraceSink::Listen*>;
    return *all;
}
} // namespace

void TraceSink::write(Stream stream, const std::string& line) {
    const std::vector<const Listen*>& all = listeners();
    const bool quiet =
        std::any_of(all.begin(), all.end(), [](const Listen* l) { return l->silencing; });
    if (!quiet) {
        std::ostream& to = stream == Stream::out ? std::cout : std::cerr;
        to << line << std::endl;
    }
    // A copy: a listener may come or go while hearing.
    const std::vector<const Listen*> hearing = all;
    for (const Listen* listen : hearing)
        listen->hear(stream, line);
}

TraceSink::Listen::Listen(Listener listener, bool quiet)
    : hear(std::move(listener)), silencing(quiet) {
    listeners().push_back(this);
}

TraceSink::Listen::~Listen() {
    std::vector<const Listen*>& all = listeners();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

// The command language of the console and the menus: commands separated by ";",
// each a first word and its arguments. Unknown words are ignored quietly; only an
// unknown variable after "set" and a bad count or level after "computers" are
// reported, on the console.
#include "app/GameCore.h"
#include "app/ReplayRecorder.h"
#include "assets/TraceSink.h"
#include <climits>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace {

// A decimal integer with an optional sign, read up to the first character that
// cannot continue it. A number beyond the range of int is cut to the nearest limit
// rather than counted as missing. False when no number is there at all.
bool readInteger(std::istream& in, int& value) {
    long long read = 0;
    in >> read;
    // On overflow the stream fails but stores the limit; on no digits it stores 0.
    if (in.fail() && read == 0) {
        value = 0;
        return false;
    }
    value = static_cast<int>(read < INT_MIN ? INT_MIN : read > INT_MAX ? INT_MAX : read);
    return true;
}

} // namespace

void GameCore::processCommands(const std::string& line) {
    // ";;" yields an empty command, a ";" at the very end none.
    std::istringstream in(line);
    std::string command;
    while (std::getline(in, command, ';'))
        processCommand(command);
}

void GameCore::processCommand(const std::string& command) {
    // On a networked game the world's commands run later, on every machine at
    // one step, and are traced there.
    if (sendsOverNetwork(command))
        return;
    TraceLine() << "processCommand: \"" << command << "\"";

    std::istringstream in(command);
    in.imbue(std::locale::classic());
    std::string word;
    in >> word;

    if (word == "set") {
        std::string name;
        in >> name;
        int value = 0;
        readInteger(in, value);
        const auto found = variables.find(name);
        if (found == variables.end())
            console.addLine("Invalid variable.");
        else
            found->second = value;
    } else if (word == "tanks") {
        // Without a count there is no game to start.
        int count = 0;
        if (readInteger(in, count))
            newGame(count);
    } else if (word == "computers") {
        // A count and an optional level; the line says what came of it.
        int count = 0;
        std::string level;
        if (!readInteger(in, count))
            count = -1;
        else
            in >> level;
        console.addLine(computers.assign(playerView, count, level));
    } else if (word == "terrain") {
        if (recorder)
            recorder->gameStarts();
        splashVisible = false;
        terrain.generate(300, 0.25f, 0.75f);
    } else if (word == "menu") {
        std::string id;
        if (in >> id) {
            for (std::size_t i = 0; i < menus.size(); ++i) {
                if (menus[i].id == id) {
                    currentMenu = static_cast<int>(i);
                    break;
                }
            }
        }
        variables["menu"] = 1;
    } else if (word == "replay") {
        // The newest game, or a file named by the rest of the line.
        std::string which;
        std::getline(in >> std::ws, which);
        if (which.empty() || which == "last")
            which = "last";
        console.addLine(replayWatcher ? replayWatcher(which) : "No replays in this game.");
    } else if (processNetworkCommand(word, in)) {
        // host, join, leave
    } else if (word == "work") {
        console.addLine("Error processing command.  Please bang head against wall.");
    } else if (word == "quit" || word == "exit") {
        // Straight out, from inside the key handling: nothing is torn down. Every
        // line is out already: the sink flushes each one. The other machines of
        // a networked game are told first, so they need not wait for silence.
        if (network)
            network->leave();
        std::exit(0);
    }
}

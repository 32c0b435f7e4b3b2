#pragma once
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

// The folder a person's replays live in, one file a game, named by the local
// date and time the game started with a two-digit count behind, so that names
// sort as the games were played, two games in one second included.
class ReplayFolder {
public:
    static constexpr std::size_t kept = 20;
    static constexpr const char* extension = ".vtr";

    explicit ReplayFolder(std::string path) : root(std::move(path)) {}
    // $XDG_DATA_HOME/vantrell/replays, else ~/.local/share/vantrell/replays;
    // empty when the environment names neither.
    static std::string defaultPath();

    // Makes the folder if need be; false with the reason when it cannot be written.
    bool prepare(std::string& why) const;
    // A path for a game starting at `when` that no file has yet; empty when all
    // hundred names of that second are taken.
    std::string newFile(std::time_t when) const;
    // Deletes the oldest replays until at most `count` are left.
    void keepNewest(std::size_t count) const;

    const std::string& path() const { return root; }
    // The replays' file names, oldest first.
    std::vector<std::string> replays() const;
    // The newest replay's path; empty when there is none.
    std::string newest() const;

private:
    std::string root;
};

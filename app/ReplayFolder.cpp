#include "app/ReplayFolder.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string ReplayFolder::defaultPath() {
    // A relative XDG_DATA_HOME is to be ignored, as every desktop program does.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/vantrell/replays";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0')
        return std::string(home) + "/.local/share/vantrell/replays";
    return "";
}

bool ReplayFolder::prepare(std::string& why) const {
    if (root.empty()) {
        why = "neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    std::error_code error;
    fs::create_directories(root, error);
    if (error) {
        why = error.message();
        return false;
    }
    // Made or found is not yet writable.
    const std::string probe = root + "/.probe";
    std::FILE* file = std::fopen(probe.c_str(), "wb");
    if (!file) {
        why = "the folder cannot be written";
        return false;
    }
    std::fclose(file);
    fs::remove(probe, error);
    return true;
}

std::string ReplayFolder::newFile(std::time_t when) const {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    for (int count = 0; count < 100; ++count) {
        char name[48];
        std::snprintf(name, sizeof name, "%s-%02d%s", stamp, count, extension);
        const std::string candidate = root + "/" + name;
        std::error_code error;
        if (!fs::exists(candidate, error) && !error)
            return candidate;
    }
    return "";
}

std::vector<std::string> ReplayFolder::replays() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(error) && name.size() > 4 &&
            name.compare(name.size() - 4, 4, extension) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void ReplayFolder::keepNewest(std::size_t count) const {
    const std::vector<std::string> names = replays();
    for (std::size_t i = 0; i + count < names.size(); ++i) {
        std::error_code error;
        fs::remove(root + "/" + names[i], error);
    }
}

std::string ReplayFolder::newest() const {
    const std::vector<std::string> names = replays();
    return names.empty() ? "" : root + "/" + names.back();
}

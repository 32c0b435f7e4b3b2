#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A fresh folder under /tmp for the files one test writes; removed with them.
class TempDir {
public:
    TempDir() {
        if (mkdtemp(root.data()) == nullptr)
            std::abort(); // never fall back to a shared folder: it is removed at the end
    }
    ~TempDir() { std::filesystem::remove_all(root); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return root + "/" + name; }
    // Writes the bytes exactly as given (binary) and returns the file's path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

private:
    std::string root = "/tmp/vantrell-assets-XXXXXX";
};

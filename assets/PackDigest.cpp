#include "assets/PackDigest.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace {

constexpr std::uint64_t fnvOffset = 14695981039346656037ull;
constexpr std::uint64_t fnvPrime = 1099511628211ull;

void mix(std::uint64_t& hash, const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= fnvPrime;
    }
}

} // namespace

std::vector<std::string> PackDigest::files(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error))
            names.push_back(fs::relative(it->path(), folder, error).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uint64_t PackDigest::of(const std::string& folder) {
    std::uint64_t hash = fnvOffset;
    std::vector<char> buffer(1 << 16);
    for (const std::string& name : files(folder)) {
        mix(hash, name.c_str(), name.size() + 1); // with its terminator: names end apart
        std::ifstream in(folder + "/" + name, std::ios::binary);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            mix(hash, buffer.data(), static_cast<std::size_t>(in.gcount()));
        }
        mix(hash, "", 1);
    }
    return hash;
}

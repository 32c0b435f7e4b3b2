#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A fingerprint of a data pack: every regular file under a folder, its path
// relative to the folder and its bytes, in path order. A replay holds the one
// of the pack it was played with, because another mesh or menu plays the same
// keys into another game. It tells packs apart; it is no defence against
// someone making two packs collide on purpose.
class PackDigest {
public:
    // 64-bit FNV-1a. A folder that is missing or unreadable gives the digest of
    // no files at all.
    static std::uint64_t of(const std::string& folder);

    // The regular files under the folder, as paths relative to it with '/'
    // between folders, sorted: the order every digest of a pack reads them in.
    static std::vector<std::string> files(const std::string& folder);
};

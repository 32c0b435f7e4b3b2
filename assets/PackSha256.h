#pragma once
#include <array>
#include <cstdint>
#include <string>

// The data pack's SHA-256, which machines compare before playing together: a
// game between two packs would part ways at the first mesh or menu that
// differs. Unlike the replays' 64-bit digest it stands up to someone making two
// packs collide on purpose.
class PackSha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    // Over every regular file under the folder in PackDigest::files order: its
    // relative path, a zero byte, its size (64 bits, little-endian) and its
    // bytes, read a chunk at a time. A missing folder gives the digest of
    // nothing. All zeros only when the hash itself could not be had.
    static Digest of(const std::string& folder);
};

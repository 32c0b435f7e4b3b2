#include "assets/PackSha256.h"
#include "support/TempDir.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {
std::string hex(const PackSha256::Digest& digest) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : digest)
        text += std::string{digits[byte >> 4], digits[byte & 15]};
    return text;
}
} // namespace

// The digest is SHA-256 over each file in path order as its path, a zero, its
// size in 8 little-endian bytes and its bytes; the expected values come from
// another SHA-256 over that same stream. A file past the read chunk is hashed
// whole, and a renamed file or one byte more is another pack.
TEST(PackSha256Test, HashesEveryFileWithItsPathAndSize) {
    TempDir dir;
    std::filesystem::create_directories(dir.path("pack/a"));
    std::string big(200000, '\0');
    for (std::size_t k = 0; k < big.size(); ++k)
        big[k] = static_cast<char>(k * 7 & 0xff);
    dir.write("pack/a/x.bin", big);
    dir.write("pack/b.txt", "bee");
    EXPECT_EQ(hex(PackSha256::of(dir.path("pack"))),
              "a0400d80b08c6a671ddd5e09e420a5158560bc0a99120151ed25bcabf7535278");

    const PackSha256::Digest before = PackSha256::of(dir.path("pack"));
    dir.write("pack/b.txt", "beee");
    EXPECT_NE(PackSha256::of(dir.path("pack")), before);
    dir.write("pack/b.txt", "bee");
    std::filesystem::rename(dir.path("pack/b.txt"), dir.path("pack/c.txt"));
    EXPECT_NE(PackSha256::of(dir.path("pack")), before);

    // No folder, no files: the digest of nothing at all.
    EXPECT_EQ(hex(PackSha256::of(dir.path("none"))),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

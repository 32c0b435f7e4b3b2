#include "assets/PackSha256.h"
#include "assets/PackDigest.h"
#include <filesystem>
#include <fstream>
#include <memory>
#include <openssl/evp.h>
#include <system_error>
#include <vector>

namespace {
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
} // namespace

PackSha256::Digest PackSha256::of(const std::string& folder) {
    Digest digest{};
    const std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return digest;
    bool ok = true;
    const auto feed = [&](const void* bytes, std::size_t count) {
        ok = ok && EVP_DigestUpdate(context.get(), bytes, count) == 1;
    };
    std::vector<char> buffer(1 << 16);
    for (const std::string& name : PackDigest::files(folder)) {
        const std::string path = folder + "/" + name;
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(path, error);
        std::uint8_t size[8];
        for (int k = 0; k < 8; ++k)
            size[k] = error ? 0 : static_cast<std::uint8_t>(bytes >> (8 * k));
        feed(name.c_str(), name.size() + 1); // with its terminator
        feed(size, sizeof size);
        std::ifstream in(path, std::ios::binary);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            feed(buffer.data(), static_cast<std::size_t>(in.gcount()));
        }
    }
    unsigned int length = 0;
    if (!ok || EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 ||
        length != digest.size())
        digest.fill(0);
    return digest;
}

#include "assets/Mesh.h"

#include "FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".mesh");
    Mesh mesh;
    loadMesh(file.write(data, size), mesh);
    return 0;
}

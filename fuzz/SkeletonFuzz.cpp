#include "assets/Matrix4.h"
#include "assets/Skeleton.h"

#include "FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".skel");
    Skeleton root;
    loadSkeleton(file.write(data, size), root);
    // What the game does next with a loaded tank: copy it and find the muzzle.
    const Skeleton copy = root;
    Vector3 muzzle;
    transformFromNode(copy, muzzle, "tip");
    return 0;
}

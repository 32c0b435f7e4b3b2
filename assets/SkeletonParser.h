#pragma once
#include "assets/XMLParser.h"
#include <cstddef>
#include <string>
#include <vector>

struct Skeleton;

// Builds a skeleton tree from a .skel document. Lives for one loadSkeleton call;
// the root stays owned by the caller.
class SkeletonParser : public XMLParser {
public:
    explicit SkeletonParser(Skeleton& root);
    ~SkeletonParser() override;

    void startElement(void* userData, const char* name, const char** attributes) override;
    void endElement(void* userData, const char* name) override;
    void characterData(void* userData, const char* text, int length) override;

    // Copying, destroying and drawing a tree recurse once per level, so a
    // hostile file must not be able to build one deeper than this (root = 1).
    static constexpr std::size_t maxDepth = 64;
    // Every node costs a Skeleton; real models have a dozen.
    static constexpr std::size_t maxNodes = 65536;

private:
    Skeleton& root;
    // Innermost last. Each pointer stays valid: only the innermost node gains
    // children, and a node's own address changes only when its parent's
    // children grow, which happens after the node was closed.
    std::vector<Skeleton*> openNodes;
    std::vector<std::string> openElements; // innermost last
    std::size_t nodesMade = 0;
};

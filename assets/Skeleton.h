#pragma once
#include "world/Vector3.h"
#include <string>
#include <vector>

// One node of a model tree; a whole skeleton is its root node. A plain value:
// copying copies the whole subtree, which is how every tank gets its own turret.
// A node's transform relative to its parent is T * Rx * Ry * Rz * S (degrees).
struct Skeleton {
    std::string id;
    std::string meshName; // relative to data/; empty for a node without geometry
    Vector3 translate{0.0f, 0.0f, 0.0f};
    Vector3 rotate{0.0f, 0.0f, 0.0f}; // degrees about x, y, z
    Vector3 scale{1.0f, 1.0f, 1.0f};
    std::vector<Skeleton> children;
};

struct Matrix4;

// Reads a .skel file into `root`, which should be newly made: loading adds to it.
// Trees deeper or larger than SkeletonParser's limits are refused (false).
bool loadSkeleton(const char* fileName, Skeleton& root);

// T * Rx * Ry * Rz * S of the node.
Matrix4 localTransform(const Skeleton& node);
// The child of `node` on the way to the first descendant (pre-order) named `id`.
Skeleton* nextTowards(Skeleton& node, const std::string& id);
const Skeleton* nextTowards(const Skeleton& node, const std::string& id);
// m = m * the local transforms from `node` down to the node named `id`.
bool pathTransform(const Skeleton& node, const std::string& id, Matrix4& m);
// Carries `point` from the frame of node `id` into the frame the root is placed in.
bool transformFromNode(const Skeleton& root, Vector3& point, const std::string& id);

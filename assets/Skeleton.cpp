#include "assets/Skeleton.h"

#include "assets/Matrix4.h"
#include "assets/SkeletonParser.h"

bool loadSkeleton(const char* fileName, Skeleton& root) {
    SkeletonParser parser(root);
    return parser.parse(fileName);
}

Matrix4 localTransform(const Skeleton& node) {
    Matrix4 m;
    translate(m, node.translate);
    rotate(m, node.rotate);
    scale(m, node.scale);
    return m;
}

const Skeleton* nextTowards(const Skeleton& node, const std::string& id) {
    for (const Skeleton& child : node.children) {
        if (child.id == id || nextTowards(child, id) != nullptr) {
            return &child;
        }
    }
    return nullptr;
}

Skeleton* nextTowards(Skeleton& node, const std::string& id) {
    return const_cast<Skeleton*>(nextTowards(static_cast<const Skeleton&>(node), id));
}

bool pathTransform(const Skeleton& node, const std::string& id, Matrix4& m) {
    const Skeleton* current = &node;
    m = multiply(m, localTransform(*current));
    while (current->id != id) {
        current = nextTowards(*current, id);
        if (current == nullptr) {
            return false;
        }
        m = multiply(m, localTransform(*current));
    }
    return true;
}

bool transformFromNode(const Skeleton& root, Vector3& point, const std::string& id) {
    Matrix4 m;
    if (!pathTransform(root, id, m)) {
        return false;
    }
    point = transformPoint(m, point);
    return true;
}

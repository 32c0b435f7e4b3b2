#include "assets/SkeletonParser.h"

#include "assets/Skeleton.h"

#include <cctype>
#include <cstdlib>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Leading white space skipped, the longest prefix of the form sign, digits,
// point, digits, exponent used; 0 when there is none. The prefix is cut out
// first because strtod alone would also take hex, "inf" and "nan". Computed in
// double, stored as float. The game never changes the C locale, so strtod
// reads the point as the decimal separator.
float componentValue(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0f;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    const std::string number = text.substr(start, i - start);
    return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

void resetPlacement(Skeleton& node) {
    node.translate = Vector3(0.0f, 0.0f, 0.0f);
    node.rotate = Vector3(0.0f, 0.0f, 0.0f);
    node.scale = Vector3(1.0f, 1.0f, 1.0f);
}

} // namespace

SkeletonParser::SkeletonParser(Skeleton& output) : root(output) {}

SkeletonParser::~SkeletonParser() = default;

void SkeletonParser::startElement(void*, const char* name, const char**) {
    const std::string element(name);
    openElements.push_back(element);
    if (openNodes.empty()) {
        if (element == "skeleton") {
            resetPlacement(root);
            openNodes.push_back(&root);
        }
        return;
    }
    if (element != "child") {
        return;
    }
    if (openNodes.size() >= maxDepth || nodesMade >= maxNodes) {
        stopParsing();
        return;
    }
    Skeleton& parent = *openNodes.back();
    parent.children.emplace_back();
    Skeleton& child = parent.children.back();
    resetPlacement(child);
    openNodes.push_back(&child);
    ++nodesMade;
}

void SkeletonParser::endElement(void*, const char* name) {
    // expat pairs every end with a start, so the name stack is never empty
    // here; the node stack is, after a "child" that stood before the root.
    openElements.pop_back();
    if (std::string(name) == "child" && !openNodes.empty()) {
        openNodes.pop_back();
    }
}

void SkeletonParser::characterData(void*, const char* text, int length) {
    if (openNodes.empty()) {
        return;
    }
    Skeleton& node = *openNodes.back();
    const std::string& innermost = openElements.back();
    const std::string value(text, static_cast<std::size_t>(length));
    if (innermost == "id") {
        node.id = value;
    } else if (innermost == "mesh") {
        node.meshName = value;
    } else if ((innermost == "x" || innermost == "y" || innermost == "z") &&
               openElements.size() >= 2) {
        const std::string& group = openElements[openElements.size() - 2];
        Vector3* field = group == "translate" ? &node.translate
                         : group == "rotate"  ? &node.rotate
                         : group == "scale"   ? &node.scale
                                              : nullptr;
        if (field == nullptr) {
            return;
        }
        float& component = innermost == "x" ? field->x : innermost == "y" ? field->y : field->z;
        component = componentValue(value);
    }
}

// Mesh files are words separated by white space: a vertex count, then sections
// in any order. Reading is deliberately forgiving: a section that runs out of
// numbers ends the file, and what it made room for stays zero.
//
// A head or face count is only a promise, and every array is sized from one
// before its numbers are read. Arrays of up to a fixed budget are made whatever
// the file holds, so a short file loads as its format says. A count beyond the
// budget is refused when the rest of the file is shorter in bytes than the count:
// a complete entry needs at least four bytes, so no honest file is refused,
// while a few bytes can no longer ask for gigabytes. Arrays thus stay within the
// budget plus a small multiple of the file's size.
#include "assets/Mesh.h"
#include "assets/TraceSink.h"

#include <cstddef>
#include <fstream>
#include <iomanip>
#include <locale>
#include <string>

namespace {

// Beyond what glDrawElements can count in a GLsizei, whatever the file size.
constexpr long long maxVertices = 1LL << 24;
constexpr long long maxIndices = 1LL << 28;
// Elements of one array made without asking how much of the file is left: 12 MiB
// of vertices at most.
constexpr long long unbackedBudget = 1LL << 20;

class MeshReader {
public:
    MeshReader(const char* path, Mesh& output) : fileName(path), mesh(output) {}
    bool load();

private:
    long long bytesLeft();
    bool readVertexCount();
    bool sizeForSection();
    void readTriples(std::vector<Vector3>& values);
    void readPairs(std::vector<TexCoord>& values);
    bool readFaces(int corners, const char* countError, const char* indexError);
    bool inRange(int index) const { return index >= 0 && index < vertexCount; }

    const char* fileName;
    Mesh& mesh;
    std::ifstream file;
    long long fileSize = 0;
    int vertexCount = 0;
};

long long MeshReader::bytesLeft() {
    // tellg on a stream at its end would mark it failed; nothing is left then.
    if (!file.good()) {
        return 0;
    }
    const std::streamoff position = file.tellg();
    return position < 0 ? 0 : fileSize - static_cast<long long>(position);
}

bool MeshReader::readVertexCount() {
    file >> vertexCount;
    if (!file || vertexCount <= 0 || vertexCount > maxVertices) {
        ErrorLine() << "Error loading model " << fileName << ".  Invalid size: " << vertexCount;
        return false;
    }
    return true;
}

// A per-vertex section is about to make room for the head's count.
bool MeshReader::sizeForSection() {
    if (vertexCount > unbackedBudget && vertexCount > bytesLeft()) {
        ErrorLine() << "Error loading model " << fileName << ".  Invalid size: " << vertexCount;
        return false;
    }
    return true;
}

void MeshReader::readTriples(std::vector<Vector3>& values) {
    values.resize(static_cast<std::size_t>(vertexCount));
    for (Vector3& value : values) {
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        if (!(file >> x >> y >> z)) {
            return;
        }
        value = Vector3(x, y, z);
    }
}

void MeshReader::readPairs(std::vector<TexCoord>& values) {
    values.resize(static_cast<std::size_t>(vertexCount));
    for (TexCoord& value : values) {
        float u = 0.0f;
        float v = 0.0f;
        if (!(file >> u >> v)) {
            return;
        }
        value.u = u;
        value.v = v;
    }
}

// Quadrilaterals (corners 4) are stored as the triangles a b c and c d a.
bool MeshReader::readFaces(int corners, const char* countError, const char* indexError) {
    const std::size_t start = mesh.indices.size();
    const std::size_t perFace = corners == 4 ? 6 : 3;
    int count = 0;
    file >> count;
    const long long total =
        static_cast<long long>(start) + static_cast<long long>(perFace) * (file ? count : 0);
    if (!file || count < 0 || total > maxIndices ||
        (total > unbackedBudget && count > bytesLeft())) {
        ErrorLine() << countError;
        return false;
    }
    mesh.indices.resize(start + perFace * static_cast<std::size_t>(count));
    std::uint32_t* next = mesh.indices.data() + start;
    for (int face = 0; face < count; ++face) {
        int corner[4] = {0, 0, 0, 0};
        for (int i = 0; i < corners; ++i) {
            file >> corner[i];
        }
        if (!file) {
            break;
        }
        for (int i = 0; i < corners; ++i) {
            if (!inRange(corner[i])) {
                ErrorLine() << indexError;
                return false;
            }
        }
        const int order[6] = {0, 1, 2, 2, 3, 0};
        for (std::size_t i = 0; i < perFace; ++i) {
            *next++ = static_cast<std::uint32_t>(corner[order[i]]);
        }
    }
    return true;
}

bool MeshReader::load() {
    mesh.vertices.resize(0);
    mesh.colors.resize(0);
    mesh.normals.resize(0);
    mesh.texCoords.resize(0);
    mesh.indices.resize(0);

    file.open(fileName);
    if (!file) {
        ErrorLine() << "Unable to open file: " << fileName;
        return false;
    }
    // Numbers mean the same whatever locale the program runs in.
    file.imbue(std::locale::classic());
    file.seekg(0, std::ios::end);
    fileSize = static_cast<long long>(file.tellg());
    file.clear();
    file.seekg(0, std::ios::beg);
    TraceLine() << "File opened.";

    if (!readVertexCount()) {
        return false;
    }
    // No keyword is near this long, so a longer word is refused all the same
    // without being held whole.
    constexpr int longestWord = 64;
    std::string word;
    while (file >> std::setw(longestWord) >> word) {
        if (word == "vertices") {
            TraceLine() << "Loading vertices.";
            if (!sizeForSection()) {
                return false;
            }
            readTriples(mesh.vertices);
            TraceLine() << "Vertices loaded.";
        } else if (word == "texture") {
            TraceLine() << "Loading texture coordinates.";
            if (!sizeForSection()) {
                return false;
            }
            readPairs(mesh.texCoords);
            TraceLine() << "Loading completed.";
        } else if (word == "color") {
            TraceLine() << "Loading color.";
            if (!sizeForSection()) {
                return false;
            }
            readTriples(mesh.colors);
            TraceLine() << "Color loaded.";
        } else if (word == "normals") {
            TraceLine() << "Loading normals.";
            if (!sizeForSection()) {
                return false;
            }
            readTriples(mesh.normals);
            TraceLine() << "Normals loaded.";
        } else if (word == "quadrilaterals") {
            TraceLine() << "Loading quads.";
            if (!readFaces(4, "Error loading mesh.  Invalid count.",
                           "Error loading mesh.  Invalid index.")) {
                return false;
            }
            TraceLine() << "Quads loaded.";
        } else if (word == "triangles") {
            TraceLine() << "Loading triangles.";
            if (!readFaces(3, "Error loading mesh. Invalid count.",
                           "Error loading mesh. Invalid index.")) {
                return false;
            }
            TraceLine() << "Triangle loaded.";
        } else {
            TraceLine() << "Unrecognized token.";
            return false;
        }
    }
    TraceLine() << "Mesh loaded.";
    return true;
}

} // namespace

bool loadMesh(const char* fileName, Mesh& mesh) {
    MeshReader reader(fileName, mesh);
    return reader.load();
}

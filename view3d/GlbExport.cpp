#include "view3d/GlbExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "view3d/SceneGeometry.h"

namespace quillon {
namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A; // "JSON"
constexpr std::uint32_t kBinChunk = 0x004E4942;  // "BIN\0"
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kModeLineLoop = 2;
constexpr int kModeTriangles = 4;

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

void AppendFloat(std::vector<std::uint8_t>& out, float f)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    AppendU32(out, bits);
}

// Shortest text that reads back as the same float, so min/max match the data exactly.
std::string Number(float f)
{
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, double(f));
        if (std::strtof(text, nullptr) == f)
            break;
    }
    return text;
}

// JSON string body: quotes, backslashes and control characters escaped; bytes that are not
// well-formed UTF-8 replaced, since profile file names are arbitrary bytes.
std::string JsonString(const std::string& in)
{
    std::string out = "\"";
    const auto* s = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
            ++i;
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
            ++i;
        } else if (c < 0x80) {
            out += char(c);
            ++i;
        } else {
            std::size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
            bool ok = len != 0 && i + len <= n;
            for (std::size_t k = 1; ok && k < len; ++k)
                ok = (s[i + k] & 0xC0) == 0x80;
            if (ok && len == 3) // no overlongs, no surrogates
                ok = !(c == 0xE0 && s[i + 1] < 0xA0) && !(c == 0xED && s[i + 1] >= 0xA0);
            if (ok && len == 4)
                ok = !(c == 0xF0 && s[i + 1] < 0x90) && !(c == 0xF4 && s[i + 1] >= 0x90);
            if (ok) {
                out.append(in, i, len);
                i += len;
            } else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
        }
    }
    return out + "\"";
}

struct Attributes {
    std::vector<float> positions; // xyz
    std::vector<float> colours;   // rgba
};

bool Finite(const MeshVertex& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void AddVertex(Attributes& a, const MeshVertex& v, const MeshRun& run)
{
    const MeshColour& c = run.perVertexColour ? v.colour : run.colour;
    a.positions.insert(a.positions.end(), {v.x, v.y, v.z});
    a.colours.insert(a.colours.end(), {c.red, c.green, c.blue, c.alpha});
}

bool SamePosition(const MeshVertex& a, const MeshVertex& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// What one shape contributes to the file.
struct ShapeData {
    Attributes surface;
    std::vector<std::uint32_t> indices;
    Attributes footprint;
    bool translucent = false;
};

bool Collect(const ShapeMesh& mesh, ShapeData& data)
{
    for (const MeshRun& run : mesh.runs) {
        for (const MeshVertex& v : run.vertices)
            if (!Finite(v))
                return false;
        if (run.kind == MeshPrimitive::LineLoop) {
            if (run.vertices.size() >= 2)
                for (const MeshVertex& v : run.vertices)
                    AddVertex(data.footprint, v, run);
            continue;
        }
        const auto base = std::uint32_t(data.surface.positions.size() / 3);
        for (const MeshVertex& v : run.vertices) {
            AddVertex(data.surface, v, run);
            const MeshColour& c = run.perVertexColour ? v.colour : run.colour;
            data.translucent = data.translucent || c.alpha < 1.0f;
        }
        // A strip's odd triangles are wound the other way round: swapping their first two
        // corners keeps every triangle facing as OpenGL draws it.
        for (std::size_t i = 0; i + 2 < run.vertices.size(); ++i) {
            const std::size_t a = i % 2 == 0 ? i : i + 1;
            const std::size_t b = i % 2 == 0 ? i + 1 : i;
            const std::size_t c = i + 2;
            const auto& va = run.vertices[a];
            const auto& vb = run.vertices[b];
            const auto& vc = run.vertices[c];
            if (SamePosition(va, vb) || SamePosition(vb, vc) || SamePosition(va, vc))
                continue;
            data.indices.insert(data.indices.end(),
                                {base + std::uint32_t(a), base + std::uint32_t(b), base + std::uint32_t(c)});
        }
    }
    return true;
}

class Writer {
public:
    // Returns the accessor index of a float attribute block.
    int Floats(const std::vector<float>& values, int components, bool withBounds)
    {
        const int view = View(values.size() * 4, kArrayBuffer);
        for (float f : values)
            AppendFloat(m_bin, f);
        const std::size_t count = values.size() / std::size_t(components);
        std::string accessor = "{\"bufferView\":" + std::to_string(view) + ",\"componentType\":" +
                               std::to_string(kFloat) + ",\"count\":" + std::to_string(count) +
                               ",\"type\":\"" + (components == 3 ? "VEC3" : "VEC4") + "\"";
        if (withBounds) {
            std::string min = "[", max = "[";
            for (int k = 0; k < components; ++k) {
                float lo = values[std::size_t(k)], hi = lo;
                for (std::size_t i = std::size_t(k); i < values.size(); i += std::size_t(components)) {
                    lo = std::min(lo, values[i]);
                    hi = std::max(hi, values[i]);
                }
                if (k) {
                    min += ',';
                    max += ',';
                }
                min += Number(lo);
                max += Number(hi);
            }
            accessor += ",\"min\":" + min + "],\"max\":" + max + "]";
        }
        return Accessor(accessor + "}");
    }

    int Indices(const std::vector<std::uint32_t>& values)
    {
        const int view = View(values.size() * 4, kElementArrayBuffer);
        for (std::uint32_t v : values)
            AppendU32(m_bin, v);
        return Accessor("{\"bufferView\":" + std::to_string(view) + ",\"componentType\":" +
                        std::to_string(kUnsignedInt) + ",\"count\":" + std::to_string(values.size()) +
                        ",\"type\":\"SCALAR\"}");
    }

    std::string Json(const std::string& meshes, const std::string& nodes, const std::string& sceneNodes) const
    {
        const std::string scale = Number(kLabToSceneScale);
        return std::string("{\"asset\":{\"version\":\"2.0\",\"generator\":\"Quillon\",\"extras\":{") +
               "\"coordinates\":\"CIELAB scene: x = " + scale + " a*, y = " + scale + " (L* - 50), z = -" +
               scale + " b*\",\"labToSceneScale\":" + scale + "}}," +
               "\"extensionsUsed\":[\"KHR_materials_unlit\"]," +
               "\"scene\":0,\"scenes\":[{\"nodes\":[" + sceneNodes + "]}],\"nodes\":[" + nodes +
               "],\"meshes\":[" + meshes + "],\"materials\":[" + Material("OPAQUE") + "," + Material("BLEND") +
               "],\"accessors\":[" + m_accessors + "],\"bufferViews\":[" + m_views +
               "],\"buffers\":[{\"byteLength\":" + std::to_string(m_bin.size()) + "}]}";
    }

    const std::vector<std::uint8_t>& Bin() const { return m_bin; }

private:
    static std::string Material(const char* alphaMode)
    {
        return std::string("{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,1,1,1],\"metallicFactor\":0,"
                           "\"roughnessFactor\":1},\"alphaMode\":\"") +
               alphaMode + "\",\"extensions\":{\"KHR_materials_unlit\":{}}}";
    }

    int View(std::size_t bytes, int target)
    {
        if (m_viewCount)
            m_views += ",";
        m_views += "{\"buffer\":0,\"byteOffset\":" + std::to_string(m_bin.size()) +
                   ",\"byteLength\":" + std::to_string(bytes) + ",\"target\":" + std::to_string(target) + "}";
        return m_viewCount++;
    }

    int Accessor(const std::string& json)
    {
        if (m_accessorCount)
            m_accessors += ",";
        m_accessors += json;
        return m_accessorCount++;
    }

    std::vector<std::uint8_t> m_bin;
    std::string m_views, m_accessors;
    int m_viewCount = 0, m_accessorCount = 0;
};

void AppendChunk(std::vector<std::uint8_t>& out, std::uint32_t type, const std::uint8_t* data, std::size_t size,
                 std::uint8_t pad)
{
    const std::size_t padded = (size + 3) & ~std::size_t(3);
    AppendU32(out, std::uint32_t(padded));
    AppendU32(out, type);
    out.insert(out.end(), data, data + size);
    out.insert(out.end(), padded - size, pad);
}

} // namespace

bool WriteShapesGlb(const std::vector<GlbShape>& shapes, std::vector<std::uint8_t>& out)
{
    Writer writer;
    std::string meshes, nodes, sceneNodes;
    int meshCount = 0;
    for (const GlbShape& shape : shapes) {
        if (!shape.mesh)
            continue;
        ShapeData data;
        if (!Collect(*shape.mesh, data))
            return false;
        std::string primitives;
        if (!data.indices.empty()) {
            const int position = writer.Floats(data.surface.positions, 3, true);
            const int colour = writer.Floats(data.surface.colours, 4, false);
            const int indices = writer.Indices(data.indices);
            primitives += "{\"attributes\":{\"POSITION\":" + std::to_string(position) + ",\"COLOR_0\":" +
                          std::to_string(colour) + "},\"indices\":" + std::to_string(indices) +
                          ",\"material\":" + (data.translucent ? "1" : "0") +
                          ",\"mode\":" + std::to_string(kModeTriangles) + "}";
        }
        if (!data.footprint.positions.empty()) {
            const int position = writer.Floats(data.footprint.positions, 3, true);
            const int colour = writer.Floats(data.footprint.colours, 4, false);
            primitives += std::string(primitives.empty() ? "" : ",") + "{\"attributes\":{\"POSITION\":" +
                          std::to_string(position) + ",\"COLOR_0\":" + std::to_string(colour) +
                          "},\"material\":0,\"mode\":" + std::to_string(kModeLineLoop) + "}";
        }
        if (primitives.empty())
            continue;
        const std::string name = JsonString(shape.name);
        const std::string index = std::to_string(meshCount);
        meshes += std::string(meshCount ? "," : "") + "{\"name\":" + name + ",\"primitives\":[" + primitives + "]}";
        nodes += std::string(meshCount ? "," : "") + "{\"name\":" + name + ",\"mesh\":" + index + "}";
        sceneNodes += std::string(meshCount ? "," : "") + index;
        ++meshCount;
    }
    if (meshCount == 0)
        return false;

    const std::string json = writer.Json(meshes, nodes, sceneNodes);
    const std::vector<std::uint8_t>& bin = writer.Bin();
    std::vector<std::uint8_t> file;
    const std::size_t jsonPadded = (json.size() + 3) & ~std::size_t(3);
    const std::size_t total = 12 + 8 + jsonPadded + 8 + bin.size();
    file.reserve(total);
    AppendU32(file, kGlbMagic);
    AppendU32(file, 2);
    AppendU32(file, std::uint32_t(total));
    AppendChunk(file, kJsonChunk, reinterpret_cast<const std::uint8_t*>(json.data()), json.size(), ' ');
    AppendChunk(file, kBinChunk, bin.data(), bin.size(), 0);
    out = std::move(file);
    return true;
}

} // namespace quillon

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "tests/view3d/SyntheticShapes.h"
#include "view3d/GlbExport.h"
#include "view3d/SceneGeometry.h"

using namespace quillon;
using namespace quillon::testing_shapes;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

// A .glb taken apart as a reader would, checking the container on the way.
struct Glb {
    QJsonObject json;
    std::vector<std::uint8_t> bin;

    static Glb Parse(const std::vector<std::uint8_t>& file)
    {
        Glb glb;
        EXPECT_GE(file.size(), 28u);
        EXPECT_EQ(std::memcmp(file.data(), "glTF", 4), 0);
        EXPECT_EQ(U32(file, 4), 2u) << "version";
        EXPECT_EQ(U32(file, 8), file.size()) << "declared length";
        const std::uint32_t jsonLength = U32(file, 12);
        EXPECT_EQ(std::memcmp(file.data() + 16, "JSON", 4), 0);
        EXPECT_EQ(jsonLength % 4, 0u);
        const std::size_t binAt = 20 + jsonLength;
        EXPECT_LE(binAt + 8, file.size());
        QJsonParseError error{};
        const auto doc = QJsonDocument::fromJson(
            QByteArray(reinterpret_cast<const char*>(file.data() + 20), qsizetype(jsonLength)), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        glb.json = doc.object();
        const std::uint32_t binLength = U32(file, binAt);
        EXPECT_EQ(std::memcmp(file.data() + binAt + 4, "BIN\0", 4), 0);
        EXPECT_EQ(binLength % 4, 0u);
        EXPECT_EQ(binAt + 8 + binLength, file.size()) << "nothing after the BIN chunk";
        glb.bin.assign(file.begin() + std::ptrdiff_t(binAt + 8), file.end());
        EXPECT_EQ(qint64(glb.json["buffers"][0]["byteLength"].toInteger()), qint64(binLength));
        return glb;
    }

    QJsonObject Accessor(int i) const { return json["accessors"].toArray()[i].toObject(); }

    // The accessor's elements as floats (or indices widened), after checking its view.
    std::vector<double> Values(int accessor) const
    {
        const QJsonObject a = Accessor(accessor);
        const QJsonObject view = json["bufferViews"].toArray()[a["bufferView"].toInt()].toObject();
        const auto offset = std::size_t(view["byteOffset"].toInteger());
        const auto length = std::size_t(view["byteLength"].toInteger());
        EXPECT_EQ(offset % 4, 0u) << "aligned";
        EXPECT_LE(offset + length, bin.size());
        const int components = a["type"] == "VEC3" ? 3 : a["type"] == "VEC4" ? 4 : 1;
        const auto count = std::size_t(a["count"].toInteger());
        EXPECT_EQ(length, count * std::size_t(components) * 4);
        std::vector<double> out;
        for (std::size_t i = 0; i < count * std::size_t(components); ++i) {
            const std::uint32_t bits = U32(bin, offset + 4 * i);
            if (a["componentType"].toInt() == 5126) {
                float f;
                std::memcpy(&f, &bits, 4);
                out.push_back(f);
            } else {
                EXPECT_EQ(a["componentType"].toInt(), 5125);
                out.push_back(bits);
            }
        }
        return out;
    }
};

std::vector<std::uint8_t> Export(const std::vector<std::pair<std::string, const ViewSlot*>>& inputs, int row = 0)
{
    std::vector<ShapeMesh> meshes(inputs.size());
    std::vector<GlbShape> shapes;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_TRUE(BuildShapeMesh(*inputs[i].second, row, meshes[i]));
        shapes.push_back({inputs[i].first, &meshes[i]});
    }
    std::vector<std::uint8_t> file;
    EXPECT_TRUE(WriteShapesGlb(shapes, file));
    return file;
}

} // namespace

TEST(GlbExport, ContainerAccessorsAndBoundsMatchTheData)
{
    const auto prism = Prism(4, 60.0f, 10.0f, 90.0f);
    const Glb glb = Glb::Parse(Export({{"prism.icc", prism.get()}}));
    EXPECT_EQ(glb.json["asset"]["version"].toString(), "2.0");
    EXPECT_FLOAT_EQ(float(glb.json["asset"]["extras"]["labToSceneScale"].toDouble()), kLabToSceneScale);

    const QJsonArray primitives = glb.json["meshes"][0]["primitives"].toArray();
    ASSERT_EQ(primitives.size(), 2);
    const QJsonObject surface = primitives[0].toObject();
    EXPECT_EQ(surface["mode"].toInt(), 4);
    const int position = surface["attributes"]["POSITION"].toInt();
    const std::vector<double> xyz = glb.Values(position);
    // Four strips of top pole, 4 x 2 band points and bottom pole.
    EXPECT_EQ(glb.Accessor(position)["count"].toInt(), 4 * 10);
    for (int k = 0; k < 3; ++k) {
        double lo = 1e9, hi = -1e9;
        for (std::size_t i = std::size_t(k); i < xyz.size(); i += 3) {
            lo = std::min(lo, xyz[i]);
            hi = std::max(hi, xyz[i]);
        }
        // Exact in single precision, as validators demand.
        EXPECT_EQ(float(glb.Accessor(position)["min"][k].toDouble()), float(lo));
        EXPECT_EQ(float(glb.Accessor(position)["max"][k].toDouble()), float(hi));
    }
    EXPECT_FLOAT_EQ(float(glb.Accessor(position)["max"][1].toDouble()), LabToScene(90.0f, 0, 0).y);

    const std::vector<double> indices = glb.Values(surface["indices"].toInt());
    EXPECT_EQ(indices.size(), 4u * 8 * 3) << "every strip triangle, none degenerate here";
    for (double i : indices)
        EXPECT_LT(i, 40.0);
    EXPECT_EQ(glb.Values(surface["attributes"]["COLOR_0"].toInt()).size(), 40u * 4);

    const QJsonObject footprint = primitives[1].toObject();
    EXPECT_EQ(footprint["mode"].toInt(), 2) << "line loop";
    EXPECT_EQ(glb.Accessor(footprint["attributes"]["POSITION"].toInt())["count"].toInt(), 4);
}

TEST(GlbExport, TrianglesFaceOutwardsAsTheViewportDrawsThem)
{
    const auto ball = Ball(12, 40.0f);
    const Glb glb = Glb::Parse(Export({{"ball", ball.get()}}));
    const QJsonObject surface = glb.json["meshes"][0]["primitives"][0].toObject();
    const std::vector<double> p = glb.Values(surface["attributes"]["POSITION"].toInt());
    const std::vector<double> idx = glb.Values(surface["indices"].toInt());
    ASSERT_FALSE(idx.empty());
    for (std::size_t t = 0; t < idx.size(); t += 3) {
        double v[3][3];
        for (int k = 0; k < 3; ++k)
            for (int d = 0; d < 3; ++d)
                v[k][d] = p[std::size_t(idx[t + std::size_t(k)]) * 3 + std::size_t(d)];
        const double e1[3] = {v[1][0] - v[0][0], v[1][1] - v[0][1], v[1][2] - v[0][2]};
        const double e2[3] = {v[2][0] - v[0][0], v[2][1] - v[0][1], v[2][2] - v[0][2]};
        const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                             e1[0] * e2[1] - e1[1] * e2[0]};
        // The ball's centre is the scene origin (L* 50).
        const double c[3] = {v[0][0] + v[1][0] + v[2][0], v[0][1] + v[1][1] + v[2][1], v[0][2] + v[1][2] + v[2][2]};
        EXPECT_GT(n[0] * c[0] + n[1] * c[1] + n[2] * c[2], 0.0) << "triangle " << t / 3;
    }
}

TEST(GlbExport, ColoursAreTheViewportsWithOpacityAsAlpha)
{
    struct Case {
        bool natural;
        std::int16_t opacity;
        int row;
        const char* alphaMode;
        float alpha;
    };
    const Case cases[] = {{false, 100, 1, "OPAQUE", 1.0f}, {false, 40, 3, "BLEND", 0.4f}, {true, 70, 0, "BLEND", 0.7f}};
    for (const auto& c : cases) {
        auto slot = Ball(6, 30.0f);
        slot->naturalColours = c.natural;
        slot->opacity = c.opacity;
        ShapeMesh mesh;
        ASSERT_TRUE(BuildShapeMesh(*slot, c.row, mesh));
        std::vector<std::uint8_t> file;
        ASSERT_TRUE(WriteShapesGlb({{"s", &mesh}}, file));
        const Glb glb = Glb::Parse(file);
        const QJsonObject surface = glb.json["meshes"][0]["primitives"][0].toObject();
        EXPECT_EQ(glb.json["materials"][surface["material"].toInt()]["alphaMode"].toString(), c.alphaMode);
        const std::vector<double> rgba = glb.Values(surface["attributes"]["COLOR_0"].toInt());
        // Vertex order is the strips' order: compare with the mesh vertex by vertex.
        std::size_t i = 0;
        for (const MeshRun& run : mesh.runs) {
            if (run.kind != MeshPrimitive::TriangleStrip)
                continue;
            for (const MeshVertex& v : run.vertices) {
                const MeshColour expected = c.natural ? v.colour : kRowColours[c.row];
                ASSERT_LT(i + 3, rgba.size());
                EXPECT_FLOAT_EQ(float(rgba[i]), expected.red);
                EXPECT_FLOAT_EQ(float(rgba[i + 1]), expected.green);
                EXPECT_FLOAT_EQ(float(rgba[i + 2]), expected.blue);
                EXPECT_FLOAT_EQ(float(rgba[i + 3]), c.alpha);
                i += 4;
            }
        }
        EXPECT_EQ(i, rgba.size());
    }
}

TEST(GlbExport, SeveralShapesAndNamesThatNeedEscaping)
{
    const auto a = Prism(4, 50.0f, 20.0f, 80.0f);
    const auto b = Ball(8, 30.0f);
    const std::string odd = "quo\"te\\back\nline \xC3\xA9t\xE9 \xFF.icc"; // Latin-1 bytes are not UTF-8
    const Glb glb = Glb::Parse(Export({{"a.icc", a.get()}, {odd, b.get()}}, 2));
    ASSERT_EQ(glb.json["nodes"].toArray().size(), 2);
    EXPECT_EQ(glb.json["scenes"][0]["nodes"].toArray().size(), 2);
    EXPECT_EQ(glb.json["nodes"][0]["name"].toString(), "a.icc");
    EXPECT_EQ(glb.json["nodes"][1]["name"].toString(),
              QString::fromUtf8("quo\"te\\back\nline \xC3\xA9t\xEF\xBF\xBD \xEF\xBF\xBD.icc"));
    EXPECT_EQ(glb.json["nodes"][1]["mesh"].toInt(), 1);
}

TEST(GlbExport, RefusesNothingToWriteAndNonFiniteCoordinates)
{
    std::vector<std::uint8_t> file = {1, 2, 3};
    EXPECT_FALSE(WriteShapesGlb({}, file));
    ShapeMesh empty;
    EXPECT_FALSE(WriteShapesGlb({{"empty", &empty}, {"null", nullptr}}, file));
    auto slot = Prism(4, 50.0f, 20.0f, 80.0f);
    slot->shape.points[1][2][0] = std::numeric_limits<float>::quiet_NaN();
    ShapeMesh mesh;
    ASSERT_TRUE(BuildShapeMesh(*slot, 0, mesh));
    EXPECT_FALSE(WriteShapesGlb({{"nan", &mesh}}, file));
    EXPECT_EQ(file, (std::vector<std::uint8_t>{1, 2, 3})) << "untouched on refusal";
}

// Writes a file for an outside validator when asked (tests/view3d/validate_glb.sh).
TEST(GlbExport, SampleForTheValidator)
{
    const char* target = std::getenv("QUILLON_GLB_SAMPLE");
    if (!target)
        GTEST_SKIP() << "QUILLON_GLB_SAMPLE not set";
    const auto a = Ball(32, 45.0f);
    auto b = Prism(16, 70.0f, 5.0f, 95.0f);
    b->opacity = 50;
    const std::vector<std::uint8_t> file = Export({{"ball \xC3\xA9", a.get()}, {"prism", b.get()}}, 1);
    std::ofstream out(target, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    ASSERT_TRUE(out.good());
}

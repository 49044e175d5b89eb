#include "course_mesh.h"

#include "atlas.h"
#include "fixed_places.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

namespace ruma::course {

namespace {

constexpr double kEps = 1e-6;
constexpr double kMinPiece = 0.01;
constexpr double kWallBevel = 0.05;
constexpr double kNosingBevel = 0.035;
// Deck tops this close to a hole's edge carry warning stripes.
constexpr double kStripeWidth = 0.6;
constexpr double kStartMarkSize = 2.0;

enum Normal { PosX, NegX, PosY, NegY, PosZ, NegZ, BevelPosX, BevelNegX, BevelPosZ, BevelNegZ };

// How a tile's texture follows the world: t = sign * (p[axis] - anchor) / size
// along both directions of the cell, with the tile picked by the piece's centre.
struct Mapping {
    Cell cell;
    int axisU;
    double signU, anchorU;
    int axisV;
    double signV, anchorV;
};

// A face of a box: the plane `normalAxis` = `plane`, spanning [lo, hi] along
// the two other axes a and b.
struct Face {
    int normalAxis, normalSign;
    double plane;
    int axisA, axisB;
    double a0, a1, b0, b1;
    Normal normal;
};

struct Decal {
    Cell cell;
    double x0, x1, z0, z1;
    int box;   // index of the box whose top carries it
};

using Chooser = std::function<Mapping(double a, double b)>;

using Point2 = std::array<double, 2>;
using Polygon2 = std::vector<Point2>;

// A face as drawn, before it is tiled: its normal, its plane (the normal's dot
// product with its points) and its corners.
struct Outline {
    Normal normal;
    double plane;
    std::vector<std::array<double, 3>> points;
};

struct MeshBuilder {
    Mesh mesh;
    std::map<std::tuple<double, double, double>, int> positionIndex;

    int position(double x, double y, double z)
    {
        auto key = std::make_tuple(x, y, z);
        auto it = positionIndex.find(key);
        if (it != positionIndex.end()) return it->second;
        int index = static_cast<int>(mesh.positions.size() / 3);
        mesh.positions.insert(mesh.positions.end(), {x, y, z});
        positionIndex.emplace(key, index);
        return index;
    }

    // Adds a polygon, turning it counter-clockwise as seen from outside.
    void polygon(const std::vector<std::array<double, 3>>& points, Normal normal,
                 const std::vector<std::array<double, 2>>& uvs)
    {
        const NormalVector& n = meshNormals()[normal];
        const auto& p0 = points[0];
        const auto& p1 = points[1];
        const auto& p2 = points[2];
        double e1[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        double e2[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        double cross[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        bool reverse = cross[0] * n.x + cross[1] * n.y + cross[2] * n.z < 0;
        std::vector<MeshCorner> face;
        for (size_t k = 0; k < points.size(); ++k) {
            size_t i = reverse ? points.size() - 1 - k : k;
            face.push_back({position(points[i][0], points[i][1], points[i][2]), normal, uvs[i][0], uvs[i][1]});
        }
        mesh.faces.push_back(face);
    }

    // Adds what of a polygon no earlier box draws in the same plane (`covers`),
    // in convex pieces whose texture follows the whole polygon's.
    void polygonOutside(const std::vector<std::array<double, 3>>& points, Normal normal,
                        const std::vector<std::array<double, 2>>& uvs, const std::vector<const Outline*>& covers);
};

std::array<double, 3> facePoint(const Face& f, double a, double b)
{
    std::array<double, 3> p{};
    p[f.normalAxis] = f.plane;
    p[f.axisA] = a;
    p[f.axisB] = b;
    return p;
}

// Faces in one plane are compared in two of the world's axes: the two the
// plane spans, or x and z for the slanted bevels.
std::array<int, 2> planeAxes(Normal normal)
{
    switch (normal) {
    case PosX:
    case NegX: return {2, 1};
    case PosY:
    case NegY: return {0, 2};
    case PosZ:
    case NegZ: return {0, 1};
    default: return {0, 2};
    }
}

double planeOf(Normal normal, const std::array<double, 3>& p)
{
    const NormalVector& n = meshNormals()[normal];
    return n.x * p[0] + n.y * p[1] + n.z * p[2];
}

Outline outline(Normal normal, const std::vector<std::array<double, 3>>& points)
{
    return {normal, planeOf(normal, points[0]), points};
}

Polygon2 project(const std::vector<std::array<double, 3>>& points, Normal normal)
{
    std::array<int, 2> axes = planeAxes(normal);
    Polygon2 out;
    for (const auto& p : points) out.push_back({p[axes[0]], p[axes[1]]});
    return out;
}

double signedArea(const Polygon2& poly)
{
    double sum = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const Point2 &p = poly[i], &q = poly[(i + 1) % poly.size()];
        sum += p[0] * q[1] - q[0] * p[1];
    }
    return 0.5 * sum;
}

double cross(const Point2& a, const Point2& b, const Point2& p)
{
    return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
}

// The part of a convex polygon on the left of a->b (or on its right).
Polygon2 clipHalf(const Polygon2& poly, const Point2& a, const Point2& b, bool left)
{
    Polygon2 out;
    double sign = left ? 1.0 : -1.0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const Point2 &p = poly[i], &q = poly[(i + 1) % poly.size()];
        double sp = sign * cross(a, b, p), sq = sign * cross(a, b, q);
        if (sp >= 0) out.push_back(p);
        if ((sp > 0 && sq < 0) || (sp < 0 && sq > 0)) {
            double t = sp / (sp - sq);
            Point2 r = {p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])};
            // a cut along an axis lands exactly on it
            if (a[0] == b[0]) r[0] = a[0];
            if (a[1] == b[1]) r[1] = a[1];
            out.push_back(r);
        }
    }
    // drop repeated corners and corners on a straight edge
    Polygon2 clean;
    for (size_t i = 0; i < out.size(); ++i) {
        const Point2 &prev = out[(i + out.size() - 1) % out.size()], &p = out[i], &next = out[(i + 1) % out.size()];
        if (std::fabs(p[0] - prev[0]) < kEps && std::fabs(p[1] - prev[1]) < kEps) continue;
        if (std::fabs(cross(prev, p, next)) < kEps * kEps) continue;
        clean.push_back(p);
    }
    return clean.size() < 3 ? Polygon2{} : clean;
}

constexpr double kMinArea = 1e-8;

// Convex `piece` minus convex `cover`: the pieces beyond each of the cover's
// edges in turn. A piece the cover does not overlap comes back untouched.
std::vector<Polygon2> subtract(const Polygon2& piece, Polygon2 cover)
{
    if (signedArea(cover) < 0) std::reverse(cover.begin(), cover.end());
    Polygon2 inside = piece;
    std::vector<Polygon2> beyond;
    for (size_t k = 0; k < cover.size() && !inside.empty(); ++k) {
        const Point2 &a = cover[k], &b = cover[(k + 1) % cover.size()];
        Polygon2 out = clipHalf(inside, a, b, false);
        if (std::fabs(signedArea(out)) > kMinArea) beyond.push_back(out);
        inside = clipHalf(inside, a, b, true);
    }
    if (inside.empty() || std::fabs(signedArea(inside)) <= kMinArea) return {piece};
    return beyond;
}

// A texture coordinate follows its polygon as drawn: affine over each
// triangle of the fan from the first corner.
std::array<double, 2> uvAt(const Polygon2& poly, const std::vector<std::array<double, 2>>& uvs, const Point2& p)
{
    std::array<double, 2> best = uvs[0];
    double bestOutside = 1e300;
    for (size_t k = 1; k + 1 < poly.size(); ++k) {
        const Point2 &a = poly[0], &b = poly[k], &c = poly[k + 1];
        double det = cross(a, b, c);
        if (std::fabs(det) < kMinArea) continue;
        double wb = cross(a, p, c) / det, wc = cross(a, b, p) / det, wa = 1.0 - wb - wc;
        double outside = std::max({0.0, -wa, -wb, -wc});
        if (outside < bestOutside) {
            bestOutside = outside;
            for (int i = 0; i < 2; ++i) best[i] = wa * uvs[0][i] + wb * uvs[k][i] + wc * uvs[k + 1][i];
        }
    }
    return best;
}

void MeshBuilder::polygonOutside(const std::vector<std::array<double, 3>>& points, Normal normal,
                                 const std::vector<std::array<double, 2>>& uvs,
                                 const std::vector<const Outline*>& covers)
{
    Polygon2 whole = project(points, normal);
    std::vector<Polygon2> pieces{whole};
    for (const Outline* cover : covers) {
        std::vector<Polygon2> next;
        for (const Polygon2& piece : pieces)
            for (Polygon2& part : subtract(piece, project(cover->points, normal))) next.push_back(std::move(part));
        pieces = std::move(next);
    }
    if (pieces.size() == 1 && pieces[0] == whole) {
        polygon(points, normal, uvs);
        return;
    }
    std::array<int, 2> axes = planeAxes(normal);
    const NormalVector& n = meshNormals()[normal];
    const double nv[3] = {n.x, n.y, n.z};
    int across = 3 - axes[0] - axes[1];
    double plane = planeOf(normal, points[0]);
    // new corners stay within the polygon's bounds to the last bit, so that
    // the mesh still spans exactly its box
    double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
    for (const auto& p : points)
        for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
    for (const Polygon2& piece : pieces) {
        std::vector<std::array<double, 3>> corners;
        std::vector<std::array<double, 2>> pieceUvs;
        for (const Point2& q : piece) {
            auto same = std::find(whole.begin(), whole.end(), q);
            if (same != whole.end()) {
                corners.push_back(points[same - whole.begin()]);
                pieceUvs.push_back(uvs[same - whole.begin()]);
                continue;
            }
            std::array<double, 3> p{};
            p[axes[0]] = q[0];
            p[axes[1]] = q[1];
            p[across] = (plane - nv[axes[0]] * q[0] - nv[axes[1]] * q[1]) / nv[across];
            if (nv[axes[0]] == 0 && nv[axes[1]] == 0) p[across] = points[0][across];
            for (int k = 0; k < 3; ++k) p[k] = std::clamp(p[k], lo[k], hi[k]);
            corners.push_back(p);
            pieceUvs.push_back(uvAt(whole, uvs, q));
        }
        polygon(corners, normal, pieceUvs);
    }
}

// Split lines of a face along one axis: every tile edge of the materials that
// may appear on it, and the edges of their regions.
std::vector<double> splits(double lo, double hi, int axis, const std::vector<Mapping>& candidates,
                           std::vector<double> extra)
{
    std::vector<double> lines{lo, hi};
    for (const Mapping& m : candidates) {
        CellSize size = cellSize(m.cell);
        for (int pass = 0; pass < 2; ++pass) {
            int mAxis = pass == 0 ? m.axisU : m.axisV;
            if (mAxis != axis) continue;
            double step = pass == 0 ? size.worldU : size.worldV;
            double anchor = pass == 0 ? m.anchorU : m.anchorV;
            for (double k = std::ceil((lo - anchor) / step); anchor + k * step < hi; k += 1.0)
                lines.push_back(anchor + k * step);
        }
    }
    for (double e : extra) lines.push_back(e);
    std::sort(lines.begin(), lines.end());
    // No sliver tiles: a line this close to another is dropped, and the tile
    // beside it reaches a little into its cell's gutter, which repeats the tile.
    std::vector<double> out{lo};
    for (double x : lines)
        if (x > out.back() + kMinPiece && x < hi - kMinPiece) out.push_back(x);
    out.push_back(hi);
    return out;
}

double tileCoordinate(double p, double sign, double anchor, double size, double centre)
{
    double index = std::floor(sign * (centre - anchor) / size);
    return sign * (p - anchor) / size - index;
}

void tileFace(MeshBuilder& builder, const Face& f, const std::vector<Mapping>& candidates,
              const std::vector<double>& extraA, const std::vector<double>& extraB, const Chooser& choose,
              const std::vector<const Outline*>& covers)
{
    std::vector<double> as = splits(f.a0, f.a1, f.axisA, candidates, extraA);
    std::vector<double> bs = splits(f.b0, f.b1, f.axisB, candidates, extraB);
    for (size_t i = 0; i + 1 < as.size(); ++i)
        for (size_t j = 0; j + 1 < bs.size(); ++j) {
            double ca = 0.5 * (as[i] + as[i + 1]), cb = 0.5 * (bs[j] + bs[j + 1]);
            Mapping m = choose(ca, cb);
            CellSize size = cellSize(m.cell);
            std::array<double, 3> centre = facePoint(f, ca, cb);
            std::vector<std::array<double, 3>> points = {facePoint(f, as[i], bs[j]), facePoint(f, as[i + 1], bs[j]),
                                                         facePoint(f, as[i + 1], bs[j + 1]), facePoint(f, as[i], bs[j + 1])};
            std::vector<std::array<double, 2>> uvs;
            for (const auto& p : points) {
                double tu = tileCoordinate(p[m.axisU], m.signU, m.anchorU, size.worldU, centre[m.axisU]);
                double tv = tileCoordinate(p[m.axisV], m.signV, m.anchorV, size.worldV, centre[m.axisV]);
                double u, v;
                atlasUv(m.cell, tu, tv, u, v);
                uvs.push_back({u, v});
            }
            builder.polygonOutside(points, f.normal, uvs, covers);
        }
}

bool isWalkable(const Box& b) { return b.kind != BoxKind::Wall && b.kind != BoxKind::Foundation; }

// How a box is cut in a variant: the high-resolution one bevels wall tops
// and stair nosings; the top face and the bevelled sides give way to the bevels.
struct Shape {
    double bevel = 0;
    std::array<bool, 4> bevelled{};   // MinX, MaxX, MinZ, MaxZ
    double tx0, tx1, tz0, tz1;        // the top face
};

Shape shapeOf(const Box& b, Variant variant)
{
    Shape s;
    if (variant == Variant::High) {
        if (b.kind == BoxKind::Wall) {
            s.bevel = kWallBevel;
            s.bevelled = {true, true, true, true};
        } else if (b.kind == BoxKind::Stair || b.kind == BoxKind::CatStair) {
            s.bevel = kNosingBevel;
            s.bevelled[static_cast<int>(b.front) - 1] = true;
        }
    }
    s.tx0 = b.x0 + (s.bevelled[0] ? s.bevel : 0);
    s.tx1 = b.x1 - (s.bevelled[1] ? s.bevel : 0);
    s.tz0 = b.z0 + (s.bevelled[2] ? s.bevel : 0);
    s.tz1 = b.z1 - (s.bevelled[3] ? s.bevel : 0);
    return s;
}

// Top, bottom, then the sides MinX, MaxX, MinZ, MaxZ.
std::array<Face, 6> facesOf(const Box& b, const Shape& s)
{
    auto sideTop = [&](int side) { return b.y1 - (s.bevelled[side] ? s.bevel : 0); };
    return {{
        {1, 1, b.y1, 0, 2, s.tx0, s.tx1, s.tz0, s.tz1, PosY},
        {1, -1, b.y0, 0, 2, b.x0, b.x1, b.z0, b.z1, NegY},
        {0, -1, b.x0, 2, 1, b.z0, b.z1, b.y0, sideTop(0), NegX},
        {0, 1, b.x1, 2, 1, b.z0, b.z1, b.y0, sideTop(1), PosX},
        {2, -1, b.z0, 0, 1, b.x0, b.x1, b.y0, sideTop(2), NegZ},
        {2, 1, b.z1, 0, 1, b.x0, b.x1, b.y0, sideTop(3), PosZ},
    }};
}

// A face lying wholly within another drawn box of the section is never seen;
// a side the bevel has eaten is not drawn either.
bool hiddenFace(const std::vector<Box>& boxes, int index, const Face& f)
{
    if (f.a1 <= f.a0 + kEps || f.b1 <= f.b0 + kEps) return true;
    double lo[3], hi[3];
    lo[f.normalAxis] = hi[f.normalAxis] = f.plane;
    lo[f.axisA] = f.a0;
    hi[f.axisA] = f.a1;
    lo[f.axisB] = f.b0;
    hi[f.axisB] = f.b1;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& o = boxes[i];
        if (static_cast<int>(i) == index || o.section != boxes[index].section || o.sliver) continue;
        if (o.x0 <= lo[0] + kEps && hi[0] <= o.x1 + kEps && o.y0 <= lo[1] + kEps && hi[1] <= o.y1 + kEps &&
            o.z0 <= lo[2] + kEps && hi[2] <= o.z1 + kEps)
            return true;
    }
    return false;
}

// A chamfer between the top and side `s` (MinX, MaxX, MinZ, MaxZ), mitred
// at the corners where the neighbouring sides are chamfered too.
Outline bevelOutline(const Box& b, const Shape& shape, int s)
{
    bool alongZ = s < 2;   // a strip on an x side runs along z
    bool atMax = s == 1 || s == 3;
    double outer = alongZ ? (atMax ? b.x1 : b.x0) : (atMax ? b.z1 : b.z0);
    double inner = alongZ ? (atMax ? shape.tx1 : shape.tx0) : (atMax ? shape.tz1 : shape.tz0);
    double o0 = alongZ ? b.z0 : b.x0, o1 = alongZ ? b.z1 : b.x1;                         // outer edge, full length
    double i0 = alongZ ? shape.tz0 : shape.tx0, i1 = alongZ ? shape.tz1 : shape.tx1;   // inner edge, as the top face
    double yOuter = b.y1 - shape.bevel;
    auto point = [&](double across, double along, double y) {
        return alongZ ? std::array<double, 3>{across, y, along} : std::array<double, 3>{along, y, across};
    };
    Normal n = alongZ ? (atMax ? BevelPosX : BevelNegX) : (atMax ? BevelPosZ : BevelNegZ);
    return outline(n, {point(outer, o0, yOuter), point(outer, o1, yOuter), point(inner, i1, b.y1),
                       point(inner, i0, b.y1)});
}

// Everything a box draws, face by face, before tiling.
std::vector<Outline> drawnOutlines(const std::vector<Box>& boxes, int index, Variant variant)
{
    const Box& b = boxes[index];
    std::vector<Outline> out;
    if (b.sliver) return out;
    Shape shape = shapeOf(b, variant);
    for (const Face& f : facesOf(b, shape))
        if (!hiddenFace(boxes, index, f))
            out.push_back(outline(f.normal, {facePoint(f, f.a0, f.b0), facePoint(f, f.a1, f.b0),
                                             facePoint(f, f.a1, f.b1), facePoint(f, f.a0, f.b1)}));
    for (int s = 0; s < 4; ++s)
        if (shape.bevelled[s]) out.push_back(bevelOutline(b, shape, s));
    return out;
}

bool boundsOverlap(const Polygon2& p, const Polygon2& q)
{
    for (int axis = 0; axis < 2; ++axis) {
        double pLo = 1e300, pHi = -1e300, qLo = 1e300, qHi = -1e300;
        for (const Point2& a : p) pLo = std::min(pLo, a[axis]), pHi = std::max(pHi, a[axis]);
        for (const Point2& a : q) qLo = std::min(qLo, a[axis]), qHi = std::max(qHi, a[axis]);
        if (pHi <= qLo + kEps || qHi <= pLo + kEps) return false;
    }
    return true;
}

// The faces of a box drawn with faces (everything but the foundation slivers).
class BoxMesher {
public:
    // `drawn`: the outlines of every box of the course in this variant.
    BoxMesher(const std::vector<Box>& boxes, int index, const std::vector<Decal>& decals, Variant variant,
              const std::vector<std::vector<Outline>>& drawn)
        : boxes_(boxes), index_(index), b_(boxes[index]), decals_(decals), variant_(variant), drawn_(drawn)
    {
    }

    Mesh build()
    {
        Shape shape = shapeOf(b_, variant_);
        std::array<Face, 6> faces = facesOf(b_, shape);
        if (!hiddenFace(boxes_, index_, faces[0])) top(faces[0]);
        if (!hiddenFace(boxes_, index_, faces[1])) bottom(faces[1]);
        for (int s = 2; s < 6; ++s)
            if (!hiddenFace(boxes_, index_, faces[s])) side(faces[s]);
        for (int s = 0; s < 4; ++s)
            if (shape.bevelled[s]) {
                Outline strip = bevelOutline(b_, shape, s);
                double u0, v0, u1, v1;
                atlasUv(Cell::Bevel, 0.1, 0.4, u0, v0);
                atlasUv(Cell::Bevel, 0.9, 0.6, u1, v1);
                builder_.polygonOutside(strip.points, strip.normal, {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}},
                                        covers(strip));
            }
        return builder_.mesh;
    }

private:
    const std::vector<Box>& boxes_;
    int index_;
    const Box& b_;
    const std::vector<Decal>& decals_;
    Variant variant_;
    const std::vector<std::vector<Outline>>& drawn_;
    MeshBuilder builder_;

    // Two faces in one plane facing the same way would tie in depth, and which
    // shows would change with the camera: where they overlap, the box that
    // comes first in the course draws, whatever its section, and the others
    // leave that part out.
    std::vector<const Outline*> covers(const Outline& own) const
    {
        Polygon2 mine = project(own.points, own.normal);
        std::vector<const Outline*> out;
        for (int j = 0; j < index_; ++j)
            for (const Outline& o : drawn_[j])
                if (o.normal == own.normal && std::fabs(o.plane - own.plane) < kEps &&
                    boundsOverlap(mine, project(o.points, o.normal)))
                    out.push_back(&o);
        return out;
    }

    std::vector<const Outline*> covers(const Face& f) const
    {
        return covers(outline(f.normal, {facePoint(f, f.a0, f.b0), facePoint(f, f.a1, f.b0),
                                         facePoint(f, f.a1, f.b1), facePoint(f, f.a0, f.b1)}));
    }

    static Mapping world(Cell cell, int axisU, double signU, int axisV, double signV)
    {
        return {cell, axisU, signU, 0.0, axisV, signV, 0.0};
    }

    void top(const Face& f)
    {
        Mapping base = world(Cell::Floor, 0, 1, 2, -1);
        switch (b_.kind) {
        case BoxKind::Floor: base.cell = b_.name == "goal platform" ? Cell::Goal : Cell::Floor; break;
        case BoxKind::Wall: base.cell = Cell::WallTop; break;
        case BoxKind::Pit: base.cell = Cell::PitBottom; break;
        case BoxKind::Foundation: base.cell = Cell::RockTop; break;
        case BoxKind::Stair:
        case BoxKind::CatStair: {
            // the tread's texture runs from its front edge, where the nosing is
            bool alongX = b_.front == Side::MinX || b_.front == Side::MaxX;
            bool atMin = b_.front == Side::MinX || b_.front == Side::MinZ;
            double front = alongX ? (atMin ? b_.x0 : b_.x1) : (atMin ? b_.z0 : b_.z1);
            base = {b_.kind == BoxKind::Stair ? Cell::Tread : Cell::CatTread, alongX ? 2 : 0, 1.0, 0.0,
                    alongX ? 0 : 2, atMin ? 1.0 : -1.0, front};
            break;
        }
        }
        std::vector<Mapping> candidates{base};
        std::vector<double> extraX, extraZ;
        struct Region {
            double x0, x1, z0, z1;
            Mapping mapping;
        };
        std::vector<Region> regions;
        for (const Decal& d : decals_)
            if (d.box == index_) {
                Mapping m{d.cell, 0, 1.0, d.x0, 2, 1.0, d.z0};
                regions.push_back({d.x0, d.x1, d.z0, d.z1, m});
                extraX.insert(extraX.end(), {d.x0, d.x1});
                extraZ.insert(extraZ.end(), {d.z0, d.z1});
            }
        if (b_.kind == BoxKind::Floor) {
            Mapping stripes = world(Cell::Stripes, 0, 1, 2, -1);
            for (const Hole& h : course().holes) {
                if (std::fabs(b_.y1 - h.deckTop) > kEps) continue;
                for (double edge : {h.x0, h.x1}) {
                    double x0 = edge == h.x0 ? edge - kStripeWidth : edge;
                    double x1 = edge == h.x0 ? edge : edge + kStripeWidth;
                    regions.push_back({x0, x1, h.z0, h.z1, stripes});
                    extraX.insert(extraX.end(), {x0, x1});
                }
            }
            candidates.push_back(stripes);
        }
        tileFace(builder_, f, candidates, extraX, extraZ, [&](double x, double z) {
            for (const Region& r : regions)
                if (x > r.x0 && x < r.x1 && z > r.z0 && z < r.z1) return r.mapping;
            return base;
        }, covers(f));
    }

    void bottom(const Face& f)
    {
        Mapping m = world(b_.kind == BoxKind::Foundation ? Cell::RockUnder : Cell::Underside, 0, 1, 2, 1);
        tileFace(builder_, f, {m}, {}, {}, [&](double, double) { return m; }, covers(f));
    }

    void side(const Face& f)
    {
        bool facesX = f.normalAxis == 0;
        // the texture's u runs so that a face is never seen mirrored
        double signU = facesX ? -f.normalSign : f.normalSign;
        auto pick = [facesX](Cell x, Cell z) { return facesX ? x : z; };
        Mapping base = world(Cell::WallX, f.axisA, signU, 1, 1);
        switch (b_.kind) {
        case BoxKind::Wall:
            // the goal's back wall shows the goal's chequer down the last flight
            base.cell = b_.name == "goal back wall" && f.normalSign < 0 ? Cell::Goal : pick(Cell::WallX, Cell::WallZ);
            break;
        case BoxKind::Foundation: base.cell = pick(Cell::RockSideX, Cell::RockSideZ); break;
        case BoxKind::Pit: base.cell = pick(Cell::PitWallX, Cell::PitWallZ); break;
        case BoxKind::Floor:
        case BoxKind::Stair:
        case BoxKind::CatStair: {
            // edges and risers are painted from their top edge down
            Cell x = b_.kind == BoxKind::Floor ? Cell::EdgeX : b_.kind == BoxKind::Stair ? Cell::RiserX : Cell::CatRiserX;
            Cell z = b_.kind == BoxKind::Floor ? Cell::EdgeZ : b_.kind == BoxKind::Stair ? Cell::RiserZ : Cell::CatRiserZ;
            base = {pick(x, z), f.axisA, signU, 0.0, 1, 1.0, f.b1};
            break;
        }
        }
        // Inside a pit the walls are dark, whatever they belong to.
        Mapping pit = world(pick(Cell::PitWallX, Cell::PitWallZ), f.axisA, signU, 1, 1);
        std::vector<Mapping> candidates{base};
        std::vector<double> extraA, extraB;
        std::vector<const Hole*> pits;
        for (const Hole& h : course().holes) {
            double lo = f.axisA == 0 ? h.x0 : h.z0, hi = f.axisA == 0 ? h.x1 : h.z1;
            double nlo = f.normalAxis == 0 ? h.x0 : h.z0, nhi = f.normalAxis == 0 ? h.x1 : h.z1;
            bool touches = f.plane >= nlo - kEps && f.plane <= nhi + kEps && f.a1 > lo && f.a0 < hi &&
                           f.b1 > h.pitTop && f.b0 < h.deckTop;
            if (!touches) continue;
            pits.push_back(&h);
            extraA.insert(extraA.end(), {lo, hi});
            extraB.insert(extraB.end(), {h.pitTop, h.deckTop});
        }
        if (!pits.empty()) candidates.push_back(pit);
        tileFace(builder_, f, candidates, extraA, extraB, [&](double a, double y) {
            for (const Hole* h : pits) {
                double lo = f.axisA == 0 ? h->x0 : h->z0, hi = f.axisA == 0 ? h->x1 : h->z1;
                if (a > lo && a < hi && y > h->pitTop && y < h->deckTop) return pit;
            }
            return base;
        }, covers(f));
    }
};

// A thin triangle from one corner of the box to the opposite one: its box is
// the whole box, yet it draws next to nothing.
void addSliver(MeshBuilder& builder, const Box& b)
{
    double u, v;
    atlasUv(Cell::RockUnder, 0.5, 0.5, u, v);
    builder.polygon({{b.x0, b.y0, b.z0}, {b.x1, b.y1, b.z1}, {b.x0 + 0.01, b.y0, b.z0}}, PosY,
                    {{u, v}, {u, v}, {u, v}});
}

bool spansBox(const Mesh& mesh, const Box& b)
{
    double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        lo[i % 3] = std::min(lo[i % 3], mesh.positions[i]);
        hi[i % 3] = std::max(hi[i % 3], mesh.positions[i]);
    }
    return lo[0] == b.x0 && hi[0] == b.x1 && lo[1] == b.y0 && hi[1] == b.y1 && lo[2] == b.z0 && hi[2] == b.z1;
}

// The highest walkable top under (x, z) not above y.
int topBelow(const std::vector<Box>& boxes, double x, double y, double z)
{
    int best = -1;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (!isWalkable(b) || x < b.x0 || x > b.x1 || z < b.z0 || z > b.z1 || b.y1 > y) continue;
        if (best < 0 || b.y1 > boxes[best].y1) best = static_cast<int>(i);
    }
    return best;
}

// Lamp marks on the floor under each lamp, and the start plate.
std::vector<Decal> decalsOf(const std::vector<Box>& boxes)
{
    std::vector<Decal> decals;
    double half = cellSize(Cell::LampMark).worldU / 2;
    for (const LampPlace& place : kLamps) {
        const Point3 lamp = asWritten(place);
        int target = topBelow(boxes, lamp.x, lamp.y, lamp.z);
        if (target >= 0) decals.push_back({Cell::LampMark, lamp.x - half, lamp.x + half, lamp.z - half, lamp.z + half, target});
    }
    double s = kStartMarkSize / 2;
    int start = topBelow(boxes, kPlayerStart.x, kPlayerStart.y, kPlayerStart.z);
    if (start >= 0)
        decals.push_back({Cell::Start, kPlayerStart.x - s, kPlayerStart.x + s, kPlayerStart.z - s,
                          kPlayerStart.z + s, start});
    return decals;
}

} // namespace

const std::vector<NormalVector>& meshNormals()
{
    static const double k = std::sqrt(0.5);
    static const std::vector<NormalVector> normals = {
        {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1},
        {k, k, 0}, {-k, k, 0}, {0, k, k}, {0, k, -k},
    };
    return normals;
}

std::vector<Mesh> buildSectionMeshes(int section, Variant variant)
{
    const std::vector<Box>& boxes = course().boxes;
    std::vector<Decal> decals = decalsOf(boxes);
    std::vector<std::vector<Outline>> drawn;
    for (size_t i = 0; i < boxes.size(); ++i) drawn.push_back(drawnOutlines(boxes, static_cast<int>(i), variant));
    std::vector<Mesh> meshes;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (b.section != section) continue;
        Mesh mesh;
        if (!b.sliver) mesh = BoxMesher(boxes, static_cast<int>(i), decals, variant, drawn).build();
        if (!spansBox(mesh, b)) {
            MeshBuilder builder;
            builder.mesh = mesh;
            addSliver(builder, b);
            mesh = builder.mesh;
        }
        meshes.push_back(std::move(mesh));
    }
    return meshes;
}

} // namespace ruma::course

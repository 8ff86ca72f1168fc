// Geometry for one model entry: shapes (quads, cards, discs, tubes,
// ellipsoids) turned into textured triangles on a Model_writer. Positions are
// model units; texture coordinates address the image with v = 0 at its top row.
#pragma once
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "resources/Model_writer.h"

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return Vec3{a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return Vec3{a.x * k, a.y * k, a.z * k}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalised(Vec3 a)
{
    double l = length(a);
    return l > 0 ? a * (1 / l) : Vec3{0, 0, 1};
}
// The point at `angle` (radians from +x) and distance r on the ground.
inline Vec3 horizontal(double angle, double r) { return Vec3{std::cos(angle) * r, std::sin(angle) * r, 0}; }

struct Uv {
    double u = 0, v = 0;
};

class Mesh_builder {
public:
    explicit Mesh_builder(Model_writer& writer) : out(writer) {}

    // Starts a mesh: the texture name with its two flag characters.
    void mesh(const std::string& texture_name) { out.begin_mesh(texture_name); }

    void triangle(Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc);
    // Corners in order round the quad.
    void quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td);
    // A flat card centred at c spanning c ± half_u ± half_v; the texture's
    // top-left corner (u0, v0) lands at c - half_u - half_v.
    void card(Vec3 c, Vec3 half_u, Vec3 half_v, double u0 = 0, double v0 = 0, double u1 = 1,
              double v1 = 1);
    // A flat elliptic disc in the plane z = c.z; texcoord(x, y) gives each
    // corner's texture coordinates. The middle reaches every other rim corner
    // and the corners between are ears: the lighting keeps its middle point,
    // and the edges across the disc, whose blocks software GL shades twice,
    // are half a fan's.
    void disc(Vec3 c, double rx, double ry, int segments, const std::function<Uv(double, double)>& texcoord);
    // A tube through the path with a radius per path point; the texture wraps
    // u_repeat times round it and repeats every v_length along it, starting
    // at v_start.
    void tube(const std::vector<Vec3>& path, const std::vector<double>& radii, int sides,
              double u_repeat, double v_length, double v_start = 0);
    // An ellipsoid with radii r along x, y, z; u runs round z, v from top to
    // bottom, with a Uv rectangle (u0, v0)-(u1, v1) of the texture.
    void ellipsoid(Vec3 c, Vec3 r, int slices, int stacks, double u0 = 0, double v0 = 0,
                   double u1 = 1, double v1 = 1);

    size_t triangle_count() const { return out.triangle_count(); }

private:
    Model_writer& out;
};

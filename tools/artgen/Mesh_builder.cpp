#include "Mesh_builder.h"

void Mesh_builder::triangle(Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc)
{
    const double p[9] = {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
    const double t[6] = {ta.u, ta.v, tb.u, tb.v, tc.u, tc.v};
    out.add_triangle(p, t);
}

void Mesh_builder::quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td)
{
    triangle(a, b, c, ta, tb, tc);
    triangle(a, c, d, ta, tc, td);
}

void Mesh_builder::card(Vec3 c, Vec3 hu, Vec3 hv, double u0, double v0, double u1, double v1)
{
    quad(c - hu - hv, c + hu - hv, c + hu + hv, c - hu + hv, Uv{u0, v0}, Uv{u1, v0}, Uv{u1, v1},
         Uv{u0, v1});
}

void Mesh_builder::disc(Vec3 c, double rx, double ry, int segments,
                        const std::function<Uv(double, double)>& texcoord)
{
    auto at = [&](int seg) {
        const double a = 2 * M_PI * seg / segments;
        return Vec3{c.x + rx * std::cos(a), c.y + ry * std::sin(a), c.z};
    };
    auto uv = [&](Vec3 p) { return texcoord(p.x, p.y); };
    for (int s = 0; s + 1 < segments; s += 2) {
        const Vec3 p = at(s), q = at(s + 1), w = at(s + 2);
        triangle(c, p, w, uv(c), uv(p), uv(w));
        triangle(p, q, w, uv(p), uv(q), uv(w));
    }
    if (segments % 2) {
        const Vec3 p = at(segments - 1), w = at(segments);
        triangle(c, p, w, uv(c), uv(p), uv(w));
    }
}

void Mesh_builder::tube(const std::vector<Vec3>& path, const std::vector<double>& radii, int sides,
                        double u_repeat, double v_length, double v_start)
{
    size_t n = path.size();
    if (n < 2 || radii.size() != n) return;
    // Frames carried along the path (parallel transport), so the tube does
    // not twist where the path bends.
    std::vector<Vec3> side_a(n), side_b(n);
    Vec3 t0 = normalised(path[1] - path[0]);
    Vec3 helper = std::fabs(t0.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    Vec3 a = normalised(cross(t0, helper));
    for (size_t i = 0; i < n; ++i) {
        Vec3 t = i + 1 < n ? normalised(path[i + 1] - path[i]) : normalised(path[i] - path[i - 1]);
        a = normalised(a - t * dot(a, t));
        side_a[i] = a;
        side_b[i] = cross(t, a);
    }
    std::vector<double> along(n, 0);
    for (size_t i = 1; i < n; ++i) along[i] = along[i - 1] + length(path[i] - path[i - 1]);
    auto ring = [&](size_t i, int s) {
        double ang = 2 * M_PI * s / sides;
        return path[i] + (side_a[i] * std::cos(ang) + side_b[i] * std::sin(ang)) * radii[i];
    };
    for (size_t i = 0; i + 1 < n; ++i)
        for (int s = 0; s < sides; ++s) {
            double u0 = u_repeat * s / sides, u1 = u_repeat * (s + 1) / sides;
            double v0 = v_start + along[i] / v_length, v1 = v_start + along[i + 1] / v_length;
            quad(ring(i, s), ring(i + 1, s), ring(i + 1, s + 1), ring(i, s + 1), Uv{u0, v0},
                 Uv{u0, v1}, Uv{u1, v1}, Uv{u1, v0});
        }
}

void Mesh_builder::ellipsoid(Vec3 c, Vec3 r, int slices, int stacks, double u0, double v0,
                             double u1, double v1)
{
    auto at = [&](int st, int sl) {
        double theta = M_PI * st / stacks, phi = 2 * M_PI * sl / slices;
        return Vec3{c.x + r.x * std::sin(theta) * std::cos(phi),
                    c.y + r.y * std::sin(theta) * std::sin(phi), c.z + r.z * std::cos(theta)};
    };
    auto uv = [&](int st, int sl) {
        return Uv{u0 + (u1 - u0) * sl / slices, v0 + (v1 - v0) * st / stacks};
    };
    for (int st = 0; st < stacks; ++st)
        for (int sl = 0; sl < slices; ++sl) {
            Vec3 a = at(st, sl), b = at(st + 1, sl), d = at(st + 1, sl + 1), e = at(st, sl + 1);
            if (st == 0)
                triangle(a, b, d, uv(st, sl), uv(st + 1, sl), uv(st + 1, sl + 1));
            else if (st == stacks - 1)
                triangle(a, b, e, uv(st, sl), uv(st + 1, sl), uv(st, sl + 1));
            else
                quad(a, b, d, e, uv(st, sl), uv(st + 1, sl), uv(st + 1, sl + 1), uv(st, sl + 1));
        }
}

// The five polyhedra. Their faces are derived once from the vertex sets (every
// triple of vertices at edge distance, or the five vertices nearest a face
// direction), so no hand-typed index table can be wrong; vertices and normals
// are placed through the software matrix stack.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "scene/matrix_stack.h"
#include "scene/shapes/shape_builders.h"

namespace vlm::scene::shapes {
namespace {

using Vec3 = std::array<double, 3>;

Vec3 sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 normalised(const Vec3& a) {
  const double l = std::sqrt(dot(a, a));
  return l > 0 ? Vec3{a[0] / l, a[1] / l, a[2] / l} : a;
}

struct Polyhedron {
  std::vector<Vec3> vertices;
  std::vector<std::vector<int>> faces;  // counter-clockwise seen from outside
};

// Triangular faces: every triple whose three edges have the squared length `edge2`.
Polyhedron triangles(std::vector<Vec3> vertices, double edge2) {
  Polyhedron p;
  p.vertices = std::move(vertices);
  const int n = static_cast<int>(p.vertices.size());
  auto isEdge = [&](int a, int b) {
    const Vec3 d = sub(p.vertices[a], p.vertices[b]);
    return std::fabs(dot(d, d) - edge2) < 1e-3;
  };
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b)
      for (int c = b + 1; c < n; ++c) {
        if (!isEdge(a, b) || !isEdge(b, c) || !isEdge(a, c)) continue;
        const Vec3& A = p.vertices[a];
        const Vec3 normal = cross(sub(p.vertices[b], A), sub(p.vertices[c], A));
        const Vec3 centre = {A[0] + p.vertices[b][0] + p.vertices[c][0], A[1] + p.vertices[b][1] + p.vertices[c][1],
                             A[2] + p.vertices[b][2] + p.vertices[c][2]};
        if (dot(normal, centre) >= 0)
          p.faces.push_back({a, b, c});
        else
          p.faces.push_back({a, c, b});
      }
  return p;
}

const Polyhedron& octahedron() {
  static const Polyhedron p = triangles({{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}, 2.0);
  return p;
}

const Polyhedron& tetrahedron() {
  static const Polyhedron p = [] {
    std::vector<Vec3> v = {normalised({1, 1, 1}), normalised({1, -1, -1}), normalised({-1, 1, -1}),
                           normalised({-1, -1, 1})};
    return triangles(v, 8.0 / 3.0);
  }();
  return p;
}

const Polyhedron& icosahedron() {
  static const Polyhedron p = [] {
    const double a = 0.52573, b = 0.85065;
    std::vector<Vec3> v;
    for (double s : {-1.0, 1.0})
      for (double t : {-1.0, 1.0}) {
        v.push_back(normalised({s * a, 0, t * b}));
        v.push_back(normalised({0, s * b, t * a}));
        v.push_back(normalised({s * b, t * a, 0}));
      }
    return triangles(v, 4.0 * a * a);
  }();
  return p;
}

const Polyhedron& dodecahedron() {
  static const Polyhedron p = [] {
    const double phi = 1.618034, inv = 0.618034;
    Polyhedron d;
    for (double x : {-1.0, 1.0})
      for (double y : {-1.0, 1.0})
        for (double z : {-1.0, 1.0}) d.vertices.push_back({x, y, z});
    for (double s : {-1.0, 1.0})
      for (double t : {-1.0, 1.0}) {
        d.vertices.push_back({0, s * inv, t * phi});
        d.vertices.push_back({s * inv, t * phi, 0});
        d.vertices.push_back({t * phi, 0, s * inv});
      }
    // Face directions: (0, +-phi, +-1) and its cyclic permutations.
    std::vector<Vec3> normals;
    for (double s : {-1.0, 1.0})
      for (double t : {-1.0, 1.0}) {
        normals.push_back(normalised({0, s * phi, t}));
        normals.push_back(normalised({t, 0, s * phi}));
        normals.push_back(normalised({s * phi, t, 0}));
      }
    for (const Vec3& n : normals) {
      std::vector<int> idx(d.vertices.size());
      for (size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int>(i);
      std::partial_sort(idx.begin(), idx.begin() + 5, idx.end(),
                        [&](int a, int b) { return dot(d.vertices[a], n) > dot(d.vertices[b], n); });
      idx.resize(5);
      Vec3 c{0, 0, 0};
      for (int i : idx)
        for (int k = 0; k < 3; ++k) c[k] += d.vertices[i][k] / 5.0;
      const Vec3 u = normalised(sub(d.vertices[idx[0]], c));
      const Vec3 v = cross(n, u);
      std::sort(idx.begin(), idx.end(), [&](int a, int b) {
        const Vec3 pa = sub(d.vertices[a], c), pb = sub(d.vertices[b], c);
        return std::atan2(dot(pa, v), dot(pa, u)) < std::atan2(dot(pb, v), dot(pb, u));
      });
      d.faces.push_back(idx);
    }
    return d;
  }();
  return p;
}

enum class Normals { Face, Vertex };

// Spherical texture coordinates from a vertex direction.
void texCoord(const Vec3& dir) {
  const Vec3 n = normalised(dir);
  glTexCoord2d(0.5 + std::atan2(n[1], n[0]) / (2.0 * M_PI), 0.5 + 0.5 * n[2]);
}

void emit(const Polyhedron& p, const MatrixStack& m, ShapeVariant v, Normals normals) {
  constexpr size_t kMaxVertices = 20;  // the dodecahedron has the most
  std::array<Vec3, kMaxVertices> pos{}, nor{};
  for (size_t i = 0; i < p.vertices.size(); ++i) {
    transformPoint(m, p.vertices[i].data(), pos[i].data());
    transformNormal(m, p.vertices[i].data(), nor[i].data());
  }
  const bool tex = v == SHAPE_TEXTURED;
  auto vertex = [&](int i) {
    if (normals == Normals::Vertex) glNormal3dv(nor[i].data());
    if (tex) texCoord(p.vertices[i]);
    glVertex3dv(pos[i].data());
  };
  if (v != SHAPE_WIREFRAME) glBegin(GL_TRIANGLES);
  for (const auto& f : p.faces) {
    const Vec3 faceNormal = normalised(cross(sub(pos[f[1]], pos[f[0]]), sub(pos[f[2]], pos[f[0]])));
    if (v == SHAPE_WIREFRAME) {
      glBegin(GL_LINE_LOOP);
      if (normals == Normals::Face) glNormal3dv(faceNormal.data());
      for (int i : f) vertex(i);
      glEnd();
      continue;
    }
    if (normals == Normals::Face) glNormal3dv(faceNormal.data());
    for (size_t k = 1; k + 1 < f.size(); ++k) {  // a fan: one triangle, or three for a pentagon
      vertex(f[0]);
      vertex(f[k]);
      vertex(f[k + 1]);
    }
  }
  if (v != SHAPE_WIREFRAME) glEnd();
}

}  // namespace

// Octahedron: radius 0.75 w across, stretched to stand from z = 0 to z = h.
void drawOctahedron(ShapeVariant v, float w, float h) {
  MatrixStack m;
  translateMatrix(m, 0, 0, h / 2.0);
  scaleMatrix(m, 0.75 * w, 0.75 * w, h / 2.0);
  emit(octahedron(), m, v, Normals::Face);
}

void drawTurnedOctahedron(ShapeVariant v, float w) {
  const double r = 0.75 * w;
  MatrixStack m;
  translateMatrix(m, 0, 0, r);
  rotateMatrix(m, 45.0, 2);
  scaleMatrix(m, r, r, r);
  emit(octahedron(), m, v, Normals::Vertex);
}

void drawTetrahedron(ShapeVariant v, float w) {
  const double r = 0.75 * w;
  MatrixStack m;
  translateMatrix(m, 0, 0, r / std::sqrt(3.0));  // the lowest corners rest on z = 0
  rotateMatrix(m, -45.0, 2);
  scaleMatrix(m, r, r, r);
  emit(tetrahedron(), m, v, Normals::Vertex);
}

void drawIcosahedron(ShapeVariant v, float w) {
  const double r = w / 2.0;
  MatrixStack m;
  rotateMatrix(m, -33.3, 1);
  translateMatrix(m, w / 2.0, w / 2.0, 0);
  scaleMatrix(m, r, r, r);
  emit(icosahedron(), m, v, Normals::Face);
}

void drawDodecahedron(ShapeVariant v, float w) {
  const double s = 0.5780346820809249 * w / 2.0;
  MatrixStack m;
  translateMatrix(m, 0, 0, w / 2.0);
  scaleMatrix(m, s, s, s);
  emit(dodecahedron(), m, v, Normals::Face);
}

}  // namespace vlm::scene::shapes

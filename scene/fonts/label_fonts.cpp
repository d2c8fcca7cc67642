#include "scene/fonts/label_fonts.h"

#include <GL/glu.h>

#include <QFontMetrics>
#include <QPainterPath>

#include <cmath>
#include <deque>
#include <vector>

#include "scene/fonts/code_page.h"
#include "scene/fonts/glyph_bitmaps.h"

namespace vlm::scene {
namespace {

bool printable(int code, QChar ch) { return code >= 32 && ch.isPrint(); }

// Vertices handed to the tessellator must stay where they are until the polygon ends.
struct TessScratch {
  std::deque<std::array<GLdouble, 3>> vertices;
};

void GLAPIENTRY tessBegin(GLenum mode) { glBegin(mode); }
void GLAPIENTRY tessEnd() { glEnd(); }
void GLAPIENTRY tessVertex(void* data) { glVertex3dv(static_cast<const GLdouble*>(data)); }
void GLAPIENTRY tessCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** out,
                            void* user) {
  auto* scratch = static_cast<TessScratch*>(user);
  scratch->vertices.push_back({coords[0], coords[1], coords[2]});
  *out = scratch->vertices.back().data();
}
void GLAPIENTRY tessError(GLenum) {}

void tessellateFace(GLUtesselator* tess, const QList<QPolygonF>& contours, double z, bool windingNonZero,
                    TessScratch& scratch) {
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, windingNonZero ? GLU_TESS_WINDING_NONZERO : GLU_TESS_WINDING_ODD);
  gluTessNormal(tess, 0.0, 0.0, z < 0.0 ? -1.0 : 1.0);
  glNormal3d(0.0, 0.0, z < 0.0 ? -1.0 : 1.0);
  gluTessBeginPolygon(tess, &scratch);
  for (const QPolygonF& poly : contours) {
    gluTessBeginContour(tess);
    for (const QPointF& p : poly) {
      scratch.vertices.push_back({p.x(), p.y(), z});
      gluTessVertex(tess, scratch.vertices.back().data(), scratch.vertices.back().data());
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
}

void sides(const QList<QPolygonF>& contours, double depth) {
  for (const QPolygonF& poly : contours) {
    if (poly.size() < 2) continue;
    glBegin(GL_QUAD_STRIP);
    for (qsizetype i = 0; i <= poly.size(); ++i) {
      const QPointF& p = poly[i % poly.size()];
      const QPointF& q = poly[(i + 1) % poly.size()];
      double nx = q.y() - p.y(), ny = p.x() - q.x();
      const double len = std::sqrt(nx * nx + ny * ny);
      if (len > 0.0) nx /= len, ny /= len;
      glNormal3d(nx, ny, 0.0);
      glVertex3d(p.x(), p.y(), 0.0);
      glVertex3d(p.x(), p.y(), -depth);
    }
    glEnd();
  }
}

}  // namespace

QFont labelQFont(const LabelFontSpec& spec, float pixelRatio) {
  QFont font(QString::fromStdString(spec.face));
  const float ratio = pixelRatio > 0.0f ? pixelRatio : 1.0f;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(static_cast<float>(std::abs(spec.height)) * ratio))));
  font.setWeight(spec.weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(spec.italic);
  return font;
}

float textAdvance(const LabelFontMetrics& m, std::string_view codes) {
  float sum = 0.0f;
  for (char c : codes) sum += m.advances[static_cast<unsigned char>(c)];
  return sum;
}

LabelFontMetrics makeBitmapGlyphLists(GLuint base, const QFont& font) {
  return makeGlyphBitmapLists(base, font, kLabelFontLists);
}

LabelFontMetrics makeOutlineGlyphLists(GLuint base, const QFont& font, float depth, float deviation) {
  LabelFontMetrics metrics;
  // Outlines are taken from a large rendering, so flattening stays well below the
  // deviation once scaled down to one em.
  const int pixelSize = std::max(64, static_cast<int>(std::ceil(4.0f / std::max(deviation, 1e-4f))));
  QFont big(font);
  big.setPixelSize(pixelSize);
  const QFontMetricsF fm(big);
  metrics.height = QFontMetrics(font).height();
  const double em = pixelSize;
  const QTransform toEm = QTransform::fromScale(1.0 / em, -1.0 / em);
  GLUtesselator* tess = gluNewTess();
  if (tess) {
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&tessBegin));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&tessEnd));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&tessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(&tessError));
  }
  for (int code = 0; code < kLabelFontLists; ++code) {
    const QChar ch(codePageChar(static_cast<unsigned char>(code)));
    const bool show = printable(code, ch);
    const float advance = show ? static_cast<float>(fm.horizontalAdvance(ch) / em) : 0.0f;
    metrics.advances[static_cast<size_t>(code)] = advance;
    glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
    if (show && tess) {
      QPainterPath path;
      path.addText(0.0, 0.0, big, QString(ch));
      const QList<QPolygonF> contours = path.toSubpathPolygons(toEm);
      if (!contours.isEmpty()) {
        TessScratch scratch;
        const bool nonZero = path.fillRule() == Qt::WindingFill;
        tessellateFace(tess, contours, 0.0, nonZero, scratch);
        if (depth > 0.0f) {
          tessellateFace(tess, contours, -static_cast<double>(depth), nonZero, scratch);
          sides(contours, depth);
        }
      }
    }
    glTranslatef(advance, 0.0f, 0.0f);
    glEndList();
  }
  if (tess) gluDeleteTess(tess);
  return metrics;
}

}  // namespace vlm::scene

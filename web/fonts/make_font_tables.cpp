// Writes font_tables.c: the glyphs of the GLUT fonts the desktop build draws with, taken from
// the system freeglut itself. The program defines glBitmap, glBegin, glVertex2f, glEnd and
// glTranslatef, so freeglut's font calls land here with their exact arguments instead of in
// libGL; it needs an X display only because freeglut draws nothing before glutInit and a window.
// Usage: make_font_tables OUTPUT.c   (run by make_font_tables.sh under a private Xvfb)
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int CHARACTERS = 256;
constexpr int BYTES_PER_LINE = 16;
constexpr int FLOATS_PER_LINE = 8;

// What the last font call handed to GL.
struct Capture {
  bool bitmap_called = false;
  int width = 0, height = 0;
  float xorig = 0, yorig = 0, xmove = 0, ymove = 0;
  std::vector<unsigned char> bits;

  bool translated = false;
  float right = 0;
  std::vector<std::vector<float>> strips;  // x, y pairs
  bool in_strip = false;
};

Capture capture;

struct BitmapSource {
  const char* table;  // C name of the table written
  void* font;
};

}  // namespace

//------------------------------------------------------------------------------
// The GL entry points freeglut's font code calls, answered here
//------------------------------------------------------------------------------

extern "C" {

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
              GLfloat ymove, const GLubyte* bitmap) {
  capture.bitmap_called = true;
  capture.width = width;
  capture.height = height;
  capture.xorig = xorig;
  capture.yorig = yorig;
  capture.xmove = xmove;
  capture.ymove = ymove;
  // freeglut unpacks with alignment 1: each row is padded to a whole byte only.
  const size_t row_bytes = (static_cast<size_t>(width) + 7) / 8;
  capture.bits.assign(bitmap, bitmap + row_bytes * static_cast<size_t>(height));
}

void glBegin(GLenum mode) {
  if (mode != GL_LINE_STRIP) {
    std::fprintf(stderr, "make_font_tables: stroke glyph drawn with mode %u\n", mode);
    std::exit(1);
  }
  capture.strips.emplace_back();
  capture.in_strip = true;
}

void glVertex2f(GLfloat x, GLfloat y) {
  if (!capture.in_strip) {
    std::fprintf(stderr, "make_font_tables: vertex outside a strip\n");
    std::exit(1);
  }
  capture.strips.back().push_back(x);
  capture.strips.back().push_back(y);
}

void glEnd() {
  capture.in_strip = false;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  if (y != 0.0f || z != 0.0f) {
    std::fprintf(stderr, "make_font_tables: stroke advance off the x axis\n");
    std::exit(1);
  }
  capture.translated = true;
  capture.right = x;
}

}  // extern "C"

namespace {

// Shortest text that reads back as the same float.
std::string float_text(float v) {
  char buf[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(v));
    if (std::strtof(buf, nullptr) == v) break;
  }
  std::string text = buf;
  if (text.find_first_of(".en") == std::string::npos) text += ".0";
  return text + "f";
}

void write_bitmap_font(FILE* out, const BitmapSource& source) {
  std::vector<unsigned char> bits;
  std::string glyphs;
  for (int c = 0; c < CHARACTERS; ++c) {
    capture = Capture();
    glutBitmapCharacter(source.font, c);
    const int advance = glutBitmapWidth(source.font, c);
    char line[256];
    if (!capture.bitmap_called) {
      std::snprintf(line, sizeof line, "    {0, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f, %d, 0},\n", advance);
    } else {
      std::snprintf(line, sizeof line, "    {1, %d, %d, %s, %s, %s, %s, %d, %zu},\n", capture.width,
                    capture.height, float_text(capture.xorig).c_str(),
                    float_text(capture.yorig).c_str(), float_text(capture.xmove).c_str(),
                    float_text(capture.ymove).c_str(), advance, bits.size());
      bits.insert(bits.end(), capture.bits.begin(), capture.bits.end());
    }
    glyphs += line;
  }

  std::fprintf(out, "\nstatic const unsigned char %s_BITS[] = {", source.table);
  for (size_t i = 0; i < bits.size(); ++i)
    std::fprintf(out, "%s0x%02x,", i % BYTES_PER_LINE == 0 ? "\n    " : " ", bits[i]);
  if (bits.empty()) std::fprintf(out, "0");
  std::fprintf(out,
               "\n};\n\nstatic const FontBitmapGlyph %s_GLYPHS[FONT_BITMAP_CHARACTERS] = {\n%s};\n",
               source.table, glyphs.c_str());
}

void write_stroke_font(FILE* out, const char* table, void* font) {
  std::vector<float> points;
  std::vector<size_t> sizes;
  std::string glyphs;
  for (int c = 0; c < CHARACTERS; ++c) {
    capture = Capture();
    glutStrokeCharacter(font, c);
    const int width = glutStrokeWidth(font, c);
    char line[256];
    if (!capture.translated) {
      std::snprintf(line, sizeof line, "    {0, 0, 0, 0, 0.0f, %d},\n", width);
    } else {
      std::snprintf(line, sizeof line, "    {1, %zu, %zu, %zu, %s, %d},\n", sizes.size(),
                    capture.strips.size(), points.size() / 2, float_text(capture.right).c_str(),
                    width);
      for (const auto& strip : capture.strips) {
        sizes.push_back(strip.size() / 2);
        points.insert(points.end(), strip.begin(), strip.end());
      }
    }
    glyphs += line;
  }

  std::fprintf(out, "\nstatic const unsigned short %s_STRIP_SIZES[] = {", table);
  for (size_t i = 0; i < sizes.size(); ++i)
    std::fprintf(out, "%s%zu,", i % BYTES_PER_LINE == 0 ? "\n    " : " ", sizes[i]);
  std::fprintf(out, "\n};\n\nstatic const float %s_POINTS[] = {", table);
  for (size_t i = 0; i < points.size(); ++i)
    std::fprintf(out, "%s%s,", i % FLOATS_PER_LINE == 0 ? "\n    " : " ",
                 float_text(points[i]).c_str());
  std::fprintf(out, "\n};\n\nstatic const FontStrokeGlyph %s_GLYPHS[%d] = {\n%s};\n", table,
               CHARACTERS, glyphs.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_font_tables OUTPUT.c\n");
    return 2;
  }
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA);
  glutCreateWindow("font tables");

  FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(
      out,
      "// Generated by web/fonts/make_font_tables.cpp (run web/fonts/make_font_tables.sh)\n"
      "// from the system freeglut's GLUT fonts, exactly as the desktop build draws them.\n"
      "// Do not edit: rerun the generator.\n"
      "#include \"font_tables.h\"\n");

  const BitmapSource bitmaps[] = {
      {"NINE_BY_FIFTEEN", GLUT_BITMAP_9_BY_15},
      {"TIMES_ROMAN_10", GLUT_BITMAP_TIMES_ROMAN_10},
      {"HELVETICA_12", GLUT_BITMAP_HELVETICA_12},
  };
  for (const BitmapSource& source : bitmaps) write_bitmap_font(out, source);
  write_stroke_font(out, "ROMAN", GLUT_STROKE_ROMAN);

  std::fprintf(
      out,
      "\nconst FontBitmap font_bitmap_9_by_15 = {NINE_BY_FIFTEEN_GLYPHS, NINE_BY_FIFTEEN_BITS};\n"
      "const FontBitmap font_bitmap_times_roman_10 = {TIMES_ROMAN_10_GLYPHS, "
      "TIMES_ROMAN_10_BITS};\n"
      "const FontBitmap font_bitmap_helvetica_12 = {HELVETICA_12_GLYPHS, HELVETICA_12_BITS};\n"
      "const FontStroke font_stroke_roman = {%d, ROMAN_GLYPHS, ROMAN_STRIP_SIZES, "
      "ROMAN_POINTS};\n",
      CHARACTERS);
  return std::fclose(out) == 0 ? 0 : 1;
}

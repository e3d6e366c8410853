// GLUT's bitmap and stroke fonts in the browser, drawn from the desktop fonts' own glyph tables
// (web/fonts): bitmaps through the GL layer's glBitmap, strokes as line strips then a glTranslatef
// by the glyph's advance, the very calls the desktop's freeglut makes.
#include "fonts/font_tables.h"
#include "gl/gl_web.h"

#include <GL/glut.h>

//------------------------------------------------------------------------------
// Globals: the font handles are these variables' addresses
//------------------------------------------------------------------------------

void* glutStrokeRoman;
void* glutBitmap9By15;
void* glutBitmapTimesRoman10;
void* glutBitmapHelvetica12;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

static const FontBitmap* fonts_bitmap(const void* font) {
  if (font == &glutBitmap9By15) return &font_bitmap_9_by_15;
  if (font == &glutBitmapTimesRoman10) return &font_bitmap_times_roman_10;
  if (font == &glutBitmapHelvetica12) return &font_bitmap_helvetica_12;
  return 0;
}

static const FontBitmapGlyph* fonts_bitmap_glyph(const FontBitmap* font, int character) {
  if (font == 0 || character < 0 || character >= FONT_BITMAP_CHARACTERS) return 0;
  return &font->glyphs[character];
}

static const FontStrokeGlyph* fonts_stroke_glyph(const void* font, int character) {
  if (font != &glutStrokeRoman) return 0;
  if (character < 0 || character >= font_stroke_roman.count) return 0;
  return &font_stroke_roman.glyphs[character];
}

//------------------------------------------------------------------------------
// GLUT entry points
//------------------------------------------------------------------------------

void glutBitmapCharacter(void* font, int character) {
  const FontBitmap* table = fonts_bitmap(font);
  const FontBitmapGlyph* glyph = fonts_bitmap_glyph(table, character);
  if (glyph == 0 || !glyph->drawn) return;
  gl_web_bitmap(glyph->width, glyph->height, glyph->xorig, glyph->yorig, glyph->xmove, glyph->ymove,
                table->bits + glyph->offset);
}

int glutBitmapWidth(void* font, int character) {
  const FontBitmapGlyph* glyph = fonts_bitmap_glyph(fonts_bitmap(font), character);
  return glyph != 0 ? glyph->advance : 0;
}

// The widest line of the string, lines ending at '\n'.
int glutBitmapLength(void* font, const unsigned char* string) {
  const FontBitmap* table = fonts_bitmap(font);
  if (table == 0 || string == 0) return 0;
  int widest = 0, line = 0;
  for (; *string != '\0'; ++string) {
    if (*string == '\n') {
      if (line > widest) widest = line;
      line = 0;
    } else {
      line += table->glyphs[*string].advance;
    }
  }
  return line > widest ? line : widest;
}

void glutStrokeCharacter(void* font, int character) {
  const FontStrokeGlyph* glyph = fonts_stroke_glyph(font, character);
  if (glyph == 0 || !glyph->drawn) return;
  const float* point = font_stroke_roman.points + 2 * glyph->first_point;
  for (int s = 0; s < glyph->strip_count; ++s) {
    const int size = font_stroke_roman.strip_sizes[glyph->first_strip + s];
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < size; ++i, point += 2) glVertex2f(point[0], point[1]);
    glEnd();
  }
  glTranslatef(glyph->right, 0.0f, 0.0f);
}

int glutStrokeWidth(void* font, int character) {
  const FontStrokeGlyph* glyph = fonts_stroke_glyph(font, character);
  return glyph != 0 ? glyph->width : 0;
}

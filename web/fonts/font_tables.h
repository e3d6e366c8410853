// Glyph tables of the four GLUT fonts the desktop build draws with, for the browser's GLUT.
// Filled by font_tables.c, which make_font_tables.cpp generates from the desktop's freeglut;
// read only by web/glut/glut_fonts.c. Bitmap units are pixels, stroke units font units.
#ifndef TERNIVAL_WEB_FONTS_FONT_TABLES_H
#define TERNIVAL_WEB_FONTS_FONT_TABLES_H

#ifdef __cplusplus
extern "C" {
#endif

// Characters a bitmap font table covers (0..255); a stroke font covers its own count.
#define FONT_BITMAP_CHARACTERS 256

// One bitmap glyph exactly as the desktop passes it to glBitmap.
typedef struct FontBitmapGlyph {
  unsigned char drawn;   // 0: the desktop draws nothing and does not advance
  unsigned char width;   // bitmap columns
  unsigned char height;  // bitmap rows
  float xorig, yorig;    // bitmap origin, pixels from the raster position
  float xmove, ymove;    // raster advance after drawing
  int advance;           // what glutBitmapWidth answers
  unsigned int offset;   // first byte in the font's bits: rows bottom first, each padded to a byte
} FontBitmapGlyph;

typedef struct FontBitmap {
  const FontBitmapGlyph* glyphs;  // FONT_BITMAP_CHARACTERS entries
  const unsigned char* bits;
} FontBitmap;

// One stroke glyph: line strips, then a translation by `right` along x.
typedef struct FontStrokeGlyph {
  unsigned char drawn;         // 0: the desktop draws nothing and does not translate
  unsigned short first_strip;  // into the font's strip sizes
  unsigned short strip_count;
  unsigned int first_point;  // into the font's points (x, y pairs)
  float right;               // the translation after the glyph, font units
  int width;                 // what glutStrokeWidth answers
} FontStrokeGlyph;

typedef struct FontStroke {
  int count;  // characters 0..count-1
  const FontStrokeGlyph* glyphs;
  const unsigned short* strip_sizes;  // points per line strip
  const float* points;                // x, y pairs in font units
} FontStroke;

extern const FontBitmap font_bitmap_9_by_15;
extern const FontBitmap font_bitmap_times_roman_10;
extern const FontBitmap font_bitmap_helvetica_12;
extern const FontStroke font_stroke_roman;

#ifdef __cplusplus
}
#endif

#endif

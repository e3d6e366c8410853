// GLUT for the browser build: the subset Ternival calls, with freeglut's values and signatures.
// Implemented by web/glut (windows as canvases and rectangles of them, DOM input, fonts);
// included by src/ through GL/freeglut.h. Window coordinates are pixels, y down, as in GLUT.
#ifndef TERNIVAL_WEB_GL_GLUT_H
#define TERNIVAL_WEB_GL_GLUT_H

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GLUT_API_VERSION 4

// Mouse buttons, button states and window entry.
#define GLUT_LEFT_BUTTON 0x0000
#define GLUT_MIDDLE_BUTTON 0x0001
#define GLUT_RIGHT_BUTTON 0x0002
#define GLUT_DOWN 0x0000
#define GLUT_UP 0x0001
#define GLUT_LEFT 0x0000
#define GLUT_ENTERED 0x0001

// Display mode bits.
#define GLUT_RGB 0x0000
#define GLUT_RGBA 0x0000
#define GLUT_SINGLE 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010

// Modifier bits answered by glutGetModifiers.
#define GLUT_ACTIVE_SHIFT 0x0001
#define GLUT_ACTIVE_CTRL 0x0002
#define GLUT_ACTIVE_ALT 0x0004

// glutGet queries.
#define GLUT_WINDOW_X 0x0064
#define GLUT_WINDOW_Y 0x0065
#define GLUT_WINDOW_WIDTH 0x0066
#define GLUT_WINDOW_HEIGHT 0x0067
#define GLUT_WINDOW_PARENT 0x0075
#define GLUT_WINDOW_NUM_CHILDREN 0x0076
#define GLUT_SCREEN_WIDTH 0x00C8
#define GLUT_SCREEN_HEIGHT 0x00C9
#define GLUT_ELAPSED_TIME 0x02BC

// Font handles: opaque addresses, as freeglut has them on X11.
extern void* glutStrokeRoman;
extern void* glutBitmap9By15;
extern void* glutBitmapTimesRoman10;
extern void* glutBitmapHelvetica12;
#define GLUT_STROKE_ROMAN ((void*)&glutStrokeRoman)
#define GLUT_BITMAP_9_BY_15 ((void*)&glutBitmap9By15)
#define GLUT_BITMAP_TIMES_ROMAN_10 ((void*)&glutBitmapTimesRoman10)
#define GLUT_BITMAP_HELVETICA_12 ((void*)&glutBitmapHelvetica12)

// Initialisation and the main loop (which never returns).
void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowPosition(int x, int y);
void glutInitWindowSize(int width, int height);
void glutMainLoop(void);

// Windows.
int glutCreateWindow(const char* title);
int glutCreateSubWindow(int window, int x, int y, int width, int height);
void glutSetWindow(int window);
int glutGetWindow(void);
void glutShowWindow(void);
void glutHideWindow(void);
void glutPopWindow(void);
void glutReshapeWindow(int width, int height);
void glutPostRedisplay(void);
void glutSwapBuffers(void);
int glutGet(GLenum query);
int glutGetModifiers(void);

// Callbacks of the current window.
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutMouseFunc(void (*callback)(int button, int state, int x, int y));
void glutMotionFunc(void (*callback)(int x, int y));
void glutPassiveMotionFunc(void (*callback)(int x, int y));
void glutEntryFunc(void (*callback)(int state));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));

// Fonts.
void glutBitmapCharacter(void* font, int character);
int glutBitmapWidth(void* font, int character);
int glutBitmapLength(void* font, const unsigned char* string);
void glutStrokeCharacter(void* font, int character);
int glutStrokeWidth(void* font, int character);

#ifdef __cplusplus
}
#endif

#endif

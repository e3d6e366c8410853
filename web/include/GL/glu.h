// GLU as the browser build offers it: projection helpers, quadrics (spheres, cylinders) and the
// NURBS curve renderer, with GLU's standard enum values. Implemented by web/glu on top of web/gl;
// included by src/ and GLUT. Window coordinates are pixels with y up.
#ifndef TERNIVAL_WEB_GL_GLU_H
#define TERNIVAL_WEB_GL_GLU_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

//------------------------------------------------------------------------------
// Types
//------------------------------------------------------------------------------

typedef struct GLUquadric GLUquadric;
typedef struct GLUquadric GLUquadricObj;
typedef struct GLUnurbs GLUnurbs;
typedef struct GLUnurbs GLUnurbsObj;

//------------------------------------------------------------------------------
// Enum values
//------------------------------------------------------------------------------

#define GLU_FALSE 0
#define GLU_TRUE 1

// Quadric draw styles, normals and orientation.
#define GLU_SMOOTH 100000
#define GLU_FLAT 100001
#define GLU_NONE 100002
#define GLU_POINT 100010
#define GLU_LINE 100011
#define GLU_FILL 100012
#define GLU_SILHOUETTE 100013
#define GLU_OUTSIDE 100020
#define GLU_INSIDE 100021

// NURBS properties and their values.
#define GLU_AUTO_LOAD_MATRIX 100200
#define GLU_CULLING 100201
#define GLU_PARAMETRIC_TOLERANCE 100202
#define GLU_SAMPLING_TOLERANCE 100203
#define GLU_DISPLAY_MODE 100204
#define GLU_SAMPLING_METHOD 100205
#define GLU_U_STEP 100206
#define GLU_V_STEP 100207
#define GLU_PATH_LENGTH 100215
#define GLU_PARAMETRIC_ERROR 100216
#define GLU_DOMAIN_DISTANCE 100217
#define GLU_OUTLINE_POLYGON 100240
#define GLU_OUTLINE_PATCH 100241
#define GLU_NURBS_ERROR 100103
#define GLU_ERROR 100103

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble z_near, GLdouble z_far);
GLint gluProject(GLdouble obj_x, GLdouble obj_y, GLdouble obj_z, const GLdouble model[16],
                 const GLdouble proj[16], const GLint viewport[4], GLdouble* win_x, GLdouble* win_y,
                 GLdouble* win_z);

GLUquadric* gluNewQuadric(void);
void gluDeleteQuadric(GLUquadric* quad);
void gluQuadricDrawStyle(GLUquadric* quad, GLenum draw);
void gluQuadricNormals(GLUquadric* quad, GLenum normal);
void gluQuadricOrientation(GLUquadric* quad, GLenum orientation);
void gluSphere(GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks);
void gluCylinder(GLUquadric* quad, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                 GLint stacks);

GLUnurbs* gluNewNurbsRenderer(void);
void gluDeleteNurbsRenderer(GLUnurbs* nurb);
void gluNurbsProperty(GLUnurbs* nurb, GLenum property, GLfloat value);
void gluBeginCurve(GLUnurbs* nurb);
void gluNurbsCurve(GLUnurbs* nurb, GLint knot_count, GLfloat* knots, GLint stride, GLfloat* control,
                   GLint order, GLenum type);
void gluEndCurve(GLUnurbs* nurb);

#ifdef __cplusplus
}
#endif

#endif

// OpenGL 1.1 over WebGL 1: the part of it that the program calls. Matrix
// stacks, immediate-mode quads and strips, and OpenGL 1.1's lighting of one
// positional light, per vertex, in a shader, as a desktop GL does it.
//
// Emscripten's own LEGACY_GL_EMULATION draws this scene wrongly: one
// glNormal3f per four glVertex3f scrambles its vertex stream, it records
// GL_LIGHT_MODEL_TWO_SIDE and never uses it, takes a positional light for a
// directional one, throws on glMaterialfv with GL_BACK, cuts colours made in
// glBegin/glEnd to 8 bits and drops GL_NORMALIZE. This file does those the way
// Mesa's llvmpipe draws the references in tests/reference/: both faces lit,
// the face chosen by its winding on the screen (counter-clockwise is front),
// each quad drawn as the triangles (0, 1, 2) and (0, 2, 3), colours kept as
// floats, clamped to [0, 1], until the fragment.
#include <GL/gl.h>
#include <webgl/webgl1.h>

#include <cmath>
#include <cstring>

namespace {

const int stackDepth = 32;      // matrices per stack, OpenGL's least for the modelview
const int maxVertices = 16384;  // per glBegin/glEnd; quads are drawn and started again when full
const int floatsPerVertex = 6;  // position x, y, z, then normal x, y, z
const int maxQuads = maxVertices / 4;
const double pi = 3.14159265358979323846;

// OpenGL's start-up values throughout.
struct Light {
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float position[4] = {0.0f, 0.0f, 1.0f, 0.0f};  // eye coordinates
};

struct Material {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
};

struct Matrix {
    float m[16];  // cppcheck-suppress unusedStructMember ; column-major, as OpenGL's; read through top()
};

const Matrix identity = {
    {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}};

struct GlState {
    Matrix matrices[2][stackDepth] = {{identity}, {identity}};  // [modelview, projection][depth]
    int depth[2] = {0, 0};                                      // index of each stack's top
    int mode = 0;                                               // 0 modelview, 1 projection

    Material material;
    Light light;
    float modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    bool twoSide = false, lighting = false, light0 = false, normalize = false;

    GLenum primitive = GL_QUADS;
    float normal[3] = {0.0f, 0.0f, 1.0f};
    float vertices[maxVertices][floatsPerVertex] = {};
    int count = 0;

    GLuint program = 0, vertexBuffer = 0, quadIndices = 0;
    GLint modelview = -1, modelviewProjection = -1, normalMatrix = -1, lightPosition = -1, sceneColor = -1,
          ambient = -1, diffuse = -1, specular = -1, shininess = -1, lightingOn = -1, light0On = -1,
          normalizeOn = -1, twoSideOn = -1;
};

GlState gl;

// OpenGL 1.1's lighting equation, less emission, spot lights and attenuation
// (the program uses none): the products of material and light come in from
// the uniforms, computed once per draw as Mesa does.
const char* const vertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
uniform mat4 modelview, modelviewProjection;
uniform mat3 normalMatrix;
uniform vec4 lightPosition;  // eye coordinates
uniform vec4 sceneColor, ambient, diffuse, specular;
uniform float shininess;
uniform bool lightingOn, light0On, normalizeOn;
varying vec4 frontColor, backColor;

vec4 lit(vec3 n, vec3 eye) {
    vec4 color = sceneColor;
    if (light0On) {
        vec3 toLight = normalize(lightPosition.xyz - eye * lightPosition.w);
        float diffuseFactor = dot(n, toLight);
        color += ambient;
        if (diffuseFactor > 0.0) {
            vec3 halfVector = normalize(toLight + vec3(0.0, 0.0, 1.0));  // an infinite viewer
            color += diffuseFactor * diffuse + pow(max(dot(n, halfVector), 0.0), shininess) * specular;
        }
    }
    return clamp(color, 0.0, 1.0);
}

void main() {
    vec3 eye = (modelview * vec4(position, 1.0)).xyz;
    vec3 n = normalMatrix * normal;
    if (normalizeOn) n = normalize(n);
    gl_Position = modelviewProjection * vec4(position, 1.0);
    frontColor = lightingOn ? lit(n, eye) : vec4(1.0);
    backColor = lightingOn ? lit(-n, eye) : vec4(1.0);
}
)";

const char* const fragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform bool twoSideOn;
varying vec4 frontColor, backColor;
void main() {
    gl_FragColor = gl_FrontFacing || !twoSideOn ? frontColor : backColor;
}
)";

float* top()
{
    return gl.matrices[gl.mode][gl.depth[gl.mode]].m;
}

// out = a * b, all column-major 4 x 4.
void multiply(const float* a, const float* b, float* out)
{
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
    }
}

// The current matrix times m, as every OpenGL matrix call does.
void apply(const float* m)
{
    float product[16];
    multiply(top(), m, product);
    std::memcpy(top(), product, sizeof product);
}

void setIdentity(float* m)
{
    for (int i = 0; i < 16; ++i) m[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

// The inverse transpose of m's upper 3 x 3, which turns normals into eye
// coordinates: its cofactors over its determinant; column-major 3 x 3.
void normalMatrixOf(const float* m, float* out)
{
    auto at = [m](int row, int column) { return m[(column % 3) * 4 + row % 3]; };
    float cofactors[9];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            cofactors[column * 3 + row] = at(row + 1, column + 1) * at(row + 2, column + 2) -
                                          at(row + 1, column + 2) * at(row + 2, column + 1);
        }
    }
    const float determinant = m[0] * cofactors[0] + m[4] * cofactors[3] + m[8] * cofactors[6];
    for (int i = 0; i < 9; ++i) out[i] = cofactors[i] / determinant;
}

void copy4(float* to, const float* from)
{
    std::memcpy(to, from, 4 * sizeof(float));
}

// product = a * b, per channel, with alpha 0: the terms added to the scene colour.
void product4(const float* a, const float* b, float* product)
{
    for (int i = 0; i < 3; ++i) product[i] = a[i] * b[i];
    product[3] = 0.0f;
}

GLuint compile(GLenum type, const char* source)
{
    const GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

// Compiles the shaders and makes the buffers, at the first draw: the GL
// context exists from glutCreateWindow on.
void prepare()
{
    gl.program = emscripten_glCreateProgram();
    emscripten_glAttachShader(gl.program, compile(GL_VERTEX_SHADER, vertexShader));
    emscripten_glAttachShader(gl.program, compile(GL_FRAGMENT_SHADER, fragmentShader));
    emscripten_glBindAttribLocation(gl.program, 0, "position");
    emscripten_glBindAttribLocation(gl.program, 1, "normal");
    emscripten_glLinkProgram(gl.program);
    emscripten_glUseProgram(gl.program);
    const GLuint program = gl.program;
    auto uniform = [program](const char* name) { return emscripten_glGetUniformLocation(program, name); };
    gl.modelview = uniform("modelview");
    gl.modelviewProjection = uniform("modelviewProjection");
    gl.normalMatrix = uniform("normalMatrix");
    gl.lightPosition = uniform("lightPosition");
    gl.sceneColor = uniform("sceneColor");
    gl.ambient = uniform("ambient");
    gl.diffuse = uniform("diffuse");
    gl.specular = uniform("specular");
    gl.shininess = uniform("shininess");
    gl.lightingOn = uniform("lightingOn");
    gl.light0On = uniform("light0On");
    gl.normalizeOn = uniform("normalizeOn");
    gl.twoSideOn = uniform("twoSideOn");

    emscripten_glGenBuffers(1, &gl.vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gl.vertexBuffer);
    const GLsizei stride = floatsPerVertex * sizeof(float);
    emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): GL takes the offset into the buffer as a pointer
    const void* normalOffset = reinterpret_cast<void*>(3 * sizeof(float));
    emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, normalOffset);
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glEnableVertexAttribArray(1);

    // Each quad v0 v1 v2 v3 as the triangles (v0, v1, v2) and (v0, v2, v3).
    static GLushort indices[maxQuads * 6];
    for (int quad = 0; quad < maxQuads; ++quad) {
        const int first = quad * 4;
        const int pattern[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i) indices[quad * 6 + i] = static_cast<GLushort>(first + pattern[i]);
    }
    emscripten_glGenBuffers(1, &gl.quadIndices);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gl.quadIndices);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
}

// Hands the matrices, the light and the material of this moment to the shader.
void setUniforms()
{
    const float* modelview = gl.matrices[0][gl.depth[0]].m;
    float modelviewProjection[16], normalMatrix[9];
    multiply(gl.matrices[1][gl.depth[1]].m, modelview, modelviewProjection);
    normalMatrixOf(modelview, normalMatrix);
    emscripten_glUniformMatrix4fv(gl.modelview, 1, GL_FALSE, modelview);
    emscripten_glUniformMatrix4fv(gl.modelviewProjection, 1, GL_FALSE, modelviewProjection);
    emscripten_glUniformMatrix3fv(gl.normalMatrix, 1, GL_FALSE, normalMatrix);
    emscripten_glUniform4fv(gl.lightPosition, 1, gl.light.position);

    const Material& m = gl.material;
    float sceneColor[4], ambient[4], diffuse[4], specular[4];
    product4(m.ambient, gl.modelAmbient, sceneColor);
    sceneColor[3] = m.diffuse[3];  // a lit colour's alpha is the material's diffuse alpha
    product4(m.ambient, gl.light.ambient, ambient);
    product4(m.diffuse, gl.light.diffuse, diffuse);
    product4(m.specular, gl.light.specular, specular);
    emscripten_glUniform4fv(gl.sceneColor, 1, sceneColor);
    emscripten_glUniform4fv(gl.ambient, 1, ambient);
    emscripten_glUniform4fv(gl.diffuse, 1, diffuse);
    emscripten_glUniform4fv(gl.specular, 1, specular);
    emscripten_glUniform1f(gl.shininess, m.shininess);
    emscripten_glUniform1i(gl.lightingOn, gl.lighting);
    emscripten_glUniform1i(gl.light0On, gl.light0);
    emscripten_glUniform1i(gl.normalizeOn, gl.normalize);
    emscripten_glUniform1i(gl.twoSideOn, gl.twoSide);
}

// Draws the vertices collected since glBegin.
void flush()
{
    if (gl.count == 0) return;
    if (gl.program == 0) prepare();
    setUniforms();
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            gl.count * floatsPerVertex * static_cast<GLsizeiptr>(sizeof(float)), gl.vertices,
                            GL_STREAM_DRAW);
    if (gl.primitive == GL_QUADS) {
        emscripten_glDrawElements(GL_TRIANGLES, gl.count / 4 * 6, GL_UNSIGNED_SHORT, nullptr);
    } else {
        emscripten_glDrawArrays(gl.primitive, 0, gl.count);
    }
    gl.count = 0;
}

}  // namespace

void glBegin(GLenum mode)
{
    gl.primitive = mode;
    gl.count = 0;
}

void glEnd()
{
    flush();
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    gl.normal[0] = x;
    gl.normal[1] = y;
    gl.normal[2] = z;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (gl.count == maxVertices && gl.primitive == GL_QUADS) flush();
    if (gl.count == maxVertices) return;  // a longer strip is cut short
    float* vertex = gl.vertices[gl.count++];
    vertex[0] = x;
    vertex[1] = y;
    vertex[2] = z;
    std::memcpy(vertex + 3, gl.normal, sizeof gl.normal);
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params)
{
    if (face != GL_FRONT_AND_BACK) return;  // both faces share one material here
    switch (pname) {
        case GL_AMBIENT:
            copy4(gl.material.ambient, params);
            break;
        case GL_DIFFUSE:
            copy4(gl.material.diffuse, params);
            break;
        case GL_SPECULAR:
            copy4(gl.material.specular, params);
            break;
        case GL_SHININESS:
            gl.material.shininess = params[0];
            break;
        default:
            break;
    }
}

void glMaterialf(GLenum face, GLenum pname, GLfloat param)
{
    glMaterialfv(face, pname, &param);
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params)
{
    if (light != GL_LIGHT0) return;
    switch (pname) {
        case GL_AMBIENT:
            copy4(gl.light.ambient, params);
            break;
        case GL_DIFFUSE:
            copy4(gl.light.diffuse, params);
            break;
        case GL_SPECULAR:
            copy4(gl.light.specular, params);
            break;
        case GL_POSITION: {
            // Into eye coordinates by the modelview matrix of this moment, as OpenGL does.
            const float* m = gl.matrices[0][gl.depth[0]].m;
            float eye[4];
            for (int row = 0; row < 4; ++row) {
                eye[row] = m[row] * params[0] + m[4 + row] * params[1] + m[8 + row] * params[2] +
                           m[12 + row] * params[3];
            }
            // A positional light (w not 0) is kept as a point with w = 1.
            const float w = eye[3] != 0.0f ? eye[3] : 1.0f;
            for (int i = 0; i < 3; ++i) gl.light.position[i] = eye[i] / w;
            gl.light.position[3] = eye[3] != 0.0f ? 1.0f : 0.0f;
            break;
        }
        default:
            break;
    }
}

void glLightModelf(GLenum pname, GLfloat param)
{
    if (pname == GL_LIGHT_MODEL_TWO_SIDE) gl.twoSide = param != 0.0f;
}

void glLightModelfv(GLenum pname, const GLfloat* params)
{
    if (pname == GL_LIGHT_MODEL_AMBIENT) copy4(gl.modelAmbient, params);
    if (pname == GL_LIGHT_MODEL_TWO_SIDE) glLightModelf(pname, params[0]);
}

void glEnable(GLenum cap)
{
    switch (cap) {
        case GL_LIGHTING:
            gl.lighting = true;
            break;
        case GL_LIGHT0:
            gl.light0 = true;
            break;
        case GL_NORMALIZE:
            gl.normalize = true;
            break;
        case GL_DEPTH_TEST:
            emscripten_glEnable(cap);
            break;
        default:
            break;
    }
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    emscripten_glClearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask)
{
    emscripten_glClear(mask);
}

void glFlush()
{
    emscripten_glFlush();
}

void glMatrixMode(GLenum mode)
{
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION) gl.mode = mode == GL_PROJECTION ? 1 : 0;
}

void glLoadIdentity()
{
    setIdentity(top());
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)
{
    // In float, as Mesa computes it.
    const auto l = static_cast<float>(left), r = static_cast<float>(right);
    const auto b = static_cast<float>(bottom), t = static_cast<float>(top);
    const auto n = static_cast<float>(zNear), f = static_cast<float>(zFar);
    float m[16];
    setIdentity(m);
    m[0] = 2.0f / (r - l);
    m[5] = 2.0f / (t - b);
    m[10] = -2.0f / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    apply(m);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return;  // no axis to turn about (Mesa's bound)
    x /= length;
    y /= length;
    z /= length;
    const double radians = static_cast<double>(angle) * pi / 180.0;
    const auto s = static_cast<float>(std::sin(radians)), c = static_cast<float>(std::cos(radians));
    const float one = 1.0f - c;
    const float m[16] = {x * x * one + c,
                         y * x * one + z * s,
                         x * z * one - y * s,
                         0.0f,
                         x * y * one - z * s,
                         y * y * one + c,
                         y * z * one + x * s,
                         0.0f,
                         x * z * one + y * s,
                         y * z * one - x * s,
                         z * z * one + c,
                         0.0f,
                         0.0f,
                         0.0f,
                         0.0f,
                         1.0f};
    apply(m);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    float m[16];
    setIdentity(m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
    apply(m);
}

void glPushMatrix()
{
    int& depth = gl.depth[gl.mode];
    if (depth + 1 == stackDepth) return;  // full: OpenGL's stack overflow leaves it as it is
    gl.matrices[gl.mode][depth + 1] = gl.matrices[gl.mode][depth];
    ++depth;
}

void glPopMatrix()
{
    if (gl.depth[gl.mode] > 0) --gl.depth[gl.mode];
}

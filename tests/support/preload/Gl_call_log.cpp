// Preloaded into a real saver to see what it draws, frame by frame, under a
// fixed clock: SDL_GetTicks answers 500 ms, then 250 ms more after each
// buffer swap, and srand always seeds 1, so two builds that build the same
// scene make the same GL calls with the same arguments. Each call is
// written as text (floats in hexadecimal, exact; a texture's pixels as a
// hash) into a running hash; each swap appends "frame N calls C hash H" to
// the file GARDENLUME_GL_LOG names, and after GARDENLUME_GL_FRAMES frames
// (default 170, past the overlay's 40 s edge) the process ends with 0.
// GARDENLUME_GL_LOG_FULL names a file for every call, to diff by hand.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

struct Call_log {
    std::FILE* frames = nullptr;
    std::FILE* full = nullptr;
    uint64_t hash = 1469598103934665603ull;
    uint64_t calls = 0;
    uint32_t frame = 0;
    uint32_t last_frame = 170;

    Call_log()
    {
        if (const char* path = std::getenv("GARDENLUME_GL_LOG")) frames = std::fopen(path, "w");
        if (const char* path = std::getenv("GARDENLUME_GL_LOG_FULL")) full = std::fopen(path, "w");
        if (const char* n = std::getenv("GARDENLUME_GL_FRAMES")) last_frame = uint32_t(std::atoi(n));
    }
    void add(const void* bytes, size_t size)
    {
        const unsigned char* p = static_cast<const unsigned char*>(bytes);
        for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
    }
};

Call_log& calls()
{
    static Call_log log;
    return log;
}

void record(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Call_log& log = calls();
    log.add(line, n > 0 ? size_t(n) : 0);
    ++log.calls;
    if (log.full) std::fprintf(log.full, "%s\n", line);
}

void* next(const char* name) { return dlsym(RTLD_NEXT, name); }

}  // namespace

// The real function of the same name, looked up once.
#define REAL(name) static const auto real = reinterpret_cast<decltype(&name)>(next(#name))

extern "C" {

Uint32 SDL_GetTicks(void) { return 500 + calls().frame * 250; }

void srand(unsigned)
{
    REAL(srand);
    real(1);
}

void SDL_GL_SwapBuffers(void)
{
    REAL(SDL_GL_SwapBuffers);
    real();
    Call_log& log = calls();
    if (log.frames)
        std::fprintf(log.frames, "frame %u calls %llu hash %016llx\n", log.frame, (unsigned long long)log.calls,
                     (unsigned long long)log.hash);
    log.hash = 1469598103934665603ull;
    log.calls = 0;
    if (++log.frame >= log.last_frame) {
        if (log.frames) std::fclose(log.frames);
        if (log.full) std::fclose(log.full);
        _exit(0);
    }
}

void glAlphaFunc(GLenum f, GLclampf r) { REAL(glAlphaFunc); record("glAlphaFunc %x %a", f, r); real(f, r); }
void glBegin(GLenum m) { REAL(glBegin); record("glBegin %x", m); real(m); }
void glEnd(void) { REAL(glEnd); record("glEnd"); real(); }
void glBindTexture(GLenum t, GLuint n) { REAL(glBindTexture); record("glBindTexture %x %u", t, n); real(t, n); }
void glBlendFunc(GLenum s, GLenum d) { REAL(glBlendFunc); record("glBlendFunc %x %x", s, d); real(s, d); }
void glClear(GLbitfield m) { REAL(glClear); record("glClear %x", m); real(m); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    REAL(glClearColor);
    record("glClearColor %a %a %a %a", r, g, b, a);
    real(r, g, b, a);
}
void glClearDepth(GLclampd d) { REAL(glClearDepth); record("glClearDepth %a", d); real(d); }
void glDepthFunc(GLenum f) { REAL(glDepthFunc); record("glDepthFunc %x", f); real(f); }
void glDisable(GLenum c) { REAL(glDisable); record("glDisable %x", c); real(c); }
void glEnable(GLenum c) { REAL(glEnable); record("glEnable %x", c); real(c); }
void glGenTextures(GLsizei n, GLuint* names)
{
    REAL(glGenTextures);
    real(n, names);
    for (GLsizei i = 0; i < n; ++i) record("glGenTextures %u", names[i]);
}
void glGetIntegerv(GLenum p, GLint* v) { REAL(glGetIntegerv); record("glGetIntegerv %x", p); real(p, v); }
void glHint(GLenum t, GLenum m) { REAL(glHint); record("glHint %x %x", t, m); real(t, m); }
void glLightfv(GLenum l, GLenum p, const GLfloat* v)
{
    REAL(glLightfv);
    const bool four = p == GL_AMBIENT || p == GL_DIFFUSE || p == GL_SPECULAR || p == GL_POSITION;
    if (four) record("glLightfv %x %x %a %a %a %a", l, p, v[0], v[1], v[2], v[3]);
    else record("glLightfv %x %x %a", l, p, v[0]);
    real(l, p, v);
}
void glLoadIdentity(void) { REAL(glLoadIdentity); record("glLoadIdentity"); real(); }
void glMatrixMode(GLenum m) { REAL(glMatrixMode); record("glMatrixMode %x", m); real(m); }
void glPopMatrix(void) { REAL(glPopMatrix); record("glPopMatrix"); real(); }
void glPushMatrix(void) { REAL(glPushMatrix); record("glPushMatrix"); real(); }
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z)
{
    REAL(glRotatef);
    record("glRotatef %a %a %a %a", a, x, y, z);
    real(a, x, y, z);
}
void glScaled(GLdouble x, GLdouble y, GLdouble z) { REAL(glScaled); record("glScaled %a %a %a", x, y, z); real(x, y, z); }
void glShadeModel(GLenum m) { REAL(glShadeModel); record("glShadeModel %x", m); real(m); }
void glTexCoord2d(GLdouble s, GLdouble t) { REAL(glTexCoord2d); record("glTexCoord2d %a %a", s, t); real(s, t); }
void glTexEnvi(GLenum t, GLenum p, GLint v) { REAL(glTexEnvi); record("glTexEnvi %x %x %d", t, p, v); real(t, p, v); }
void glTexImage2D(GLenum t, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                  GLenum type, const GLvoid* pixels)
{
    REAL(glTexImage2D);
    uint64_t h64 = 1469598103934665603ull;
    if (pixels && format == GL_RGBA && type == GL_UNSIGNED_BYTE) {
        const unsigned char* p = static_cast<const unsigned char*>(pixels);
        for (size_t i = 0; i < size_t(w) * size_t(h) * 4; ++i) h64 = (h64 ^ p[i]) * 1099511628211ull;
    }
    record("glTexImage2D %x %d %x %d %d %d %x %x %016llx", t, level, internal, w, h, border, format, type,
           (unsigned long long)h64);
    real(t, level, internal, w, h, border, format, type, pixels);
}
void glTexParameteri(GLenum t, GLenum p, GLint v)
{
    REAL(glTexParameteri);
    record("glTexParameteri %x %x %d", t, p, v);
    real(t, p, v);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    REAL(glTranslatef);
    record("glTranslatef %a %a %a", x, y, z);
    real(x, y, z);
}
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { REAL(glVertex3d); record("glVertex3d %a %a %a", x, y, z); real(x, y, z); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h)
{
    REAL(glViewport);
    record("glViewport %d %d %d %d", x, y, w, h);
    real(x, y, w, h);
}
void gluPerspective(GLdouble f, GLdouble a, GLdouble n, GLdouble z)
{
    REAL(gluPerspective);
    record("gluPerspective %a %a %a %a", f, a, n, z);
    real(f, a, n, z);
}

}  // extern "C"

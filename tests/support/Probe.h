// A test action that writes nothing and records, each time it is stepped,
// the modelview matrix, the lighting switch and a frame-wide sequence number.
// Bound to a Node it shows where in the walk and in which frame the Node's
// animation ran, all read back from real GL.
#pragma once
#include <GL/gl.h>

#include <array>

#include "actions/Action.h"

class Probe : public Action {
public:
    explicit Probe(int group_id = 1, bool running = true, double duration = 0.0)
        : Action(group_id, running, duration)
    {
    }

    void step() override
    {
        ++steps;
        order = ++sequence();
        lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
        glGetDoublev(GL_MODELVIEW_MATRIX, matrix.data());
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stack_depth);
    }

    // Shared counter: which probe ran first in a frame.
    static int& sequence()
    {
        static int n = 0;
        return n;
    }

    int steps = 0;
    int order = 0;
    bool lit = false;
    GLint stack_depth = 0;
    std::array<double, 16> matrix{};
};

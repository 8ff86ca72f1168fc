#include "app/Frame.h"

#include <SDL.h>
#include <GL/gl.h>

#include "app/Display.h"
#include "app/Roots.h"
#include "scene/Node.h"
#include "texgen/Texturegen_list.h"

namespace {

// The first view advances every clock; the others show that same moment.
void draw_roots(bool again)
{
    for (Node* root : {scene_root, overlay_root}) {
        if (!root) continue;
        if (again)
            root->draw_again();
        else
            root->draw();
    }
}

}  // namespace

void draw_frame(const std::vector<Monitor_views::View>* views)
{
    // The whole window, the space between monitors included, is cleared once.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);
    // The display starts with a clear alpha of 0; every later frame clears
    // to opaque black.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    texturegen_list.update_all();
    if (!views || views->empty()) {
        draw_roots(false);
    } else {
        for (size_t i = 0; i < views->size(); ++i) {
            Display::set_view((*views)[i]);
            glTranslatef(0.0f, 0.0f, -100.0f);
            draw_roots(i > 0);
        }
    }
    SDL_GL_SwapBuffers();
}

#include "scene/Node.h"

#include <GL/gl.h>

#include "resources/Model.h"
#include "resources/Pak_cache.h"

Node::Node()
{
    events.attach(&animator);
}

void Node::add_child(Node* child)
{
    if (!child) return;  // drawing would follow it
    children.push_back(child);
}

void Node::load_model(const char* pack_file, const char* entry)
{
    Pak_entry bytes = pak_cache.model_bytes(pack_file, entry);
    if (bytes.empty()) return;  // no such model: nothing to read
    const Model model = Model::read(bytes.data, bytes.size > 0 ? static_cast<size_t>(bytes.size) : 0);
    for (const Mesh_record& record : model.meshes) meshes.emplace_back(record, pack_file);
    mesh_count = static_cast<int32_t>(meshes.size());
    has_model = true;
}

void Node::draw() { draw_subtree(false); }

void Node::draw_again() { draw_subtree(true); }

void Node::draw_subtree(bool again)
{
    glPushMatrix();
    placement.apply_placement();
    if (again)
        animator.repeat();
    else
        animator.advance();
    if (has_model) {
        // The scale is for this Node's own meshes; children never see it.
        bool scaled = placement.is_scaled();
        if (scaled) {
            glPushMatrix();
            placement.apply_scale();
        }
        // mesh_count always equals the meshes held; bounded by both anyway.
        for (size_t i = 0; i < meshes.size() && i < static_cast<size_t>(mesh_count); ++i)
            meshes[i].draw();
        if (scaled) glPopMatrix();
    }
    for (Node* child : children) child->draw_subtree(again);
    glPopMatrix();
}

// One object of the scene: a placement, an optional model from a pack,
// children drawn relative to it (not owned), and an Animator whose actions
// add an animated offset; drawing a Node is what advances its actions.
#pragma once
#include <cstdint>
#include <vector>

#include "resources/Mesh.h"
#include "scene/Animator.h"
#include "scene/Event_table.h"
#include "scene/Transform.h"

// Tables and actions point into a Node: it can be neither copied nor moved.
class Node {
public:
    Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    Node(Node&&) = delete;
    Node& operator=(Node&&) = delete;

    // Appends, duplicates included; a null child is ignored.
    void add_child(Node* child);
    // Appends the meshes of model `entry` of the pack file `pack_file`. An
    // entry the pack lacks leaves the Node as it was; a record that does not
    // fit ends the reading and the complete meshes before it stay.
    void load_model(const char* pack_file, const char* entry);
    // Placement, animation offset, own meshes (scaled alone), then children.
    void draw();
    // The subtree again, as the latest draw left it: for another view of the
    // same frame (another monitor), with no time added to any clock.
    void draw_again();

    const std::vector<Node*>& child_nodes() const { return children; }

    Transform placement;
    Animator animator;
    Event_table events;
    std::vector<Mesh> meshes;
    int32_t mesh_count = 0;
    bool has_model = false;

private:
    void draw_subtree(bool again);

    std::vector<Node*> children;
};

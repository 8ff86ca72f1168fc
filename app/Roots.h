// The two process-wide root Nodes the frame draws, scene first, overlay on
// top. Null until the Run mode creates them, and again after teardown.
#pragma once

class Node;

extern Node* scene_root;
extern Node* overlay_root;

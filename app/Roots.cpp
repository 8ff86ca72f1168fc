#include "app/Roots.h"

Node* scene_root = nullptr;
Node* overlay_root = nullptr;

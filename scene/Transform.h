// A placement: position, rotation in degrees about X, Y, Z, and a scale that
// only counts once it has been set. Nodes keep one as their own placement;
// each Animator keeps one as the offset its actions write every frame.
#pragma once

class Transform {
public:
    Transform() { reset(); }

    void set_position(double px, double py, double pz);
    void set_rotation(double ax, double ay, double az);
    void set_scale(double fx, double fy, double fz);  // also marks it scaled
    void add_position(double dx, double dy, double dz);
    void add_rotation(double dx, double dy, double dz);
    // Back to no offset; a scale once set stays marked as set.
    void reset();
    bool is_scaled() const { return scaled; }

    // Translate, then rotate about X, Y and Z, skipping an angle of exactly
    // 0. The scale is left to apply_scale, so it never reaches children.
    void apply_placement() const;
    void apply_scale() const;

    bool scaled = false;
    double x = 0, y = 0, z = 0;
    double rot_x = 0, rot_y = 0, rot_z = 0;
    double scale_x = 1, scale_y = 1, scale_z = 1;
};

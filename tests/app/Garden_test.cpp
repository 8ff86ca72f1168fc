#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/Garden.h"
#include "app/Roots.h"
#include "resources/Pak_cache.h"
#include "tests/support/Probe.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_packs.h"
#include "tests/support/Test_files.h"

namespace {

const uint32_t start_ticks = 100000;

const uint8_t* pixel(const std::vector<uint8_t>& px, int x, int y)
{
    return &px[static_cast<size_t>(y * 64 + x) * 4];
}

// The garden as the saver holds it: heap roots filled by the script, the
// roots deleted before the script's objects go.
class Garden_scene : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string folder = Test_files::make_folder("gardenlume-garden-");
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(Test_packs::write_all(folder));
        pak_cache.set_directory(folder);
    }

    void SetUp() override
    {
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL";
        Gl_context::reset_state();
        Test_clock::set(start_ticks);
    }

    void build(unsigned seed = 1)
    {
        std::srand(seed);
        scene_root = new Node();
        overlay_root = new Node();
        garden.emplace(*scene_root, *overlay_root);
    }

    void TearDown() override
    {
        delete scene_root;
        scene_root = nullptr;
        delete overlay_root;
        overlay_root = nullptr;
        garden.reset();
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT1);
        Test_clock::use_real();
    }

    // One frame as the saver draws it, at `at` ms after the scene was built:
    // camera 100 units back, scene, then overlay. Not swapped, so the
    // picture can be read back.
    std::vector<uint8_t> frame_at(uint32_t at)
    {
        Test_clock::set(start_ticks + at);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -100.0f);
        scene_root->draw();
        overlay_root->draw();
        std::vector<uint8_t> px = Gl_context::read_pixels(64, 64);
        return px;
    }

    static void watch(Node& node, Probe& probe)
    {
        node.events.add_event();
        node.events.add_action(&probe);
        node.events.fire_event(node.events.current);
    }

    std::optional<Garden> garden;
};


bool overlay_yellow_near_centre(const std::vector<uint8_t>& px)
{
    for (int y = 30; y <= 34; ++y)
        for (int x = 30; x <= 34; ++x) {
            const uint8_t* p = pixel(px, x, y);
            if (p[0] > 200 && p[1] > 200 && p[2] < 100) return true;
        }
    return false;
}

}  // namespace

TEST_F(Garden_scene, nodes_are_drawn_in_script_order_and_only_the_gardens_middle_is_lit)
{
    build();
    Garden& g = *garden;
    struct Watched {
        const char* name;
        Node* node;
        bool lit;
    };
    const std::vector<Watched> order = {
        {"background", &*g.background, false},
        {"garden", &g.garden->node, false},
        {"light_on", &g.light_on->node, true},
        {"flock", &g.flock->node, true},
        {"butterfly_2", &g.flock_members[0]->butterfly, true},
        {"butterfly_2 wing", &g.flock_members[0]->butterfly.wing_a, true},
        {"butterfly_3", &g.flock_members[1]->butterfly, true},
        {"butterfly_4", &g.flock_members[2]->butterfly, true},
        {"butterfly_1", &*g.butterfly_1, true},
        {"tree", &*g.tree, true},
        {"light_off", &g.light_off->node, false},
        {"overlay", overlay_root, false},
    };
    std::vector<Probe> probes(order.size());
    for (size_t i = 0; i < order.size(); ++i) watch(*order[i].node, probes[i]);

    frame_at(16);
    // Lighting is still on from the display set-up when the background goes
    // first in the very first frame.
    EXPECT_TRUE(probes[0].lit);
    frame_at(32);
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(2, probes[i].steps) << order[i].name;
        EXPECT_EQ(order[i].lit, probes[i].lit) << order[i].name;
        if (i > 0) {
            EXPECT_LT(probes[i - 1].order, probes[i].order) << order[i].name;
        }
    }
}


TEST_F(Garden_scene, second_butterfly_binds_rise_and_swing_before_its_sways)
{
    build();
    Garden& g = *garden;
    const Flock_member& second = *g.flock_members[0];
    const Flock_member& third = *g.flock_members[1];
    EXPECT_EQ((std::vector<const Action*>{&second.rise, &second.swing, &second.sway_a, &second.sway_b}),
              std::vector<const Action*>(second.butterfly.animator.bound().begin(),
                                         second.butterfly.animator.bound().end()));
    EXPECT_EQ((std::vector<const Action*>{&third.sway_a, &third.sway_b, &third.rise, &third.swing}),
              std::vector<const Action*>(third.butterfly.animator.bound().begin(),
                                         third.butterfly.animator.bound().end()));
}

TEST_F(Garden_scene, overlay_stands_in_view_only_strictly_between_40_and_60_seconds_of_each_minute)
{
    build();
    struct Moment {
        uint32_t at;
        bool in_view;
    };
    for (Moment m : {Moment{16, false}, Moment{39999, false}, Moment{40000, false}, Moment{40001, true},
                     Moment{59999, true}, Moment{60000, false}, Moment{100000, false},
                     Moment{100001, true}, Moment{160001, true}, Moment{180000, false}}) {
        std::vector<uint8_t> px = frame_at(m.at);
        EXPECT_EQ(m.in_view ? 0.0 : 9000.0, overlay_root->animator.offset.x) << m.at;
        EXPECT_EQ(m.in_view, overlay_yellow_near_centre(px)) << m.at;
    }
}

TEST_F(Garden_scene, picks_alternate_with_each_butterflys_own_draw)
{
    // Replays the generator: pick, the butterfly's time offset, pick, ...
    std::srand(5);
    int pick[4], offset[4];
    for (int i = 0; i < 4; ++i) {
        pick[i] = std::rand() % 5;
        offset[i] = std::rand() % 2000;
    }
    build(5);
    Garden& g = *garden;
    Butterfly* flies[4] = {&*g.butterfly_1, &g.flock_members[0]->butterfly, &g.flock_members[1]->butterfly,
                           &g.flock_members[2]->butterfly};
    for (int i = 0; i < 4; ++i) {
        std::string pack = Test_packs::butterfly_pack(pick[i] + 1);
        Pak_entry body = pak_cache.model_bytes(pack, "brushko");
        const uint8_t* name = reinterpret_cast<const uint8_t*>(flies[i]->body.meshes[0].texture_name);
        EXPECT_TRUE(name >= body.data && name < body.data + body.size) << "butterfly " << i + 1;
        EXPECT_EQ(offset[i], flies[i]->flap_a->time_offset) << "butterfly " << i + 1;
    }
}

TEST_F(Garden_scene, butterflies_of_the_same_pack_share_one_opened_pack)
{
    // Find a seed whose picks repeat a pack.
    unsigned seed = 1;
    int first = -1, second = -1, repeated = 0;
    for (;; ++seed) {
        std::srand(seed);
        int pick[4];
        for (int i = 0; i < 4; ++i) {
            pick[i] = std::rand() % 5;
            std::rand();
        }
        for (int i = 0; i < 4 && first < 0; ++i)
            for (int j = i + 1; j < 4; ++j)
                if (pick[i] == pick[j]) {
                    first = i;
                    second = j;
                    repeated = pick[i];
                    break;
                }
        if (first >= 0) break;
    }
    build(seed);
    Garden& g = *garden;
    Butterfly* flies[4] = {&*g.butterfly_1, &g.flock_members[0]->butterfly, &g.flock_members[1]->butterfly,
                           &g.flock_members[2]->butterfly};
    Butterfly* a = flies[first];
    Butterfly* b = flies[second];
    EXPECT_EQ(a->wing_a.meshes[0].texture_name, b->wing_a.meshes[0].texture_name)
        << "both in butterfly" << repeated + 1 << ".pak";
    EXPECT_EQ(a->wing_a.meshes[0].texture, b->wing_a.meshes[0].texture);
    EXPECT_NE(a->flap_a.get(), b->flap_a.get());
    EXPECT_LE(pak_cache.open_count(), 6u);
}

TEST_F(Garden_scene, background_is_dark_in_the_first_frame_and_bright_after)
{
    build();
    // A corner shows only the background ("#fon.png", light blue).
    std::vector<uint8_t> first = frame_at(16);
    std::vector<uint8_t> second = frame_at(32);
    const uint8_t* dim = pixel(first, 2, 2);
    const uint8_t* bright = pixel(second, 2, 2);
    EXPECT_LT(dim[2], 100);
    EXPECT_GT(bright[2], 200);
    EXPECT_GT(bright[1], 100);
}


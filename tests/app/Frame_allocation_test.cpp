// The frame allocates nothing: a few hundred frames of the garden, with a
// Plasma texture regenerated every frame, counted by a replaced global
// operator new. Only this thread counts: Mesa's own worker threads are not
// our frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#include "app/Frame.h"
#include "app/Garden.h"
#include "app/Roots.h"
#include "resources/Pak_cache.h"
#include "scene/Node.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"
#include "tests/support/Test_packs.h"
#include "texgen/Texturegen_list.h"
#include "tests/support/Test_files.h"

namespace {
thread_local bool counting = false;
thread_local long allocations = 0;
}  // namespace

// AddressSanitizer brings its own operator new, which libraries loaded
// before this binary bind to: the count is left to the plain build.
#if defined(__SANITIZE_ADDRESS__)
#define GARDENLUME_COUNTS_ALLOCATIONS 0
#else
#define GARDENLUME_COUNTS_ALLOCATIONS 1
#endif

#if GARDENLUME_COUNTS_ALLOCATIONS
// These pair with each other only, through malloc and free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size)
{
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#endif

TEST(Frame, a_few_hundred_frames_of_the_garden_allocate_nothing)
{
    if (!GARDENLUME_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer's allocator cannot be counted";
    REQUIRE_GL();
    Gl_context::reset_state();
    const std::string folder = Test_files::make_folder("gardenlume-frame-");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(Test_packs::write_all(folder));
    pak_cache.set_directory(folder);

    Test_clock::set(100000);
    std::srand(1);
    scene_root = new Node();
    overlay_root = new Node();
    std::optional<Garden> garden;
    garden.emplace(*scene_root, *overlay_root);
    ASSERT_NE(0u, texturegen_list.lookup("##Plasma64x64 ,90,150,175"));

    // Warm-up: the driver builds its state variants in the first frames.
    for (int i = 0; i < 20; ++i) {
        Test_clock::advance(16);
        draw_frame();
    }
    // 400 frames of 16 ms cross the overlay's coming and going at 40 s.
    Test_clock::set(100000 + 38000);
    draw_frame();
    allocations = 0;
    counting = true;
    for (int i = 0; i < 400; ++i) {
        Test_clock::advance(16);
        draw_frame();
    }
    counting = false;
    EXPECT_EQ(0, allocations);

    delete scene_root;
    scene_root = nullptr;
    delete overlay_root;
    overlay_root = nullptr;
    garden.reset();
    glDisable(GL_LIGHTING);
    Test_clock::use_real();
}

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scene/Animator.h"
#include "scene/Event_table.h"
#include "tests/support/Probe.h"
#include "tests/support/Gl_context.h"
#include "tests/support/Test_clock.h"

namespace {

struct Table_with_clock {
    Table_with_clock() { table.attach(&animator); }
    Animator animator;
    Event_table table;
};

}  // namespace

TEST(Event_table, adds_before_first_event_are_ignored)
{
    Table_with_clock t;
    Probe p;
    Event_table other;
    t.table.add_action(&p);
    t.table.add_command(1, 0);
    t.table.add_link(&other, 0);
    EXPECT_EQ(0, t.table.event_count());
    t.table.fire_event(0);
    EXPECT_TRUE(t.animator.bound().empty());

    t.table.add_event();
    t.table.fire_event(0);
    EXPECT_TRUE(t.animator.bound().empty());
    EXPECT_EQ(nullptr, p.target);
}

TEST(Event_table, firing_index_that_names_no_event_does_nothing)
{
    Table_with_clock t;
    Probe p;
    t.table.add_event();
    t.table.add_action(&p);
    t.table.fire_event(1);
    t.table.fire_event(-1);
    t.table.fire_event(1 << 30);
    EXPECT_TRUE(t.animator.bound().empty());
    t.table.fire_event(0);
    EXPECT_EQ(1u, t.animator.bound().size());
}

TEST(Event_table, fire_binds_in_order_added_to_the_newest_event)
{
    Table_with_clock t;
    Probe a, b, c;
    t.table.add_event();
    t.table.add_action(&a);
    t.table.add_event();
    EXPECT_EQ(1, t.table.current);
    t.table.add_action(&b);
    t.table.add_action(&c);
    t.table.fire_event(1);
    ASSERT_EQ(2u, t.animator.bound().size());
    EXPECT_EQ(&b, t.animator.bound()[0]);
    EXPECT_EQ(&c, t.animator.bound()[1]);
    EXPECT_EQ(&t.animator.offset, b.target);
    EXPECT_EQ(nullptr, a.target);
}

TEST(Event_table, firing_twice_binds_twice)
{
    Table_with_clock t;
    Probe p;
    t.table.add_event();
    t.table.add_action(&p);
    t.table.fire_event(0);
    t.table.fire_event(0);
    EXPECT_EQ(2u, t.animator.bound().size());
}

TEST(Event_table, commands_run_after_the_events_own_actions_are_bound)
{
    Table_with_clock t;
    Probe p(4), q(5);
    t.table.add_event();
    t.table.add_action(&p);
    t.table.add_action(&q);
    t.table.add_command(4, 0);  // pause group 4, bound just before
    t.table.fire_event(0);
    EXPECT_FALSE(p.running);
    EXPECT_TRUE(q.running);

    t.table.add_event();
    t.table.add_command(4, 1);
    t.table.add_command(5, 2);
    t.table.add_command(5, 7);  // unknown code: ignored
    t.table.fire_event(1);
    EXPECT_TRUE(p.running);
    EXPECT_TRUE(q.finished);
    EXPECT_TRUE(q.running);
}

TEST(Event_table, group_commands_leave_merely_listed_actions_alone)
{
    Table_with_clock t;
    Probe listed(1);
    t.table.add_event();
    t.table.add_action(&listed);  // event 0 is never fired
    t.table.add_event();
    t.table.add_command(1, 2);
    t.table.fire_event(1);
    EXPECT_FALSE(listed.finished);
    EXPECT_TRUE(listed.running);
}

TEST(Event_table, links_fire_other_tables_after_own_commands)
{
    Table_with_clock first, second;
    Probe mine(1), theirs(1);
    second.table.add_event();
    second.table.add_event();
    second.table.add_action(&theirs);
    second.table.add_command(1, 0);

    first.table.add_event();
    first.table.add_action(&mine);
    first.table.add_link(&second.table, 1);
    first.table.add_link(&second.table, 5);  // names no event there: ignored
    first.table.fire_event(0);
    ASSERT_EQ(1u, second.animator.bound().size());
    EXPECT_EQ(&theirs, second.animator.bound()[0]);
    EXPECT_FALSE(theirs.running);
    EXPECT_TRUE(mine.running);  // the other table's command stays there
    EXPECT_EQ(&first.animator.offset, mine.target);
}


TEST(Event_table, cycle_of_links_fires_each_event_once_instead_of_overflowing_the_stack)
{
    Table_with_clock a, b;
    Probe pa, pb;
    a.table.add_event();
    a.table.add_action(&pa);
    a.table.add_link(&b.table, 0);
    a.table.add_link(&a.table, 0);  // itself, too
    b.table.add_event();
    b.table.add_action(&pb);
    b.table.add_link(&a.table, 0);
    a.table.fire_event(0);
    EXPECT_EQ(1u, a.animator.bound().size());
    EXPECT_EQ(1u, b.animator.bound().size());
    a.table.fire_event(0);  // a later firing is a new one
    EXPECT_EQ(2u, a.animator.bound().size());
    EXPECT_EQ(2u, b.animator.bound().size());
}

TEST(Event_table, null_action_in_an_event_is_never_bound)
{
    Table_with_clock t;
    Probe p;
    t.table.add_event();
    t.table.add_action(nullptr);
    t.table.add_action(&p);
    t.table.fire_event(0);
    ASSERT_EQ(1u, t.animator.bound().size());
    EXPECT_EQ(&p, t.animator.bound()[0]);
}

#!/usr/bin/python3
"""Checks the level script's own pieces against hand-made cases: TopoJSON arc decoding and the model
of a creature's moves that every level is proven with (climbs, walls, drops, deadly falls, traps).

    /usr/bin/python3 tools/test_make_levels.py
"""

import os
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_levels as ml  # noqa: E402


def floor(width=60, height=140, top=100):
    solid = np.zeros((height, width), dtype=bool)
    solid[top:top + 6, :] = True
    return solid


class TopoJsonTest(unittest.TestCase):
    def test_arcs_are_delta_coded_and_rings_share_end_points(self):
        topo = {"transform": {"scale": [0.5, 2.0], "translate": [10, -5]},
                "arcs": [[[0, 0], [2, 0], [0, 1]], [[2, 1], [-2, -1]]]}
        arcs = ml.decode_arcs(topo)
        self.assertEqual(arcs[0].tolist(), [[10, -5], [11, -5], [11, -3]])
        self.assertEqual(arcs[1].tolist(), [[11, -3], [10, -5]])
        # Arc 1 walked backwards (~1 = -2), then arc 0: the shared point appears once.
        ring = ml.ring_points([0, 1], arcs)
        self.assertEqual(ring.tolist(), [[10, -5], [11, -5], [11, -3], [10, -5]])
        back = ml.ring_points([~1], arcs)
        self.assertEqual(back.tolist(), [[10, -5], [11, -3]])


class FinerShapeTest(unittest.TestCase):
    def test_edges_are_measured_at_the_largest_scale_the_limits_allow(self):
        # A 2 x 1 box fits 1576 x 954 pixels at 788 per unit: a perimeter of 6 units is 4728 pixels.
        square = [[np.array([[0, 0], [2, 0], [2, 1], [0, 1], [0, 0]], dtype=float)]]
        self.assertAlmostEqual(ml.edge_px(square, (0, 0, 2, 1)), 1182.0)
        # A unit square fits 954 pixels high; one side cut in two gives five edges.
        cut = np.array([[0, 0], [0.5, 0], [1, 0], [1, 1], [0, 1], [0, 0]], dtype=float)
        self.assertAlmostEqual(ml.edge_px([[cut]], (0, 0, 1, 1)), 763.2)
        self.assertEqual(ml.edge_px(square, (0, 0, 2, 0)), float("inf"))   # a shape with no height


class IslandsTest(unittest.TestCase):
    def test_lands_twelve_apart_share_a_ledge_and_thirteen_do_not(self):
        mask = np.zeros((20, 130), dtype=bool)
        mask[:, :50] = mask[:, 62:120] = True
        self.assertEqual(ml.layer_segments(mask, 5, 12), [(1, 118)])
        self.assertEqual(ml.layer_segments(mask, 5), [(1, 48), (63, 118)])
        mask[:, 62] = False
        self.assertEqual(ml.layer_segments(mask, 5, 12), [(1, 48), (64, 118)])

    def sea(self, first, last, walked, holes=(), below=0):
        mask = np.ones((80, 130), dtype=bool)
        mask[below:, first:last + 1] = False
        solid = np.zeros_like(mask)
        solid[50:56, 5:116] = True
        level = {"walked": [walked], "ledge_top": [50], "exit": (walked[2], 50)}
        ledges = [(0, (5, 115), np.full(111, 50))]
        return ml.open_the_sea(level, mask, solid, ledges, [(0, (5, 115))], list(holes)), level, solid

    def test_a_narrow_sea_on_the_way_is_left_to_bridge_a_wide_one_refused_one_off_it_cut(self):
        # Ten columns of sea, two of them within reach of land: six left open, in a build of twelve.
        ok, level, solid = self.sea(55, 64, (0, 10, 110))
        self.assertEqual((ok, level["gaps"]), (True, [(54, 50, 65, 55)]))
        self.assertTrue(solid[50:56, 54:66].all())          # built, the ledge runs on
        # A bay under the ledge's lower rows is sea to bridge too; a hole over the sea is refused.
        self.assertEqual(self.sea(60, 69, (0, 10, 110), below=53)[1]["gaps"], [(59, 50, 70, 55)])
        self.assertFalse(self.sea(55, 64, (0, 10, 110), [(0, (5, 115), 56)])[0])
        # Sea next to the ledge's end: the build slides over the land beside it, clear of the post.
        ok, level, _ = self.sea(12, 17, (0, 10, 110))
        self.assertEqual((ok, level["gaps"]), (True, [(10, 50, 21, 55)]))
        self.assertFalse(self.sea(50, 69, (0, 10, 110))[0])
        ok, level, solid = self.sea(80, 99, (0, 10, 40))
        self.assertEqual((ok, level["gaps"]), (True, []))
        self.assertFalse(solid[50:56, 82:98].any())
        self.assertTrue(solid[44:50, 79:82].all() and solid[44:50, 98:101].all())   # posts at the cut


class LandOnlyTest(unittest.TestCase):
    def test_a_thin_lands_ledges_are_as_wide_as_the_land_within_two_pixels(self):
        # A strip 30 wide that moves 4 right every 30 rows. The ledge at 26 spans a step: it stands only
        # where every one of its rows is near the land.
        mask = np.zeros((130, 120), dtype=bool)
        for y in range(130):
            mask[y, 40 + y // 30 * 4:70 + y // 30 * 4] = True
        self.assertEqual(ml.zigzag_layers(mask, [6, 26, 96]), [(6, [(38, 71)]), (26, [(38, 71)]), (96, [(50, 83)])])
        mask[:, 52:] = False                  # 12 wide: too narrow for a post, a hole and a landing
        self.assertEqual(ml.zigzag_layers(mask, [6]), [])
        # Two lands 12 apart: one ledge when the sea may be bridged, else two.
        mask = np.zeros((20, 130), dtype=bool)
        mask[:, 10:50] = mask[:, 66:120] = True
        self.assertEqual(ml.land_runs(mask, 5, 12), [(8, 121)])
        self.assertEqual(ml.land_runs(mask, 5), [(8, 51), (64, 121)])

    def test_terrain_over_the_sea_is_counted_but_posts_over_land_and_bridges_are_not(self):
        mask = np.zeros((40, 60), dtype=bool)
        mask[20:, :30] = True
        solid = np.zeros_like(mask)
        solid[20:26, 5:35] = True             # columns 32 to 34 lie 3 to 5 pixels out
        solid[14:20, 5:8] = True              # a post on the ledge
        solid[11, 10] = True                  # 9 rows over the land
        self.assertEqual(int(ml.off_land(mask, solid).sum()), 19)
        self.assertEqual(int(ml.off_land(mask, solid, [(32, 20, 34, 25)]).sum()), 1)

    def test_a_drop_may_pass_an_empty_layer_but_never_a_ledge_under_the_hole(self):
        layers = [(10, [(0, 100)]), (40, [(200, 300)]), (70, [(0, 100)])]
        self.assertEqual(ml.plan_chain(layers, 60), [(0, (0, 100)), (2, (0, 100))])
        self.assertEqual(ml.plan_chain(layers, 59), [(0, (0, 100))])
        layers[1] = (40, [(80, 200)])
        self.assertEqual(ml.plan_chain(layers, 60), [(1, (80, 200))])

    def test_among_islands_the_longest_way_is_found_not_the_widest_next_ledge(self):
        layers = [(10, [(0, 100)]), (40, [(0, 40), (60, 100)]), (70, [(60, 100)]), (100, [(60, 300)])]
        self.assertEqual(ml.plan_chain(layers, 60), [(0, (0, 100)), (1, (60, 100)), (2, (60, 100)), (3, (60, 300))])
        self.assertEqual(ml.plan_chain(layers), [(1, (60, 100)), (2, (60, 100)), (3, (60, 300))])


class MovesTest(unittest.TestCase):
    def test_steps_of_one_to_three_are_climbed_and_four_is_a_wall(self):
        for rise, can in ((1, True), (2, True), (3, True), (4, False)):
            solid = floor()
            solid[100 - rise:100, 31:] = True
            ok, step = ml.Rules(solid).probe(30, 99, 1)
            self.assertEqual((ok, step), (can, -rise if can else -4), rise)

    def test_drops_of_one_or_two_are_walked_and_three_starts_a_fall(self):
        for drop, step in ((1, 1), (2, 2), (3, 3)):
            solid = floor()
            solid[100:100 + drop, 31:] = False
            solid[100 + drop:106 + drop, 31:] = True
            self.assertEqual(ml.Rules(solid).probe(30, 99, 1), (True, step), drop)

    def test_a_fall_of_66_is_survived_and_67_kills(self):
        for depth, dies in ((66, False), (67, True)):
            solid = np.zeros((200, 60), dtype=bool)
            solid[40:46, :31] = True
            solid[40 + depth:46 + depth, 31:] = True
            kind = ml.Rules(solid).step(30, 39, 1)[0]
            self.assertEqual(kind == "dead", dies, depth)

    def test_a_ceiling_lower_than_the_body_blocks_the_way(self):
        solid = floor()
        solid[:94, 31:] = True            # six free rows above the feet at 99 are 94 to 99
        self.assertTrue(ml.Rules(solid).probe(30, 99, 1)[0])
        solid[94, 31] = True
        self.assertFalse(ml.Rules(solid).probe(30, 99, 1)[0])

    def test_the_level_sides_are_walls(self):
        rules = ml.Rules(floor(width=20))
        self.assertEqual(rules.probe(19, 99, 1), (False, -4))
        self.assertEqual(rules.probe(0, 99, -1), (False, -4))


class LevelRulesTest(unittest.TestCase):
    def level(self, solid, start, exit_):
        h, w = solid.shape
        return {"start": start, "exit": exit_, "size": (w, h)}

    def room(self):
        solid = np.zeros((200, 320), dtype=bool)
        solid[150:156, 10:300] = True
        solid[144:150, 10:13] = True       # posts at both ends
        solid[144:150, 297:300] = True
        return solid

    def test_a_walled_floor_with_the_exit_on_it_passes(self):
        solid = self.room()
        problems = ml.check_rules(solid, self.level(solid, (40, 130), (250, 150)))[0]
        self.assertEqual(problems, [])

    def test_each_broken_rule_is_named(self):
        solid = self.room()
        self.assertIn("spawn fall of 80 kills",
                      ml.check_rules(solid, self.level(solid, (40, 69), (250, 150)))[0])
        self.assertTrue(any("first ground row" in p for p in
                            ml.check_rules(solid, self.level(solid, (40, 130), (250, 149)))[0]))
        self.assertTrue(any("spawn inside the exit box" in p for p in
                            ml.check_rules(solid, self.level(solid, (251, 149), (250, 150)))[0]))
        # A second floor the column falls to but cannot leave: never reaches the exit.
        pit = self.room()
        pit[150:156, 100:110] = False
        pit[180:186, 90:120] = True
        pit[174:180, 90:93] = True
        pit[174:180, 117:120] = True
        problems = ml.check_rules(pit, self.level(pit, (40, 130), (250, 150)))[0]
        self.assertTrue(any("never reach the exit" in p for p in problems), problems)
        # A one-pixel-wide hole the creature stands in is a trap.
        trap = np.zeros((200, 320), dtype=bool)
        trap[150:156, 30:50] = True
        trap[130:150, 30:40] = True
        trap[130:150, 41:50] = True
        problems = ml.check_rules(trap, self.level(trap, (40, 120), (250, 150)))[0]
        self.assertTrue(any("trapped" in p for p in problems), problems)

    def test_the_height_code_runs_from_1_at_the_top_to_254_at_the_bottom(self):
        ys = np.array([10, 11, 60, 110])
        self.assertEqual(ml.height_code(ys, 10, 110).tolist(), [1, 3, 127, 254])


class PlanTest(unittest.TestCase):
    """The robot replays the plans through the real game: a stroke made before the view shows its
    place is lost, so the plan must wait for the view to get there."""

    def test_the_view_opens_on_the_spawn_and_stays_inside_the_level(self):
        self.assertEqual(ml.first_view({"size": (1600, 1000), "start": (500, 400)}), (340, 294))
        self.assertEqual(ml.first_view({"size": (1600, 1000), "start": (20, 30)}), (0, 0))
        self.assertEqual(ml.first_view({"size": (400, 250), "start": (390, 240)}), (80, 50))

    def test_the_view_scrolls_just_far_enough_to_show_a_point(self):
        size = (1600, 1000)
        self.assertEqual(ml.view_onto((0, 0), (100, 100), size), (0, 0))          # already shown
        self.assertEqual(ml.view_onto((0, 0), (400, 50), size), (92, 0))          # 12 inside the right
        self.assertEqual(ml.view_onto((500, 300), (400, 250), size), (388, 238))  # up and left
        self.assertEqual(ml.view_onto((0, 0), (1599, 999), size), (1280, 800))    # never past the end

    def test_a_far_build_waits_for_the_view_and_its_strokes_stay_above_the_ledge(self):
        level = {"size": (1600, 1000), "start": (100, 60), "walked": [(0, 100, 1400)], "ledge_top": [400]}
        m = {"level": level, "edits": [("build", (900, 400, 911, 405)), ("dig", (300, 386, 306, 399))]}
        plan, _ = ml.plan_of(m, {"count": 5, "interval": 1000})
        steps = [line.split() for line in plan.splitlines() if not line.startswith("#")]
        strokes = [(int(s[0]), s[2], int(s[3]), int(s[4])) for s in steps if s[2] != "none"]
        # The view starts at (0, 0) and must move 902 - 308 = 594 pixels right: 1500 + 25 x 594 ms.
        self.assertEqual(strokes[0], (16350, "left", 902, 403))
        digs = [s for s in strokes if s[1] == "right"]
        # Two rows, the lowest 5 above the ledge: 3 pixels off either way leaves a stump the column
        # climbs or a bowl it walks out of, never a pit.
        self.assertEqual(sorted({s[3] for s in digs}), [391, 395])
        # The rests keep the pointer on the work, so the view stays there.
        self.assertIn(["0", "none", "none", "902", "403"], steps)

    def test_the_leader_sets_off_from_the_post_it_stopped_at_and_falls_the_whole_drop(self):
        level = {"size": (1600, 1000), "start": (100, 60), "walked": [(0, 100, 300), (2, 300, 150)],
                 "ledge_top": [100, 130, 160], "segs": [(90, 310), (140, 400)]}
        plan, _ = ml.plan_of({"level": level, "edits": []}, {"count": 5, "interval": 1000})
        # Out at 10 / 45 s + 0.3 s; 200 pixels at 20 px/s, a 60-row drop at 45 px/s, 1.5 s on. The
        # column's last one comes down at 3.2 + 4 s + 1.3 x 11.33 s, 4 s later the leader turns at the
        # post (397) and walks 247 pixels to the hole at 150.
        self.assertEqual([l for l in plan.splitlines() if not l.startswith("#")],
                         ["522 right none 0 0", "13355 none none 0 0", "25933 left none 0 0", "40450 none none 0 0"])

    def test_a_limit_leaves_the_plan_a_tenth_and_every_hand_a_twentieth(self):
        # A plan that wins at 328.3 s of 6 minutes leaves 8.8 %: one more minute.
        runs = [(True, "-", 328300), (True, "-", 284000), (True, "-", 307000), (True, "-", 299000)]
        self.assertEqual((ml.short_of_time(runs, 360000), ml.short_of_time(runs, 420000)), (True, False))
        self.assertFalse(ml.short_of_time([(True, "-", 300000), (True, "-", 342000)], 360000))
        self.assertTrue(ml.short_of_time([(True, "-", 300000), (True, "-", 342050)], 360000))

    def test_goals_never_drop_and_stay_under_every_later_walk(self):
        self.assertEqual(ml.goals_along([30, 32, 34, 36], [50, 45, 31, 60]), [30, 31, 31, 36])


class PlayTest(unittest.TestCase):
    """The model plays the plans the robot plays in the real game, and a jitter seed must name the
    same hand in both: the draws are splitmix64, whose published first outputs for seed 1234567 are
    below."""

    def test_the_draws_are_splitmix64(self):
        d = ml.Draws(1234567)
        self.assertEqual([d.next() for _ in range(3)],
                         [6457827717110365317, 3203168211198807973, 9817491932198370423])

    def test_a_hand_shifts_inputs_300_ms_and_strokes_500_late_3_pixels_off(self):
        plan = [(1000, "right", "none", 0, 0), (5000, "none", "right", 100, 50)]
        walks, strokes, aims = set(), set(), set()
        for seed in range(300):
            moved = ml.jittered(plan, seed)
            walk = [s for s in moved if s[1] == "right"][0]
            stroke = [s for s in moved if s[2] == "right"][0]
            walks.add(walk[0] - 1000)
            strokes.add(stroke[0] - 5000)
            aims.update((stroke[3] - 100, stroke[4] - 50))
        self.assertEqual((min(walks), max(walks) >= 290, min(walks) <= -290), (min(walks), True, True))
        self.assertTrue(200 <= min(strokes) <= 210 and 790 <= max(strokes) <= 800, (min(strokes), max(strokes)))
        self.assertEqual(sorted(aims), [-3, -2, -1, 0, 1, 2, 3])

    def test_one_follower_walks_to_the_exit_and_a_gap_kills_it(self):
        solid = LevelRulesTest.room(None)
        level = {"start": (40, 130), "exit": (240, 150), "size": (320, 200)}
        nums = {"count": 1, "interval": 1000, "survivors": 100, "goal": 0}
        # The leader leads right. Out of the door at 3.2 s, 19 rows down at 45 px/s, 200 pixels at
        # 20 px/s, half a second through the door.
        lead = [(0, "right", "none", 0, 0)]
        won, cause, ms, survivors, _ = ml.play(solid, solid, level, nums, lead, (16, 16), 1, 60000)
        self.assertEqual((won, cause, survivors), (True, "-", 100))
        self.assertTrue(14000 <= ms <= 14400, ms)
        # With the leader standing at the door, the follower walks on into a gap and falls out.
        solid[150:156, 100:110] = False
        self.assertEqual(ml.play(solid, solid, level, nums, [], (16, 16), 1, 60000)[:2], (False, "survivors"))
        nums["survivors"] = 0               # then only the clock ends it, before the follower is home
        self.assertEqual(ml.play(solid, solid, level, nums, [], (16, 16), 1, 5000)[:2], (False, "time"))


if __name__ == "__main__":
    unittest.main()

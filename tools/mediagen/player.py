"""The player: 18 x 30, facing right; the left-facing frames are mirrors."""
from .canvas import Pix


PLAYER_W, PLAYER_H = 18, 30

HEAD = [
    "......RRRRR.......",
    ".....RRRRRRR......",
    "....RRRRRWWRR.....",
    "....RRRRRRRRRR....",
    "....HHrrrrrrrrrr..",
    "....HHSSSSSES.....",
    "....HSSSSSSESS....",
    "....HSSSSSSSSSS...",
    ".....SSSSSsss.....",
    "......sSSSs.......",
]
HEAD_BACK = [
    "......RRRRR.......",
    ".....RRRRRRR......",
    "....RRRRRRRRR.....",
    "....RRRRRRRRR.....",
    "....rrrrrrrrr.....",
    "....HHHHHHHHH.....",
    "....HHHHHHHHH.....",
    "....SHHHHHHHS.....",
    ".....HHHHHHH......",
    "......sSSSs.......",
]
HEAD_KEY = {"R": "red", "r": "red2", "W": "white", "H": "brown", "S": "skin",
            "s": "skin2", "E": "ink"}


def player_torso(p, y0=10):
    p.rect(5, y0 + 1, 11, y0 + 1, "green")
    p.rect(4, y0 + 2, 12, y0 + 8, "green")
    p.vline(4, y0 + 3, y0 + 8, "green2")
    p.hline(5, 12, y0 + 8, "green2")
    p.put(10, y0 + 2, "green3")
    p.put(11, y0 + 3, "green3")
    p.hline(4, 12, y0 + 9, "brown2")
    p.put(9, y0 + 9, "yellow")
    p.hline(4, 12, y0 + 10, "blue")


def player_leg(p, hip, knee, ankle, near):
    cloth = "blue" if near else "blue2"
    p.line(hip[0], hip[1], knee[0], knee[1], cloth, 3)
    p.line(knee[0], knee[1], ankle[0], ankle[1], cloth, 3)
    bx, by = ankle[0], ankle[1] + 1
    p.rect(bx, by, bx + 3, by + 1, "brown" if near else "brown2")
    p.hline(bx, bx + 3, by + 1, "brown2" if near else "ink2")


def player_arm(p, shoulder, hand, near):
    p.line(shoulder[0], shoulder[1], hand[0], hand[1], "green2" if near else "green2", 2)
    p.rect(hand[0], hand[1], hand[0] + 1, hand[1] + 1, "skin" if near else "skin2")


def player_frame(pose):
    p = Pix(PLAYER_W, PLAYER_H)
    bob = pose.get("bob", 0)
    far_leg, near_leg = pose["legs"]
    far_arm, near_arm = pose["arms"]
    player_arm(p, (8, 13 + bob), far_arm, False)
    player_leg(p, *far_leg, near=False)
    player_leg(p, *near_leg, near=True)
    player_torso(p, 10 + bob)
    p.ascii(0, 1 + bob, HEAD, HEAD_KEY)
    player_arm(p, (7, 13 + bob), near_arm, True)
    p.outline()
    p.soften()
    return p


# Right-facing poses: each leg is (hip, knee, ankle); ankles at row 27 stand on
# the floor (the boot fills rows 28 and 29); arms are hand positions.
WALK_POSES = [
    {"legs": [((5, 21), (4, 24), (3, 27)), ((8, 21), (10, 24), (11, 27))],
     "arms": [(12, 17), (4, 17)]},
    {"bob": -1, "legs": [((6, 20), (8, 23), (6, 25)), ((7, 20), (7, 23), (7, 27))],
     "arms": [(9, 18), (8, 18)]},
    {"legs": [((8, 21), (10, 24), (11, 27)), ((5, 21), (4, 24), (3, 27))],
     "arms": [(4, 17), (12, 17)]},
    {"bob": -1, "legs": [((7, 20), (7, 23), (7, 27)), ((6, 20), (8, 23), (6, 25))],
     "arms": [(8, 18), (9, 18)]},
]
JUMP_POSE = {"bob": -1,
             "legs": [((5, 20), (4, 24), (3, 27)), ((8, 20), (12, 21), (11, 25))],
             "arms": [(3, 14), (13, 8)]}


def player_climb(phase):
    p = Pix(PLAYER_W, PLAYER_H)
    left_up = phase == 0
    # arms reach for the rungs above, alternating
    for side, up in ((0, not left_up), (1, left_up)):
        hx = 5 if side == 0 else 9
        if up:
            player_leg(p, (hx, 21), (hx + (-1 if side == 0 else 1), 23), (hx, 25), True)
        else:
            player_leg(p, (hx, 21), (hx, 24), (hx, 27), True)
    player_torso(p, 10)
    p.hline(4, 12, 19, "brown2")
    p.ascii(0, 1, HEAD_BACK, HEAD_KEY)
    for side, up in ((0, left_up), (1, not left_up)):
        sx = 4 if side == 0 else 11
        hx = (2 if side == 0 else 13)
        hy = 3 if up else 13
        p.line(sx, 12, hx, hy, "green2", 2)
        p.rect(hx, hy, hx + 1, hy + 1, "skin")
    p.outline()
    p.soften()
    return p


def player_animations():
    """animation name -> (frames, durations)."""
    walk = [player_frame(pose) for pose in WALK_POSES]
    jump = player_frame(JUMP_POSE)
    climb = [player_climb(0), player_climb(1)]
    return {
        "walk_right": (walk, [6, 6, 6, 6]),
        "walk_left": ([f.mirrored() for f in walk], [6, 6, 6, 6]),
        "jump_right": ([jump], [10]),
        "jump_left": ([jump.mirrored()], [10]),
        "climb": (climb, [8, 8]),
    }

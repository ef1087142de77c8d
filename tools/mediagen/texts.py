"""The text files of the tree: the settings, the player, animations and enemy kinds."""
from .player import PLAYER_H, PLAYER_W


PWE_CFG = """\
# Settings of the game. Every key holds its default value; a key that is
# removed, or a missing file, gives the same value.

[display]
# windowed opens a window; any other word uses the full screen
mode = windowed
# screen width in pixels (the levels are laid out for 640 x 480)
width = 640
# screen height in pixels
height = 480
# each game pixel shown as a scale x scale block: 2 doubles the window;
# 0 takes the largest that fits the desktop (a full screen at any scale
# but 1 fills the desktop, the picture as large as fits and centred)
scale = 1
# how the game waits for its next tick: poll looks at the tick count every
# few milliseconds; wait sleeps until the tick timer wakes it, which costs
# the processor far less
idle = poll

[mechanics]
# game ticks per second; every speed and time in the data files counts in ticks
updates_per_second = 100
# ticks after a teleport before the next teleport is possible
teleport_cooldown = 200
# pixels left of a chute's top step within which the player's left foot enters it
chute_horiz_tol = 14
# pixels by which each ladder is narrowed on both sides for climbing
ladder_horiz_tol = 6
# rows above a ladder's top (plus one) that still count as at the ladder
ladder_vert_tol = 2

[keyboard]
# keys are Allegro scan codes: 82 left arrow, 83 right, 84 up, 85 down, 75 space
# walk left (with jump: jump to the left)
left = 82
# walk right (with jump: jump to the right)
right = 83
# climb up a ladder
up = 84
# climb down a ladder
down = 85
# jump
jump = 75
# pause and go on (16 is P); losing the window's focus pauses as well
pause = 16

[game]
# what losing the window's focus for longer than a quarter of a second does
# (a shorter loss, another program taking the keyboard a moment, does
# nothing): 0 plays on, 1 pauses until the pause key, 2 pauses until the
# focus comes back
pause_on_focus_loss = 1

[joystick]
# the first joystick or gamepad plays beside the keyboard: its stick or pad
# walks and climbs, and this button jumps (0 is the first button, up to 31)
jump = 0
# how far from centre, out of 128, the stick must be pushed to count; less
# lets a stick that rests or drifts a little off centre walk the player
dead_zone = 48

[sound]
# loudness of every sound, from 0 (silent) to 255 (full)
volume = 255

[editor]
# the first save of a session in pwe-edit keeps the file as it was before
# as FILE~ beside it (level1.inf~); 0 keeps no backup
backups = 1
"""

# Motion at 100 ticks a second. The jump descends 2 pixels a tick, so its
# two-row landing window can never be stepped over; 44 pixels of height
# reach a ledge 32 pixels up; a drop of one floor (80 pixels), even at the
# end of a jump (44 + 80), is survived, two floors are not.
PLAYER = {
    "walk_speed": 1.5, "fall_speed": 3.0, "climb_speed": 1.5, "jump_speed": 2.0,
    "jump_stride": 1.0, "slide_factor": 0.5, "jump_height": 44.0, "max_drop": 128.0,
}


def player_inf():
    names = "walk_left walk_right climb jump_left jump_right"
    p = PLAYER
    return (f"{names}\n{PLAYER_W} {PLAYER_H}\n"
            f"{p['walk_speed']} {p['fall_speed']} {p['climb_speed']} {p['jump_speed']}\n"
            f"{p['jump_stride']} {p['slide_factor']} {p['jump_height']} {p['max_drop']}\n")


def anm_text(name, durations):
    """An animation file: its name, its frame count, each frame's ticks."""
    return f"{name}\n{len(durations)}\n" + " ".join(map(str, durations)) + "\n"


def nme_text(animations):
    """An enemy kind: its four animation names, one a line."""
    return "\n".join(animations) + "\n"

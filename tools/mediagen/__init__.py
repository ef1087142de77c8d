"""Draws the shipped media tree of the game: pixel art, bitmap fonts,
synthesized sounds, the configuration, the player, the animation and enemy
files. The levels are not drawn here: media/levelN.inf are sources, edited
by hand and proven clearable by the replays in tests/replays/.

Everything is drawn in code with fixed seeds, and the PNG files carry no
time or gamma chunks, so a second run reproduces the committed files byte
for byte. Run it with Debian's python3 (it has Pillow); `__main__.py` says how.
"""

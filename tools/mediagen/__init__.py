"""Draws the shipped media tree of the game: pixel art, bitmap fonts,
synthesized sounds, the configuration, the player and the levels.

Everything is drawn in code with fixed seeds, and the PNG files carry no
time or gamma chunks, so a second run reproduces the committed files byte
for byte. Run it with Debian's python3 (it has Pillow); `__main__.py` says how.
"""

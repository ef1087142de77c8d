# Every file and directory the game reads, taken away or damaged one at a
# time in a copy of the shipped media tree: each run must end within a few
# seconds, either with status 1 and exactly the message box the loader
# owes the level author, or, where a damaged text file is read anyway,
# with a game that plays and ends with status 0 on Escape. Nothing may
# crash or hang.
#
# Cases run in a few parallel lanes, each with an X server of its own.
# The message box is a stub xmessage that writes its text (the last
# argument) to message.txt in the game's working directory.
source "$(dirname "$0")/lib.sh" "$@"
export LC_ALL=C

# expect | earlier levels | change | path below media/ | argument | message
#
# expect: stop  - status 1, this text in the box and on standard error
#         quiet - status 1 without a box, this text on standard error
#         runs  - the game plays; Escape ends it with status 0; the text,
#                 if any, is a line the log must hold
#         named - an image or enemy kind, named in the argument, is gone:
#                 stop as above when the first level names it, else runs
# earlier levels: how many of level1.inf.. are replaced by a level that is
#         cleared in its first tick, so that the damaged level is reached
# change: remove, garbage (64 bytes that are no format at all), half
#         (the first half of the file), empty (0 bytes), dir (an empty
#         directory in its place), tokens N (the first N words only),
#         text T (T with \n escapes), copy F (the file media/F instead),
#         fifo (a FIFO with no writer, which a blocking open waits on for ever),
#         claims "W H" (a PNG with valid checksums whose header declares
#         W x H pixels over a few bytes of data)
# In messages {path} is media/ and the path, {blob} the garbage bytes.
cases=$(cat <<'TABLE'
runs|0|remove|pwe.cfg||
runs|0|garbage|pwe.cfg||
runs|0|empty|pwe.cfg||
runs|0|dir|pwe.cfg||
quiet|0|text|pwe.cfg|[display]\nwidth = 0\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nheight = -1\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nwidth = 20000\nheight = 20000\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nmode = fullscreen\nwidth = 100000\nheight = 100000\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nmode = fullscreen\nwidth = 100000\nheight = 100000\n|pwe: a 100000 x 100000 full screen is beyond 32767 pixels a side, the most a display can show
quiet|0|text|pwe.cfg|[display]\nmode = fullscreen\nwidth = 65536\nheight = 480\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nmode = fullscreen\nwidth = 32768\nheight = 32768\n|pwe: Couldn't set graphics mode!
quiet|0|text|pwe.cfg|[display]\nmode = fullscreen\nwidth = 0\nheight = 480\n|pwe: a 0 x 480 full screen has no pixels
quiet|0|text|pwe.cfg|[display]\nmode = windowed\nwidth = 100000\nheight = 100000\n|pwe: Couldn't set graphics mode!
runs|0|text|pwe.cfg|[mechanics]\nupdates_per_second = 0\n|updates_per_second 0 unusable; using 100.
runs|0|text|pwe.cfg|[mechanics]\nupdates_per_second = -5\n|updates_per_second -5 unusable; using 100.
runs|0|text|pwe.cfg|[mechanics]\nupdates_per_second = 2000000\n|updates_per_second 2000000 unusable; using 100.
runs|0|text|pwe.cfg|[keyboard]\nleft = 100000\njump = -1\n|Key code 100000 for "left" is not a key; using 82.
runs|0|text|pwe.cfg|[sound]\nvolume = 300\n|Sound volume 300 is outside 0 to 255; using 255.
stop|0|remove|player.inf||Error loading player.inf
stop|0|dir|player.inf||Error loading player.inf
stop|0|garbage|player.inf||Error opening media/gfx/anim/player/{blob}.anm.
stop|0|empty|player.inf||Error opening media/gfx/anim/player/.anm.
stop|0|tokens|player.inf|3|Error opening media/gfx/anim/player/.anm.
stop|0|text|player.inf|walk_left walk_right climb jump_left jump_up 18 30\n|Error opening media/gfx/anim/player/jump_up.anm.
runs|0|tokens|player.inf|7|
runs|0|text|player.inf|walk_left walk_right climb jump_left jump_right 18 30 fast 3.0\n|
stop|0|remove|gfx/anim/player/walk_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/player/walk_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/player/climb.anm||Error opening {path}.
stop|0|remove|gfx/anim/player/jump_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/player/jump_right.anm||Error opening {path}.
stop|0|dir|gfx/anim/player/walk_left.anm||Error opening {path}.
stop|0|garbage|gfx/anim/player/walk_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/player/walk_right.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/player/climb.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/player/jump_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/player/jump_right.anm||Error reading {path}: no frame count.
stop|0|empty|gfx/anim/player/walk_left.anm||Error reading {path}: no frame directory.
stop|0|tokens|gfx/anim/player/walk_left.anm|3|Error reading {path}: no duration for frame 1.
stop|0|tokens|gfx/anim/player/climb.anm|2|Error reading {path}: no duration for frame 0.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left four 6 6 6 6\n|Error reading {path}: frame count "four" is not a number.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left 0\n|Error reading {path}: frame count 0 is not between 1 and 10000.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left -3 6\n|Error reading {path}: frame count -3 is not between 1 and 10000.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left 99999999999999999999\n|Error reading {path}: frame count 99999999999999999999 is not between 1 and 10000.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left 4 6 6x 6 6\n|Error reading {path}: duration "6x" of frame 1 is not a number.
stop|0|text|gfx/anim/player/walk_left.anm|walk_left 5 6 6 6 6 6\n|Error loading "media/gfx/anim/player/walk_left/4.png".
stop|0|text|gfx/anim/player/walk_left.anm|missing 4 6 6 6 6\n|Error loading "media/gfx/anim/player/missing/0.png".
stop|0|remove|gfx/anim/player/walk_left||Error loading "{path}/0.png".
stop|0|remove|gfx/anim/player/walk_right||Error loading "{path}/0.png".
stop|0|remove|gfx/anim/player/climb||Error loading "{path}/0.png".
stop|0|remove|gfx/anim/player/jump_left||Error loading "{path}/0.png".
stop|0|remove|gfx/anim/player/jump_right||Error loading "{path}/0.png".
stop|0|remove|gfx/anim/player/walk_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_left/2.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_left/3.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_right/2.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/walk_right/3.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/climb/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/climb/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/jump_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/player/jump_right/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/walk_left/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/walk_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/walk_left/3.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/walk_right/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/climb/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/jump_left/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/player/jump_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/player/walk_left/2.png||Error loading "{path}".
stop|0|half|gfx/anim/player/walk_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/player/climb/0.png||Error loading "{path}".
stop|0|half|gfx/anim/player/jump_left/0.png||Error loading "{path}".
stop|0|half|gfx/anim/player/jump_right/0.png||Error loading "{path}".
stop|0|empty|gfx/anim/player/walk_right/2.png||Error loading "{path}".
stop|0|dir|gfx/anim/player/walk_right/3.png||Error loading "{path}".
stop|0|remove|gfx/anim/player||Error opening media/gfx/anim/player/walk_left.anm.
stop|0|remove|gfx/anim/enemy||No .nme files located!
stop|0|remove|gfx/anim||No .nme files located!
named|0|remove|gfx/anim/enemy/beetle.nme|beetle|No sprite to correspond with name beetle
named|0|remove|gfx/anim/enemy/blob.nme|blob|No sprite to correspond with name blob
named|0|remove|gfx/anim/enemy/robot.nme|robot|No sprite to correspond with name robot
stop|0|dir|gfx/anim/enemy/beetle.nme||Error loading {path}
stop|0|garbage|gfx/anim/enemy/beetle.nme||Error reading {path}: fewer than four animation names.
stop|0|garbage|gfx/anim/enemy/blob.nme||Error reading {path}: fewer than four animation names.
stop|0|garbage|gfx/anim/enemy/robot.nme||Error reading {path}: fewer than four animation names.
stop|0|empty|gfx/anim/enemy/blob.nme||Error reading {path}: fewer than four animation names.
stop|0|tokens|gfx/anim/enemy/robot.nme|3|Error reading {path}: fewer than four animation names.
stop|0|text|gfx/anim/enemy/beetle.nme|beetle_left beetle_right beetle_scared_left beetle_afraid\n|Error opening media/gfx/anim/enemy/beetle_afraid.anm.
stop|0|text|gfx/anim/enemy/ghost.nme|ghost_left ghost_right ghost_left ghost_right\n|Error opening media/gfx/anim/enemy/ghost_left.anm.
stop|0|remove|gfx/anim/enemy/beetle_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/beetle_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/beetle_scared_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/beetle_scared_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/blob_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/blob_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/blob_scared_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/blob_scared_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/robot_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/robot_right.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/robot_scared_left.anm||Error opening {path}.
stop|0|remove|gfx/anim/enemy/robot_scared_right.anm||Error opening {path}.
stop|0|garbage|gfx/anim/enemy/beetle_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/blob_scared_right.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/robot_right.anm||Error reading {path}: no frame count.
stop|0|tokens|gfx/anim/enemy/robot_scared_left.anm|3|Error reading {path}: no duration for frame 1.
stop|0|garbage|gfx/anim/enemy/beetle_right.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/beetle_scared_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/beetle_scared_right.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/blob_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/blob_right.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/blob_scared_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/robot_left.anm||Error reading {path}: no frame count.
stop|0|garbage|gfx/anim/enemy/robot_scared_right.anm||Error reading {path}: no frame count.
stop|0|remove|gfx/anim/enemy/beetle_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_scared_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_scared_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_scared_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/beetle_scared_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_scared_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_scared_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_scared_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_scared_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_scared_left/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_scared_left/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_scared_right/0.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/robot_scared_right/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/beetle_left/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/beetle_scared_right/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/blob_right/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/blob_scared_left/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/robot_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/robot_scared_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/beetle_right/1.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/blob_left/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/robot_scared_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/beetle_left/1.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/beetle_right/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/beetle_scared_left/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/beetle_scared_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/beetle_scared_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/blob_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/blob_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/blob_scared_left/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/blob_scared_right/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/blob_scared_right/1.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/robot_left/0.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/robot_right/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/robot_right/1.png||Error loading "{path}".
stop|0|half|gfx/anim/enemy/robot_scared_left/0.png||Error loading "{path}".
stop|0|garbage|gfx/anim/enemy/robot_scared_right/1.png||Error loading "{path}".
stop|0|remove|gfx/anim/enemy/blob_scared_left||Error loading "{path}/0.png".
stop|0|remove|gfx||No floor tile graphics located!
stop|0|remove|gfx/static||No floor tile graphics located!
stop|0|remove|gfx/static/back.png||Error loading "{path}".
stop|0|remove|gfx/static/countdown_back.png||Error loading "{path}".
stop|0|remove|gfx/static/score_back.png||Error loading "{path}".
stop|0|remove|gfx/static/life_pip.png||Error loading "{path}".
stop|0|garbage|gfx/static/back.png||Error loading "{path}".
stop|0|garbage|gfx/static/countdown_back.png||Error loading "{path}".
stop|0|garbage|gfx/static/score_back.png||Error loading "{path}".
stop|0|garbage|gfx/static/life_pip.png||Error loading "{path}".
stop|0|half|gfx/static/back.png||Error loading "{path}".
stop|0|half|gfx/static/countdown_back.png||Error loading "{path}".
stop|0|half|gfx/static/score_back.png||Error loading "{path}".
stop|0|half|gfx/static/life_pip.png||Error loading "{path}".
stop|0|dir|gfx/static/back.png||Error loading "{path}".
stop|0|remove|fonts||Error loading "media/fonts/countdown_fnt.png".
stop|0|remove|fonts/countdown_fnt.png||Error loading "{path}".
stop|0|remove|fonts/score_fnt.png||Error loading "{path}".
stop|0|garbage|fonts/countdown_fnt.png||Error loading "{path}".
stop|0|garbage|fonts/score_fnt.png||Error loading "{path}".
stop|0|half|fonts/countdown_fnt.png||Error loading "{path}".
stop|0|half|fonts/score_fnt.png||Error loading "{path}".
stop|0|empty|fonts/score_fnt.png||Error loading "{path}".
runs|0|copy|fonts/countdown_fnt.png|gfx/static/life_pip.png|
runs|0|copy|fonts/score_fnt.png|gfx/static/back.png|
stop|0|claims|gfx/static/back.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/back.png|23171 23171|Error loading "{path}".
stop|0|claims|gfx/static/back.png|40000 40000|Error loading "{path}".
stop|0|claims|gfx/static/countdown_back.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/score_back.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/life_pip.png|0 7|Error loading "{path}".
stop|0|claims|fonts/countdown_fnt.png|30000 30000|Error loading "{path}".
stop|0|claims|fonts/score_fnt.png|65536 8192|Error loading "{path}".
stop|0|claims|gfx/static/floor tiles/normal/brick.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/floor tiles/clear/brick.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/ladders/wood.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/chutes/slide_left.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/items/gem.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/transportation/teleporters/normal/pad.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/static/transportation/teleporters/cooldown/pad.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/anim/player/walk_left/2.png|30000 30000|Error loading "{path}".
stop|0|claims|gfx/anim/enemy/blob_left/0.png|30000 30000|Error loading "{path}".
stop|0|remove|audio||Error loading media/audio/walk.wav.
stop|0|remove|audio/walk.wav||Error loading {path}.
stop|0|remove|audio/jump.wav||Error loading {path}.
stop|0|remove|audio/player_death_fall.wav||Error loading {path}.
stop|0|remove|audio/player_death_enemy.wav||Error loading {path}.
stop|0|remove|audio/item.wav||Error loading {path}.
stop|0|remove|audio/enemy_death.wav||Error loading {path}.
stop|0|garbage|audio/walk.wav||Error loading {path}.
stop|0|garbage|audio/jump.wav||Error loading {path}.
stop|0|garbage|audio/player_death_fall.wav||Error loading {path}.
stop|0|garbage|audio/player_death_enemy.wav||Error loading {path}.
stop|0|garbage|audio/item.wav||Error loading {path}.
stop|0|garbage|audio/enemy_death.wav||Error loading {path}.
stop|0|half|audio/walk.wav||Error loading {path}.
stop|0|half|audio/enemy_death.wav||Error loading {path}.
stop|0|empty|audio/item.wav||Error loading {path}.
stop|0|dir|audio/jump.wav||Error loading {path}.
stop|0|remove|gfx/static/floor tiles||No floor tile graphics located!
stop|0|remove|gfx/static/floor tiles/normal||No floor tile graphics located!
stop|0|remove|gfx/static/floor tiles/clear||No cleared floor graphics located!
stop|0|remove|gfx/static/ladders||No ladder graphics located!
stop|0|remove|gfx/static/chutes||No chute graphics located!
stop|0|remove|gfx/static/items||No item graphics located!
stop|0|remove|gfx/static/transportation||No teleporter graphics located!
stop|0|remove|gfx/static/transportation/teleporters/normal||No teleporter graphics located!
stop|0|remove|gfx/static/transportation/teleporters/cooldown||No teleporter cooldown graphics located!
named|0|remove|gfx/static/floor tiles/normal/brick.png|brick|No graphics to correspond with name brick
named|0|remove|gfx/static/floor tiles/normal/girder.png|girder|No graphics to correspond with name girder
named|0|remove|gfx/static/floor tiles/normal/grass.png|grass|No graphics to correspond with name grass
named|0|remove|gfx/static/floor tiles/normal/steel.png|steel|No graphics to correspond with name steel
named|0|remove|gfx/static/floor tiles/normal/stone.png|stone|No graphics to correspond with name stone
named|0|remove|gfx/static/floor tiles/clear/brick.png|brick|No graphics to correspond with name brick
named|0|remove|gfx/static/floor tiles/clear/girder.png|girder|No graphics to correspond with name girder
named|0|remove|gfx/static/floor tiles/clear/grass.png|grass|No graphics to correspond with name grass
named|0|remove|gfx/static/floor tiles/clear/steel.png|steel|No graphics to correspond with name steel
named|0|remove|gfx/static/floor tiles/clear/stone.png|stone|No graphics to correspond with name stone
named|0|remove|gfx/static/ladders/metal.png|metal|No graphics to correspond with name metal
named|0|remove|gfx/static/ladders/wood.png|wood|No graphics to correspond with name wood
named|0|remove|gfx/static/chutes/slide_left.png|slide_left|No graphics to correspond with name slide_left
named|0|remove|gfx/static/chutes/slide_right.png|slide_right|No graphics to correspond with name slide_right
named|0|remove|gfx/static/items/cherry.png|cherry|No graphics to correspond with name cherry
named|0|remove|gfx/static/items/coin.png|coin|No graphics to correspond with name coin
named|0|remove|gfx/static/items/gem.png|gem|No graphics to correspond with name gem
named|0|remove|gfx/static/items/star.png|star|No graphics to correspond with name star
named|0|remove|gfx/static/transportation/teleporters/normal/gate1.png|gate1|No graphics to correspond with name gate1
named|0|remove|gfx/static/transportation/teleporters/normal/pad1.png|pad1|No graphics to correspond with name pad1
named|0|remove|gfx/static/transportation/teleporters/cooldown/gate1.png|gate1|No graphics to correspond with name gate1
named|0|remove|gfx/static/transportation/teleporters/cooldown/pad1.png|pad1|No graphics to correspond with name pad1
stop|0|garbage|gfx/static/floor tiles/normal/brick.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/normal/girder.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/normal/grass.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/normal/steel.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/normal/stone.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/clear/brick.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/clear/girder.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/clear/grass.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/clear/steel.png||Error loading "{path}".
stop|0|garbage|gfx/static/floor tiles/clear/stone.png||Error loading "{path}".
stop|0|garbage|gfx/static/ladders/metal.png||Error loading "{path}".
stop|0|garbage|gfx/static/ladders/wood.png||Error loading "{path}".
stop|0|garbage|gfx/static/chutes/slide_left.png||Error loading "{path}".
stop|0|garbage|gfx/static/chutes/slide_right.png||Error loading "{path}".
stop|0|garbage|gfx/static/items/cherry.png||Error loading "{path}".
stop|0|garbage|gfx/static/items/coin.png||Error loading "{path}".
stop|0|garbage|gfx/static/items/gem.png||Error loading "{path}".
stop|0|garbage|gfx/static/items/star.png||Error loading "{path}".
stop|0|garbage|gfx/static/transportation/teleporters/normal/gate.png||Error loading "{path}".
stop|0|garbage|gfx/static/transportation/teleporters/normal/pad.png||Error loading "{path}".
stop|0|garbage|gfx/static/transportation/teleporters/cooldown/gate.png||Error loading "{path}".
stop|0|garbage|gfx/static/transportation/teleporters/cooldown/pad.png||Error loading "{path}".
stop|0|half|gfx/static/floor tiles/normal/steel.png||Error loading "{path}".
stop|0|half|gfx/static/floor tiles/clear/grass.png||Error loading "{path}".
stop|0|half|gfx/static/ladders/wood.png||Error loading "{path}".
stop|0|half|gfx/static/chutes/slide_left.png||Error loading "{path}".
stop|0|half|gfx/static/items/coin.png||Error loading "{path}".
stop|0|half|gfx/static/transportation/teleporters/normal/pad.png||Error loading "{path}".
stop|0|half|gfx/static/transportation/teleporters/cooldown/gate.png||Error loading "{path}".
stop|0|dir|gfx/static/items/gem.png||Error loading "{path}".
stop|0|remove|level1.inf||Error loading "level1.inf"
stop|1|remove|level2.inf||Error loading "level2.inf"
stop|2|remove|level3.inf||Error loading "level3.inf"
stop|3|remove|level4.inf||Error loading "level4.inf"
stop|0|dir|level1.inf||Error loading "level1.inf"
stop|2|dir|level3.inf||Error loading "level3.inf"
runs|0|garbage|level1.inf||
stop|1|garbage|level2.inf||No graphics to correspond with name 
runs|0|empty|level1.inf||
runs|0|tokens|level1.inf|12|
stop|3|text|level4.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n2\n0 464 brick brick 1 10\n16 464 bri|No graphics to correspond with name bri
stop|0|tokens|level1.inf|15|No graphics to correspond with name 
stop|2|tokens|level3.inf|16|No graphics to correspond with name 
stop|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n-1\n|Error loading "level1.inf"
stop|1|text|level2.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n0 0 0 1000000000\n|Error loading "level2.inf"
runs|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n0 0 0 0 0 99999999999\n|
stop|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 7\n0 0 0 0 0 0\n|Start animation 7 is not a player animation (0 to 4).
stop|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 -1\n0 0 0 0 0 0\n|Start animation -1 is not a player animation (0 to 4).
stop|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n1 0 464 Brick brick 1 10\n0 0 0 0 0\n|No graphics to correspond with name Brick
stop|0|text|level1.inf|3000 8 4 2 424 4 2 6 4 56 463 1\n1 0 464 brick brick 1 10\n0 0 1 400 463 0 220 600 0.6 1 0 Blob 600 100\n0 0\n|No sprite to correspond with name Blob
stop|0|remove|.||No floor tile graphics located!
runs|0|fifo|pwe.cfg||media/pwe.cfg is not a regular file; every setting takes its default.
stop|0|fifo|player.inf||Error loading player.inf
stop|0|fifo|gfx/anim/player/climb.anm||Error opening {path}.
stop|0|fifo|gfx/anim/player/walk_left/0.png||Error loading "{path}".
stop|0|fifo|gfx/anim/enemy/beetle.nme||Error loading {path}
stop|0|fifo|gfx/static/items/gem.png||Error loading "{path}".
stop|0|fifo|gfx/static/back.png||Error loading "{path}".
stop|0|fifo|fonts/score_fnt.png||Error loading "{path}".
stop|0|fifo|audio/jump.wav||Error loading {path}.
stop|0|fifo|level1.inf||Error loading "level1.inf"
stop|2|fifo|level3.inf||Error loading "level3.inf"
TABLE
)

# No whitespace and no NUL, so a text reader sees it as one word.
blob=$(printf "$(printf '\\%03o' $(seq 128 191))")
# Cleared in its first tick: one claimable tile under the start, which is
# claimed at once, and nothing else.
cleared_level='3000 8 4 2 424 4 2 6 4 56 463 1
1 48 464 brick brick 1 10
0 0 0 0 0'

mkdir -p "$work/bin"
cat >"$work/bin/xmessage" <<'STUB'
#!/bin/sh
for argument in "$@"; do last="$argument"; done
printf '%s' "$last" > message.txt
exit 0
STUB
chmod +x "$work/bin/xmessage"

# Damages the copy below $1 (a media directory) as case fields say.
claiming_png() {
  python3 - "$1" "$2" <<'PNG'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
width, height = int(sys.argv[1]), int(sys.argv[2])
sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
                        + chunk(b"IDAT", zlib.compress(bytes(10))) + chunk(b"IEND", b""))
PNG
}

apply_change() {
  local media="$1" change="$2" path="$3" argument="$4"
  local target="$media/$path"
  case "$change" in
    remove) rm -rf "${target%/.}" ;;
    garbage) printf '%s' "$blob" >"$target" ;;
    half) head -c $(( $(stat -c %s "$target") / 2 )) "$target" >"$target.half" && mv "$target.half" "$target" ;;
    empty) : >"$target" ;;
    dir) rm -rf "$target" && mkdir -p "$target" ;;
    fifo) rm -rf "$target" && mkfifo "$target" ;;
    tokens) tr -s ' \t\n' '\n\n\n' <"$target" | grep -v '^$' | head -n "$argument" | tr '\n' ' ' >"$target.cut" && mv "$target.cut" "$target" ;;
    text) printf '%b' "$argument" >"$target" ;;
    copy) cp "$media/$argument" "$target" ;;
    claims) claiming_png $argument >"$target" ;;
    *) echo "unknown change $change" >&2; return 1 ;;
  esac
}

# Runs case $1 (its table line in $2) in its own directory under this
# lane's X server; prints one result line, "ok ..." or "FAIL ...".
run_case() {
  local number="$1" line="$2"
  local expect earlier change path argument message
  IFS='|' read -r expect earlier change path argument message <<<"$line"
  local dir="$work/case$number"
  mkdir -p "$dir"
  cp -r "$work/media" "$dir/media"
  local level
  for (( level = 1; level <= earlier; level++ )); do
    printf '%s\n' "$cleared_level" >"$dir/media/level$level.inf"
  done
  apply_change "$dir/media" "$change" "$path" "$argument" || { echo "FAIL $number: bad case"; return; }
  if [ "$expect" = named ]; then
    if tr -s ' \t\r\n' '\n' <"$work/media/level1.inf" | grep -qxF -- "$argument"; then
      expect=stop
    else
      expect=runs
      message=""
    fi
  fi
  message="${message//\{path\}/media/$path}"
  message="${message//\{blob\}/$blob}"
  local what="$expect $change ${path}${argument:+ [$argument]}"

  local started=$SECONDS
  (cd "$dir" && PWE_LOG=1 PATH="$work/bin:$PATH" exec "$pwe" >stdout.txt 2>stderr.txt) &
  local pid=$!
  lane_game=$pid

  # Asking the X server for windows while the game connects to it makes
  # allegro_init fail now and then, so the search waits until the log says
  # that Allegro is up.
  local tries
  for (( tries = 0; tries < 100; tries++ )); do
    grep -qxF "Keyboard initialized." "$dir/pwe.log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  # The window, or the end of a game that never opens one.
  local wid=""
  for (( tries = 0; tries < 100; tries++ )); do
    wid=$(xdotool search --onlyvisible --name '^Pitwick Engine$' 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  # Any key ends the title card; every load happens after it.
  if [ -n "$wid" ]; then
    xdotool keydown --window "$wid" x 2>/dev/null
    sleep 0.1
    xdotool keyup --window "$wid" x 2>/dev/null
  fi

  local problem=""
  if [ "$expect" = runs ]; then
    local deadline=$(( SECONDS + 8 ))
    until grep -qxF "Beginning level." "$dir/pwe.log" 2>/dev/null; do
      if ! kill -0 "$pid" 2>/dev/null || [ $SECONDS -ge $deadline ]; then break; fi
      sleep 0.1
    done
    if grep -qxF "Beginning level." "$dir/pwe.log" 2>/dev/null && [ -n "$wid" ]; then
      sleep 0.3
      xdotool keydown --window "$wid" Escape 2>/dev/null
      sleep 0.3
      xdotool keyup --window "$wid" Escape 2>/dev/null
    else
      problem="no level began"
    fi
  fi

  local deadline=$(( SECONDS + 6 ))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
  local status
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    problem="${problem:+$problem; }did not end in time"
    status=hung
  else
    wait "$pid"
    status=$?
  fi
  lane_game=""
  local took=$(( SECONDS - started ))

  local shown="(no box)"
  [ -f "$dir/message.txt" ] && shown="[$(cat "$dir/message.txt")]"
  case "$expect" in
    stop)
      # Allegro's box ends its text at the first byte that is not UTF-8;
      # standard error has all of it.
      local boxed="${message%%[$'\x80'-$'\xff']*}"
      [ "$status" = 1 ] || problem="${problem:+$problem; }status $status"
      [ "$shown" = "[$boxed]" ] || problem="${problem:+$problem; }box $shown"
      grep -qxF -- "$message" "$dir/stderr.txt" || problem="${problem:+$problem; }not on stderr"
      ;;
    quiet)
      [ "$status" = 1 ] || problem="${problem:+$problem; }status $status"
      [ "$shown" = "(no box)" ] || problem="${problem:+$problem; }box $shown"
      grep -qxF -- "$message" "$dir/stderr.txt" || problem="${problem:+$problem; }not on stderr"
      ;;
    runs)
      [ "$status" = 0 ] || problem="${problem:+$problem; }status $status"
      [ "$shown" = "(no box)" ] || problem="${problem:+$problem; }box $shown"
      if [ -n "$message" ] && ! grep -qxF -- "$message" "$dir/pwe.log"; then
        problem="${problem:+$problem; }log lacks [$message]"
      fi
      ;;
  esac
  # Allegro reports a crash as "Shutting down Allegro due to signal"; a
  # sanitized build reports what it found.
  grep -q -e "due to signal" -e "Sanitizer" -e "runtime error" \
    "$dir/stderr.txt" "$dir/stdout.txt" 2>/dev/null && problem="${problem:+$problem; }crashed"
  [ $took -le 10 ] || problem="${problem:+$problem; }took ${took}s"

  if [ -z "$problem" ]; then
    echo "ok   $number: $what (${took}s)"
    rm -rf "$dir"
  else
    echo "FAIL $number: $what: $problem; expected [$message];" \
      "stderr: $(grep -v -e '^ALSA' -e '^$' "$dir/stderr.txt" | tail -n 3 | tr '\n' '|')"
  fi
}

# Like start_x, but lanes start side by side: a display number that another
# lane took a moment earlier makes this server die, and another is tried.
start_lane_x() {
  local attempt n
  for (( attempt = 0; attempt < 10; attempt++ )); do
    n=$(( 600 + RANDOM % 300 ))
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    sleep 0.2
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  fail "no X server could be started"
}

# A lane: an X server of its own and every lanes-th case from first.
run_lane() {
  local first="$1" lanes="$2" out="$3"
  lane_game=""
  xvfb_pid=""
  game_pid=""
  trap '[ -n "$lane_game" ] && kill -KILL "$lane_game" 2>/dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
  trap 'exit 1' TERM
  start_lane_x
  local number=0
  while IFS= read -r line; do
    number=$(( number + 1 ))
    [ $(( (number - 1) % lanes )) -eq "$first" ] || continue
    run_case "$number" "$line"
  done <<<"$cases" >"$out"
}

lanes=${PWE_MATRIX_LANES:-4}
began=$SECONDS
lane_pids=()
for (( lane = 0; lane < lanes; lane++ )); do
  run_lane "$lane" "$lanes" "$work/lane$lane.txt" &
  lane_pids+=($!)
done
# The lanes are stopped with the script, whatever ends it.
cleanup_lanes() {
  for pid in "${lane_pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  cleanup
}
trap cleanup_lanes EXIT
for pid in "${lane_pids[@]}"; do wait "$pid"; done

total=$(grep -c . <<<"$cases")
cat "$work"/lane*.txt | sort -k2 -n
passed=$(cat "$work"/lane*.txt | grep -c '^ok ' || true)
failed=$(( total - passed ))
echo "failure matrix: $total cases in $(( SECONDS - began ))s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || fail "$failed of $total cases went wrong"
echo PASS

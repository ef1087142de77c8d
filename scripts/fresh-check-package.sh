# Sourced by scripts/fresh-check: the check of the Debian package. One
# chroot builds it with scripts/package; a second, fresh one installs it
# with apt-get as a user would, plays it (the stock levels, the shipped
# set and a set of the user's own), checks it and removes it again.

# Runs inside the second chroot as root, with the package in /srv. The game
# and the tools run as an ordinary user, with a user's PATH, from a home
# directory that holds no media.
read -r -d '' install_driver <<'EOF_DRIVER'
fail() { echo "FAIL: $*"; exit 1; }
export DEBIAN_FRONTEND=noninteractive
deb=$(ls /srv/pwe_*.deb) || fail "no package in /srv"
apt-get update -qq || fail "apt-get update"
apt-get install -y -qq "$deb" >/srv/install.log 2>&1 || { tail -n 20 /srv/install.log; fail "apt-get install $deb"; }
echo "apt-get installed $(dpkg-query -W -f='${Package} ${Version}' pwe)"
dpkg -L pwe | sort >/srv/files
# Nothing else is installed yet: whatever the programs link must have come
# with the package's dependencies.
for file in $(cat /srv/files); do
  [ -f "$file" ] && [ -x "$file" ] || continue
  missing=$(ldd "$file" | grep 'not found') && fail "$file lacks: $missing"
done
echo "every library the installed programs link came with the package"
apt-get install -y -qq --no-install-recommends xvfb xdotool desktop-file-utils appstream man-db \
  >/srv/harness.log 2>&1 || { tail -n 20 /srv/harness.log; fail "installing the check's own tools"; }

useradd --create-home player || fail "useradd"
cd /home/player
# setpriv becomes the command, where runuser would wait on it: a game
# started in the background is then the process started here.
player=(setpriv --reuid=player --regid=player --init-groups /usr/bin/env -i HOME=/home/player
  USER=player LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games)
as_player() { "${player[@]}" ${DISPLAY:+DISPLAY=$DISPLAY} "$@"; }
press() { as_player xdotool keydown --window "$1" "$2" 2>/dev/null; sleep 0.3; as_player xdotool keyup --window "$1" "$2" 2>/dev/null; }

# A directory counts as a media tree only when it holds pwe.cfg. /media, the
# system's removable-media mount point, is none, and neither is this bare
# /tmp/media.
[ -d /media ] || fail "this system has no /media for the tools to pass over"
mkdir -p /tmp/media

as_player pwe --version || fail "pwe --version ended with $?"
as_player pwe --help >/dev/null || fail "pwe --help ended with $?"
# /tmp/media holds no pwe.cfg, so /tmp is no tree but a set, and one with
# nothing to play.
as_player pwe /tmp 2>/tmp/no-levels.txt; status=$?
[ "$status" -eq 1 ] && grep -q 'no level files' /tmp/no-levels.txt ||
  { cat /tmp/no-levels.txt; fail "pwe /tmp ended with $status instead of 1 for a set with no levels"; }
echo "pwe --version and --help answer; pwe /tmp takes /tmp for a set, finds no levels there and ends with 1"

# The sets shipped beside the installed tree go by their names, and a name
# that is none is answered with theirs.
data=/usr/share/games/pwe
[ -f "$data/sets/moss/set.cfg" ] || fail "the package holds no set $data/sets/moss"
as_player pwe moss --print-config >/tmp/moss-config.txt || fail "pwe moss --print-config ended with $?"
[ -s /tmp/moss-config.txt ] || fail "pwe moss --print-config printed nothing"
status=0
as_player pwe no-such-set --print-config 2>/tmp/unknown-set.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'moss' /tmp/unknown-set.txt ||
  { cat /tmp/unknown-set.txt; fail "pwe no-such-set ended with $status and did not name the sets beside the game"; }
echo "pwe moss --print-config reads the shipped set; pwe no-such-set names the sets there and ends with 2"

# A set a friend gives is a folder of levels anywhere, laid over the
# installed tree as it is: here one level, copied under a name of its own.
friend=/home/player/friend-set
as_player mkdir "$friend" && as_player cp "$data/media/level1.inf" "$friend/mine.inf" ||
  fail "making $friend"
as_player pwe-check "$friend" >/tmp/check-friend.txt ||
  { cat /tmp/check-friend.txt; fail "pwe-check $friend"; }
as_player pwe-check "$data/sets/moss" >/tmp/check-moss.txt ||
  { cat /tmp/check-moss.txt; fail "pwe-check $data/sets/moss"; }
as_player pwe-render "$data/sets/moss/moss1.inf" /tmp/moss1.png && [ -s /tmp/moss1.png ] ||
  fail "pwe-render $data/sets/moss/moss1.inf /tmp/moss1.png"
echo "pwe-check passes on the shipped set and on a folder of the player's own; pwe-render draws moss1.inf"

# The host's abstract X sockets are shared: pick a display nobody uses.
n=$(( 4000 + RANDOM % 2000 ))
while grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; do n=$(( n + 1 )); done
as_player Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$n" ] || { cat /tmp/xvfb.log; fail "Xvfb :$n did not start"; }
export DISPLAY=":$n"

# Plays pwe with the arguments given, from the home directory, as the menu
# or a terminal would start it: its window shows, a key ends the title
# card, the levels load (a data failure would end the game with 1) and
# Escape ends it with 0.
play_installed() {
  local pid wid status
  "${player[@]}" DISPLAY="$DISPLAY" pwe "$@" &
  pid=$!
  # setpriv and env become the game.
  for _ in $(seq 100); do [ "$(readlink /proc/$pid/exe)" = /usr/games/pwe ] && break; sleep 0.1; done
  [ "$(readlink /proc/$pid/exe)" = /usr/games/pwe ] || { kill -KILL "$pid"; fail "pwe $* did not become the game"; }
  echo "pwe${*:+ $*} became the game"
  sleep 2
  wid=$(as_player timeout 30 xdotool search --sync --onlyvisible --name '^Pitwick Engine' | head -n 1)
  [ -n "$wid" ] || { kill -KILL "$pid"; fail "the window of pwe $* did not show"; }
  press "$wid" x
  sleep 2
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "pwe $* ended with $? after the title card"; }
  press "$wid" Escape
  for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fail "pwe $* did not end on Escape"; fi
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "pwe $* ended with status $status after Escape"
}
play_installed
echo "pwe opened the game from a directory without media; Escape ended it with 0"
# The menu's "Play Moss Caverns".
play_installed moss
echo "pwe moss played the shipped set; Escape ended it with 0"
play_installed "$friend"
echo "pwe $friend played the player's own set; Escape ended it with 0"
unset DISPLAY

# Run with no tree named where there is no media tree, the tools read the
# installed one: what they report and draw is what they do given its path.
installed=/usr/share/games/pwe/media
as_player pwe-check "$installed" >/tmp/check-named.txt ||
  { cat /tmp/check-named.txt; fail "pwe-check $installed"; }
as_player pwe-render level1.inf /tmp/level1-named.png "$installed" && [ -s /tmp/level1-named.png ] ||
  fail "pwe-render level1.inf /tmp/level1-named.png $installed"
for dir in / /tmp /home/player; do
  status=0
  (cd "$dir" && as_player pwe-check) >/tmp/check.txt 2>&1 || status=$?
  [ "$status" -eq 0 ] || { cat /tmp/check.txt; fail "pwe-check in $dir ended with $status"; }
  cmp -s /tmp/check.txt /tmp/check-named.txt ||
    { cat /tmp/check.txt; fail "pwe-check in $dir did not check $installed"; }
  rm -f /tmp/level1.png
  (cd "$dir" && as_player pwe-render level1.inf /tmp/level1.png) || fail "pwe-render in $dir ended with $?"
  cmp -s /tmp/level1.png /tmp/level1-named.png || fail "pwe-render in $dir did not draw $installed/level1.inf"
done
rmdir /tmp/media
echo "from /, /tmp and the home directory pwe-check passes on the installed tree and pwe-render draws its level1.inf"

for command in $(grep '^/usr/games/' /srv/files); do
  man -w 6 "${command##*/}" >/dev/null || fail "man -w 6 ${command##*/} finds no page"
done
echo "man -w 6 pwe finds $(man -w 6 pwe)"
desktop=$(grep '^/usr/share/applications/.*\.desktop$' /srv/files)
metainfo=$(grep '^/usr/share/metainfo/.*\.xml$' /srv/files)
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate --no-net $metainfo"
# Each of the menu entry's actions plays a set the package holds.
for played in $(sed -n 's/^Exec=pwe \([^ ]*\)$/\1/p' "$desktop"); do
  [ -d "$data/sets/$played" ] || fail "the menu entry plays pwe $played, which the package lacks"
done
id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")
[ "/usr/share/applications/$id.desktop" = "$desktop" ] || fail "the metainfo id $id does not name $desktop"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
  [ -f "/usr/share/icons/hicolor/${size}x$size/apps/$icon.png" ] || fail "no $size px icon $icon"
done
echo "the menu entry and the metainfo validate and share the id $id; icons 16 to 256 px"

apt-get remove -y -qq pwe >/srv/remove.log 2>&1 || { cat /srv/remove.log; fail "apt-get remove pwe"; }
left=""
for path in $(cat /srv/files); do
  # Directories such as /usr/games belong to others as well.
  if [ -d "$path" ]; then case "$path" in */pwe|*/pwe/*) [ -e "$path" ] && left+=" $path" ;; esac
  elif [ -e "$path" ]; then left+=" $path"; fi
done
[ -z "$left" ] || fail "apt-get remove left:$left"
echo "apt-get remove left none of the package's $(wc -l </srv/files) paths"
EOF_DRIVER

# The package check: scripts/package in a fresh chroot, then lintian on what
# it built, as Debian holds its own packages to it. The package is kept in
# $work for the install check. Output goes to the log $1.
package_check() {
  local log="$1" deb again
  in_chroot "$log" scripts/package || return 1
  deb="$(tail -n 1 "$log")"
  cp "$chroot_dir$deb" "$work/" || return 1
  # Pedantic and informational tags count too: nothing is left to say.
  if ! in_chroot "$log.lintian" "apt-get install -y -qq --no-install-recommends lintian >/dev/null &&
         lintian --pedantic --display-info --fail-on error,warning,info,pedantic \
           --tag-display-limit 0 '$deb'"; then
    { echo "lintian on $deb:"; cat "$log.lintian"; } >>"$log"
    return 1
  fi
  # Reproducible: the same commit built again from nothing, in another
  # directory, gives the same package byte for byte.
  in_chroot "$log.again" PWE_BUILD_DIR=/src/pwe/build-again scripts/package || {
    cat "$log.again" >>"$log"
    return 1
  }
  again="$(tail -n 1 "$log.again")"
  if ! cmp "$chroot_dir$deb" "$chroot_dir$again" >>"$log" 2>&1; then
    echo "two builds of one commit differ: $deb and $again" >>"$log"
    return 1
  fi
  echo "built twice from one commit: byte for byte the same package" >>"$log"
}

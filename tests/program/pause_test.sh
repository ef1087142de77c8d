# P pauses the running game: "Paused: P to go on" is shown over the middle
# of the last frame and held keys walk nobody; P again plays on. Taking the
# focus away pauses it by itself, and Escape still ends a paused game with
# status 0.
source "$(dirname "$0")/lib.sh" "$@"
claim="Player gained 10 points for clearing tile."
play_first_level
xdotool windowfocus --sync "$wid" 2>/dev/null
sleep 0.3
press "$wid" p 0.1
wait_log "Paused." 5 || fail "P did not pause"
sleep 0.3
screenshot "$work/paused.png"
# The card is black with a white edge and white letters, over a level
# that is nowhere black: lit are its edge and letters, about a fifth of it.
card=$(lit_pixels "$work/paused.png" 64 24 288 228)
[ "$card" -gt 150 ] && [ "$card" -lt 600 ] ||
  fail "no card in the middle of the paused frame ($card of 1536 pixels lit)"
before=$(count_log "$claim")
xdotool keydown Right
sleep 0.5
xdotool keyup Right
sleep 0.2
[ "$(count_log "$claim")" -eq "$before" ] || fail "the player walked while paused"

press "$wid" p 0.1
wait_log "Resumed." 5 || fail "P did not resume"
xdotool keydown Right
sleep 0.5
xdotool keyup Right
sleep 0.2
[ "$(count_log "$claim")" -ge $(( before + 3 )) ] || fail "walking after resuming claimed nothing"

# The root window takes the focus, as when another window is chosen.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
xdotool windowfocus "$root" 2>/dev/null
wait_log "Paused: the window lost the focus." 5 || fail "losing the focus did not pause"
xdotool windowfocus --sync "$wid" 2>/dev/null
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape while paused"
echo PASS

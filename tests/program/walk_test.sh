# Walking right along the first level's bottom floor claims its tiles one
# after another; Escape then ends the run with status 0.
source "$(dirname "$0")/lib.sh" "$@"
claim="Player gained 10 points for clearing tile."
play_first_level
sleep 0.5
standing=$(count_log "$claim")
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool keydown Right
sleep 0.5
xdotool keyup Right
sleep 0.3
walked=$(count_log "$claim")
echo "tiles claimed standing: $standing, after walking: $walked"
[ "$walked" -ge $(( standing + 3 )) ] || fail "walking right claimed $(( walked - standing )) tiles"
[ "$(count_log "Player lives going from 3 to 2.")" -eq 0 ] || fail "a life was lost on the walk"
press "$wid" Escape
wait_exit 10
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo PASS

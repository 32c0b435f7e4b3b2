#!/usr/bin/env bash
# A game across two machines, each a game process with its own window in one X
# server, keys sent to each window in turn (harness2.sh):
#   host PORT on A              "Hosting on port PORT"
#   join 127.0.0.1 PORT on B    "Joined 127.0.0.1:PORT as machine 1"
#   "terrain;tanks 3;computers 1" on A: Player 1 is A's, Player 2 B's, Player 3
#                               the computer's, on every machine
# (the network's lines go to the console and to standard error). Each person
# plays their own turn on their own window: Player 1 drops a Nuke at its own
# feet (velocity 0), then Player 2 likewise if still standing; the result
# ("Player N wins!" or "Draw Game") is written across both windows, and both
# traces are the same from 'processCommand: "terrain"' on. Host and join
# themselves trace nothing, and the key trace stays off: it would differ.
# VT_NET_WAY says which way (tests/realwindow/CMakeLists.txt makes one test of
# each):
#   direct    B joins A's port on loopback; afterwards each machine's replay
#             plays its own trace again, line for line
#   relay     B joins through udp_relay: 75 ms each way and 5 % lost each way,
#             150 ms round trip
#   dropout   a game of two: B is killed (SIGKILL) during Player 1's turn; A
#             says B's tank passed to the computer, which takes its turn, and
#             A's game reaches its result alone
#   refused   B plays with another data pack: the host refuses it with a line
#             naming both packs, and B is left out of the game
: "${VT_NET_WAY:?VT_NET_WAY must be direct, relay, dropout or refused}"
source "$(dirname "$0")/harness2.sh"

# A port of its own, so that runs side by side rarely meet.
port=$((20000 + RANDOM % 20000))
way=$VT_NET_WAY
result_time=120
ldd "$VT_GAME_DIR/vantrell" | grep -q libasan && result_time=240

# The network's lines are on standard error as well as the console.
expect_console() { # NAME TEXT [SECONDS]
    local i
    for i in $(seq 1 $((${3:-10} * 10))); do
        grep -qaF -- "$2" "$(vt_stdout "$1")" "$(vt_stderr "$1")" && return 0
        sleep 0.1
    done
    vt_fail "game $1: no console line \"$2\" within ${3:-10}s"
}

# Waits until game NAME's trace has had no new line for SECONDS: its shells
# have landed and the turn has passed.
wait_quiet() { # NAME SECONDS [MOST]
    local lines last=-1 still=0 i
    for i in $(seq 1 $((${3:-60} * 10))); do
        lines=$(vt_on "$1" vt_lines)
        [ "$lines" -eq "$last" ] && still=$((still + 1)) || still=0
        last=$lines
        [ "$still" -ge $(($2 * 10)) ] && return 0
        sleep 0.1
    done
    vt_fail "game $1's trace went on for ${3:-60}s"
}

# True when game NAME writes a result across the middle of its window (see
# vt_expect_message).
shows_result() { # NAME SHOT
    local pixels
    pixels=$(vt_mask "$(vt_on "$1" vt_screenshot "$2")" "${VT_WHITE[@]}" |
        vt_white_pixels -crop 640x40+0+220 +repage)
    [ "$pixels" -ge 100 ]
}

wait_result() { # NAME SECONDS
    local i
    for i in $(seq 1 "$2"); do
        shows_result "$1" "network-$way-$1-result" && return 0
        sleep 1
    done
    vt_fail "game $1 showed no result within $2s"
}

# The person at NAME aims a little (the others see it move), steps TABS times
# through the weapons to the Nuke (the weapon, like the velocity, is what the
# last shot left set, on every machine), lets the velocity down to 0 and fires
# at their own feet.
play_turn() { # NAME TABS
    vt_use "$1"
    vt_hold d 0.3
    local tab
    for ((tab = 0; tab < $2; ++tab)); do vt_key Tab; done
    vt_hold f 1.5
    vt_key space
}

vt_start_xvfb
vt_start_game_as A
if [ "$way" = refused ]; then
    # The same game with one file more in its data pack.
    other=$VT_WORK/other-pack
    mkdir -p "$other"
    ln -s "$VT_GAME_DIR/vantrell" "$other/vantrell"
    cp -r "$VT_GAME_DIR/data" "$other/data"
    echo "a file the host does not have" >"$other/data/extra.txt"
    VT_GAME_DIR=$other vt_start_game_as B
else
    vt_start_game_as B
fi
vt_on A vt_wait_started
vt_on B vt_wait_started

# A hosts; B joins, directly or through the relay. The menus are opened first,
# so the console's keys do not land on the title. The direct way goes through
# the main menu, as a person would: "Host a Network Game" (the sixth line) on
# the default port, and "Join a Network Game" (the seventh), which opens the
# console with "join " typed for the address.
[ "$way" = direct ] && port=28960
vt_use A
vt_key Escape
if [ "$way" = direct ]; then
    vt_key Down Down Down Down Down Return
else
    vt_console "host $port"
fi
expect_console A "Hosting on port $port"
join_port=$port
if [ "$way" = relay ]; then
    vt_start_relay --listen 0 --to "127.0.0.1:$port" --delay-ms 75 --loss 5 --seed "$RANDOM"
    join_port=$VT_RELAY_PORT
fi
vt_use B
vt_key Escape
if [ "$way" = direct ]; then
    vt_key Down Down Down Down Down Down Return
    vt_type "127.0.0.1 $join_port"
    vt_key Return grave
else
    vt_console "join 127.0.0.1 $join_port"
fi
if [ "$way" = refused ]; then
    expect_console B "Another data pack: " 20
    line=$(grep -a "Another data pack: " "$(vt_stderr B)" | head -n 1)
    [ "$(grep -c "Another data pack: " "$(vt_stderr B)")" -eq 1 ] ||
        vt_fail "the refusal was said more than once: $(cat "$(vt_stderr B)")"
    [[ "$line" =~ Another\ data\ pack:\ ([0-9a-f]{12})\ on\ the\ host,\ ([0-9a-f]{12})\ here$ ]] &&
        [ "${BASH_REMATCH[1]}" != "${BASH_REMATCH[2]}" ] ||
        vt_fail "the refusal does not name both packs: $line"
    # A plays on alone; B's world is its own.
    vt_use A
    vt_console "terrain;tanks 2"
    vt_on A vt_wait 0 '^processCommand: "tanks 2"$' 10
    sleep 1
    [ "$(vt_on B vt_count_after 0 '^processCommand: "tanks 2"$')" -eq 0 ] ||
        vt_fail "the refused machine ran the host's game"
    for game in B A; do
        vt_use "$game"
        vt_console quit
        vt_on "$game" vt_wait_exit 30
    done
    echo "network game (refused): ok"
    exit 0
fi
expect_console B "Joined 127.0.0.1:$join_port as machine 1" 20

# The game, started on A; both menus put away; the tanks land on both. The
# dropout's game is of two people, so that B's tank is soon the computer's
# only one and the game short.
tanks=3
[ "$way" = dropout ] && tanks=2
vt_use A
if [ "$way" = dropout ]; then
    vt_console "terrain;tanks 2"
else
    vt_console "terrain;tanks 3;computers 1"
fi
vt_key Escape
vt_use B
vt_key Escape
vt_on A vt_wait 0 '^bounce sphere terrain [0-9]+$' 30 "$tanks"
vt_on B vt_wait 0 '^bounce sphere terrain [0-9]+$' 30 "$tanks"

if [ "$way" = dropout ]; then
    # B gone in the middle of Player 1's turn, with no goodbye. Player 1 drops
    # a Baby Missile at its feet; Player 2, now the computer's, answers; then
    # Player 1's Nuke ends the game, unless the computer already has.
    vt_use A
    vt_hold d 0.3
    vt_kill_game B KILL
    expect_console A "left: its tanks passed to the computer" 15
    start=$(vt_on A vt_lines)
    play_turn A 0
    vt_on A vt_wait "$start" '^Explosive\(\)$' 30 2
    wait_quiet A 2
    shows_result A "network-$way-A-after-the-computer" || play_turn A 3
    wait_result A "$result_time"
else
    play_turn A 3
    vt_on A vt_wait 0 '^TankObject::damageEvent\(.*\) health = 0$' 30
    wait_quiet A 2
    # Player 2 plays unless Player 1's Nuke has already decided the game.
    if ! shows_result A "network-$way-A-after-player-1"; then
        start=$(vt_on B vt_lines)
        play_turn B 0
        vt_on B vt_wait "$start" '^TankObject::damageEvent\(.*\) health = 0$' 30
    fi
    wait_result A "$result_time"
    wait_result B 30
    wait_quiet A 2
    wait_quiet B 2
    # One game on both: the same trace, line for line, from the terrain on.
    from_terrain() { sed -n '/^processCommand: "terrain"$/,$p' "$(vt_stdout "$1")"; }
    [ -n "$(from_terrain A)" ] || vt_fail "A traced no 'processCommand: \"terrain\"'"
    diff <(from_terrain A) <(from_terrain B) >"$VT_WORK/trace.diff" ||
        vt_fail "the two traces differ from the terrain on: $(head -n 20 "$VT_WORK/trace.diff")"
    echo "$way: both traces alike, $(from_terrain A | wc -l) lines from the terrain on"
fi

if [ "$way" = relay ]; then
    # The relay was on the line and lost some of it each way.
    vt_stop_relay
    summary=$(tail -n 1 "$VT_RELAY_OUT")
    [[ "$summary" =~ to\ the\ target\ ([0-9]+)\ forwarded,\ ([0-9]+)\ lost.*back\ to\ the\ clients\ ([0-9]+)\ forwarded,\ ([0-9]+)\ lost ]] ||
        vt_fail "no summary from the relay"
    [ "${BASH_REMATCH[1]}" -gt 0 ] && [ "${BASH_REMATCH[3]}" -gt 0 ] ||
        vt_fail "the relay carried nothing one way"
fi

# "quit" on each machine still running; B first, so A sees its goodbye.
for game in B A; do
    vt_on "$game" vt_game_running || continue
    vt_use "$game"
    vt_key grave
    vt_type quit
    vt_key Return
    vt_on "$game" vt_wait_exit 30
    status=$(vt_on "$game" eval 'echo "$VT_GAME_STATUS"')
    [ "$status" -eq 0 ] || vt_fail "quit ended game $game with status $status"
done
if [ "$way" = direct ]; then
    # Each machine's replay plays its own side of the game again, no network
    # needed: the trace from the game's start to the end, line for line.
    for game in A B; do
        replays=$(vt_on "$game" eval 'echo "$VT_REPLAYS"')
        replay=$(ls "$replays"/*.vtr 2>/dev/null | tail -n 1)
        [ -n "$replay" ] || vt_fail "game $game left no replay"
        vt_start_game_as "replay$game" --replay "$replay" --fast
        vt_on "replay$game" vt_wait_replayed 60
        vt_kill_game "replay$game"
        replayed=$VT_WORK/replayed-$game.txt
        sed -n '/^end GameCore::GameCore()$/,$p' "$(vt_stdout "replay$game")" | tail -n +2 >"$replayed"
        lines=$(wc -l <"$replayed")
        grep -qxF 'processCommand: "tanks 3"' "$replayed" ||
            vt_fail "game $game's replay does not hold the game's start"
        # The game's trace up to its "quit", which ended it unrecorded.
        played=$VT_WORK/played-$game.txt
        grep -avxF 'processCommand: "quit"' "$(vt_stdout "$game")" | tail -n "$lines" >"$played"
        cmp -s "$replayed" "$played" ||
            vt_fail "game $game's replay differs from its trace: $(diff "$replayed" "$played" | head -n 5)"
        echo "game $game's replay: $lines lines of its trace, exactly"
    done
fi
echo "network game ($way): ok"

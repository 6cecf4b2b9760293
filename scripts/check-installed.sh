#!/usr/bin/env bash
# Runs the installed programs (from the Debian packages, on PATH) without a
# display, each as far as the installed packages allow:
#   tavoren-cli   converts the bundled example protocol, and its output again;
#   tavoren       starts headless and lists a protocol on its start screen;
#   tavoren-drone loads its participant's screen off screen;
#   both          a headless drone and a headless timekeeper linked on
#                 loopback through a short protocol; the label file checked.
# Screenshots, the label file and the programs' output (standard output and
# error) go to OUT_DIR.
#
#   scripts/check-installed.sh [OUT_DIR]
set -euo pipefail
out="${1:-$(mktemp -d)}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
export TAVOREN_DISCOVERY=loopback
export XDG_CONFIG_HOME="$work/config"
export QT_QUICK_BACKEND=software
drone_pid=""
timekeeper_pid=""
cleanup() {
  for pid in $drone_pid $timekeeper_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

say() { echo "check: $*"; }
fail() {
  echo "check FAILED: $*" >&2
  for log in "$work"/*.out "$work"/*.err; do
    [ -s "$log" ] || continue
    echo "--- ${log##*/} (last lines; all of it in $out/failed-${log##*/})" >&2
    tail -20 "$log" >&2
    cp "$log" "$out/failed-${log##*/}"
  done
  exit 1
}
have() { command -v "$1" >/dev/null 2>&1; }

# Waits up to SECONDS for a line matching PATTERN (grep -E) in FILE.
wait_for_line() {
  local file="$1" pattern="$2" seconds="$3"
  local deadline=$((SECONDS + seconds))
  until grep -qE "$pattern" "$file" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# A program started in the background with its standard input on a pipe
# that stays open (fd 7: the drone, fd 8: the timekeeper).
start_drone() {
  mkfifo "$work/drone.in"
  exec 7<>"$work/drone.in"
  tavoren-drone "$@" <&7 >"$work/drone.out" 2>"$work/drone.err" &
  drone_pid=$!
  wait_for_line "$work/drone.out" '^listening on port ' 30 || fail "tavoren-drone did not start"
}

stop_drone() {
  echo quit >&7
  wait "$drone_pid" || fail "tavoren-drone ended with status $?"
  drone_pid=""
  cat "$work/drone.err" >>"$out/drone.err"
  exec 7>&-
  rm -f "$work/drone.in"
}

start_timekeeper() {
  mkfifo "$work/timekeeper.in"
  exec 8<>"$work/timekeeper.in"
  : >"$work/timekeeper.out"
  tavoren --headless --documents "$1" --manifest http://127.0.0.1:1/manifest.plist \
    <&8 >"$work/timekeeper.out" 2>"$work/timekeeper.err" &
  timekeeper_pid=$!
  answered=0
}

stop_timekeeper() {
  echo quit >&8
  wait "$timekeeper_pid" || fail "tavoren ended with status $?"
  timekeeper_pid=""
  cat "$work/timekeeper.err" >>"$out/timekeeper.err"
  exec 8>&-
  rm -f "$work/timekeeper.in"
}

# The timekeeper's answer to one command (the next line that starts with
# "= "), without its "= ", in $answer.
ask() {
  echo "$1" >&8
  answered=$((answered + 1))
  local deadline=$((SECONDS + 30))
  until [ "$(grep -c '^= ' "$work/timekeeper.out")" -ge "$answered" ]; do
    [ "$SECONDS" -lt "$deadline" ] && kill -0 "$timekeeper_pid" 2>/dev/null || fail "tavoren gave no answer to: $1"
    sleep 0.1
  done
  answer="$(grep '^= ' "$work/timekeeper.out" | sed -n "${answered}p" | cut -c3-)"
}

# Asks COMMAND until the answer is EXPECTED, for up to 30 s.
expect_answer() {
  local command="$1" expected="$2" deadline=$((SECONDS + 30))
  ask "$command"
  while [ "$answer" != "$expected" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "tavoren answered \"$answer\" to \"$command\", not \"$expected\""
    sleep 0.2
    ask "$command"
  done
}

check_cli() {
  local example=/usr/share/doc/tavoren/examples/mini.json
  tavoren-cli convert "$example" "$work/converted.json" 2>>"$work/cli.err" || fail "tavoren-cli convert $example"
  tavoren-cli convert "$work/converted.json" "$work/again.json" 2>>"$work/cli.err" ||
    fail "tavoren-cli convert of its own output"
  cmp -s "$work/converted.json" "$work/again.json" || fail "a converted protocol changes when converted again"
  grep -q '"researchName":"Mini protocol"' "$work/converted.json" || fail "converted protocol lost its name"
  cp "$work/converted.json" "$out/mini-converted.json"
  say "tavoren-cli convert $example: $(grep -o '"numID"' "$work/converted.json" | wc -l) steps, $(wc -c <"$work/converted.json") bytes, unchanged when converted again"
}

check_timekeeper_alone() {
  local documents="$work/documents-start"
  mkdir -p "$documents/Research_protocols"
  cp /usr/share/doc/tavoren/examples/mini.json "$documents/Research_protocols/"
  start_timekeeper "$documents"
  expect_answer "shown startView" "shown startView: true"
  expect_answer "click runRow mini.json" "clicked runRow mini.json"
  expect_answer "screenshot $out/timekeeper-start.png" "screenshot $out/timekeeper-start.png"
  stop_timekeeper
  say "tavoren --headless: start screen lists mini.json; screenshot $out/timekeeper-start.png"
}

check_drone_screen() {
  QT_QPA_PLATFORM=offscreen start_drone --windowed --name "Screen check"
  stop_drone
  if grep -qiE 'not installed|failed to load|cannot load|error' "$work/drone.err"; then
    fail "tavoren-drone's screen reported errors"
  fi
  local ffmpeg
  ffmpeg="$(dpkg -S libffmpegmediaplugin.so 2>/dev/null | head -1)" || fail "no FFmpeg media backend installed"
  say "tavoren-drone --windowed (off screen): participant's screen loaded; FFmpeg backend: $ffmpeg"
}

check_session() {
  local documents="$work/documents-session"
  mkdir -p "$documents/Research_protocols"
  cat >"$documents/Research_protocols/check.json" <<'EOF'
{
  "version": "1",
  "steps": [
    {
      "id": "6F1C2B0A-3E5D-4C8B-9A71-2D4E5F607181",
      "numID": 1,
      "name": "Rest",
      "description": "Sit still for two seconds.",
      "duration": 2,
      "labelID": "rest",
      "optionalViews": [{"ViewName": "Timer (drone side)", "Parameters": []}]
    },
    {
      "id": "8A2D3C1B-4F6E-4D9C-8B82-3E5F60718293",
      "numID": 2,
      "name": "Thanks",
      "description": "Thank the participant.",
      "duration": 0,
      "labelID": "thanks",
      "optionalViews": [{"ViewName": "Text (drone side)", "Parameters": ["Thank you"]}]
    }
  ],
  "researchName": "Check",
  "VeskPauseLabel": 1000,
  "researchDescription": "Two steps with a drone.",
  "IDlist": {"rest": 1, "thanks": 2},
  "usesDrone": true
}
EOF
  start_drone --headless --name "Check drone"
  start_timekeeper "$documents"
  expect_answer "click runRow check.json" "clicked runRow check.json"
  expect_answer "text descriptionText" "text descriptionText: Two steps with a drone."
  expect_answer "type ppidField 7" "typed ppidField"
  # With no drone remembered, the timekeeper invites the first one it finds.
  expect_answer "text droneInfo" "text droneInfo: Drone device name: Check drone"
  expect_answer "click startButton" "clicked startButton"
  wait_for_line "$work/drone.out" '^state [0-9]+: timer: [12]$' 30 || fail "the drone was not shown the rest's timer"
  expect_answer "text stepName" "text stepName: Thanks"
  wait_for_line "$work/drone.out" '^state [0-9]+: text: Thank you$' 30 || fail "the drone was not shown the thanks"
  expect_answer "click doneButton" "clicked doneButton"
  expect_answer "shown completionOverlay" "shown completionOverlay: true"
  wait_for_line "$work/drone.out" '^state [0-9]+: done$' 30 || fail "the drone was not told the run is done"
  expect_answer "screenshot $out/timekeeper-completion.png" "screenshot $out/timekeeper-completion.png"
  stop_timekeeper
  stop_drone
  cp "$work/drone.out" "$out/drone.out"

  local labels=("$documents"/Label_files/Check/Check_7_*.lbl)
  [ -f "${labels[0]}" ] && [ ${#labels[@]} -eq 1 ] || fail "no single label file in Label_files/Check"
  cp "${labels[0]}" "$out/"
  local time='[0-9]{2}-[0-9]{2}-[0-9]{2}/[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}'$'\t'
  local expected=("# StartTime"$'\t'"Label" "${time}Start" "${time}rest \(1\) started" "${time}rest \(1\) ended "
                  "${time}thanks \(2\) started" "${time}thanks \(2\) ended ")
  mapfile -t lines <"${labels[0]}"
  [ ${#lines[@]} -eq ${#expected[@]} ] || fail "label file has ${#lines[@]} lines, not ${#expected[@]}: $(cat "${labels[0]}")"
  for i in "${!expected[@]}"; do
    [[ "${lines[$i]}" =~ ^${expected[$i]} ]] || fail "label file line $((i + 1)) is \"${lines[$i]}\""
  done
  say "headless drone and headless timekeeper on loopback: the drone received $(grep -c '^state ' "$out/drone.out") states"
  sed 's/^/check:   drone: /' "$out/drone.out"
  say "label file ${labels[0]#"$documents"/}:"
  sed 's/^/check:   /' "${labels[0]}"
}

ran=0
if have tavoren-cli; then check_cli; ran=1; fi
if have tavoren && ! have tavoren-drone; then check_timekeeper_alone; ran=1; fi
if have tavoren-drone && ! have tavoren; then check_drone_screen; ran=1; fi
if have tavoren && have tavoren-drone; then check_session; ran=1; fi
[ "$ran" -eq 1 ] || fail "neither tavoren nor tavoren-drone is installed"
say "passed"

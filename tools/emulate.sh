#!/usr/bin/env bash
# Starts an emulated receiver and Tavorin against it, on a demonstration data
# directory of its own (./demo-data), so the user's own settings stay as they are.
#   tools/emulate.sh MODEL      (MODEL: ar7030, nrd535, nrd545, rx320)
set -euo pipefail
cd "$(dirname "$0")/.."
model="${1:-ar7030}"
root="$(pwd)"
# The settings' receiver type of the model, from the program's model table.
rxtype="$("$root/build/tavsamples" --rxtype "$model")" || { echo "emulate: $model cannot be emulated" >&2; exit 2; }
demo="$root/demo-data"
mkdir -p "$demo"
log="$demo/rxsim.log"
ctl="$demo/rxsim.ctl"

# A small example of every file the tools read, where the user has none of
# that name; the emulator's band puts a carrier on every frequency they name.
# The sample timer programs are written for the coming weekend in this model's
# numbers.
"$root/build/tavsamples" "$root/samples/data" "$demo" "$rxtype" >/dev/null ||
  echo "emulate: the demonstration files could not all be written" >&2

# Lines written to the control FIFO reach rxsim's standard input. rxsim holds
# it open for writing too, so the end of one writer's line is no end of input.
rm -f "$ctl"
mkfifo "$ctl"
# rxsim prints its device first, then one line per command it receives.
: >"$log"
"$root/build/sim/rxsim" "$model" --carriers-from "$demo" <>"$ctl" >"$log" 2>&1 &
rxpid=$!
trap 'kill "$rxpid" 2>/dev/null || true; rm -f "$ctl"' EXIT
device=""
for _ in $(seq 100); do
  device="$(head -n 1 "$log")"
  [ -n "$device" ] && break
  sleep 0.1
done
[ -n "$device" ] || { echo "emulate: rxsim did not start" >&2; exit 1; }

# The demonstration settings are the user's between runs: a first run writes
# a complete file (the set-up dialog's defaults); later runs change only the
# receiver type (line 4) and point the chosen COM port's line of
# "comports.ini" at the emulator.
ini="$demo/tavorin2.ini"
if [ ! -s "$ini" ]; then
  {
    printf '%s/\r\n5130N\r\n00007W\r\n %s\r\n' "$demo" "$rxtype"
    for v in 1 3 0 2 1 1 15 0 0 0 0 0 0 1 1 1 1 0 0 0 0 0 1 3 9 50 20 0 0 0 0; do
      printf ' %s\r\n' "$v"
    done
  } >"$ini"
else
  awk -v t=" $rxtype" 'BEGIN { ORS = "\r\n" } { sub(/\r$/, "") } NR == 4 { $0 = t } { print }' "$ini" >"$ini.tmp" &&
    mv "$ini.tmp" "$ini"
fi
# The port the settings choose (line 5, 1..5; 1 when unreadable).
port="$(awk 'NR == 5 { sub(/\r$/, ""); n = int($1); print ((n >= 1 && n <= 5) ? n : 1) }' "$ini")"
port="${port:-1}"
ports="$demo/comports.ini"
touch "$ports"
awk -v n="$port" -v d="$device" 'BEGIN { ORS = "\r\n" } { sub(/\r$/, ""); line[NR] = $0 }
  END { last = (NR > n ? NR : n); for (i = 1; i <= last; i++) print (i == n ? d : line[i]) }' "$ports" >"$ports.tmp" &&
  mv "$ports.tmp" "$ports"
echo "Emulated $model on $device (commands logged to $log)"
echo "Drive it by hand: echo 'smeter 7' > $ctl  (build/sim/rxsim --help lists the commands)"
echo "Demonstration data in $demo (Help > HTML Help, page \"Tools and their files\", says what each file is)"
cd "$demo"
"$root/build/tavorin"

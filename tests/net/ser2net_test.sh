#!/usr/bin/env bash
# velora-cli against a real serial-over-network server on loopback: a socat pseudo-terminal pair,
# ser2net in front of one end (raw, telnet with RFC 2217, raw paced one byte per 2 ms), the
# virtual sign on the other. Every process started here is stopped by its PID at the end.
# Usage: ser2net_test.sh VELORA_CLI FIXTURE.inf
set -u
cli="$1"
fixture="$2"
if ! command -v ser2net >/dev/null || ! command -v socat >/dev/null; then
    echo "SKIP: ser2net or socat is not installed (scripts/setup-debian.sh installs them)"
    exit 77
fi

work="$(mktemp -d)"
pids=()
cleanup() {
    # ser2net does not end on SIGTERM while it serves: it is killed outright.
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}
wait_for() {  # a bounded wait for a condition
    for _ in $(seq 100); do eval "$1" && return 0; sleep 0.05; done
    return 1
}

socat pty,raw,echo=0,link="$work/line" pty,raw,echo=0,link="$work/sign" 2>"$work/socat.err" &
pids+=($!)
wait_for '[ -e "$work/line" ] && [ -e "$work/sign" ]' || { echo "FAIL: no pty pair"; exit 1; }
"$cli" sign --port "$work/sign" >"$work/sign.out" 2>&1 &
pids+=($!)

raw=$(free_port) tel=$(free_port) paced=$(free_port) missing=$(free_port) refused=$(free_port)
dev="$work/line"
cat >"$work/ser2net.yaml" <<YAML
connection: &raw
  accepter: tcp,127.0.0.1,$raw
  connector: serialdev,$dev,9600n81,local
connection: &tel
  accepter: telnet(rfc2217),tcp,127.0.0.1,$tel
  connector: serialdev,$dev,9600n81,local
connection: &paced
  accepter: tcp,127.0.0.1,$paced
  connector: ratelimit(xmit_len=1,xmit_delay=2m),trace(dir=write,file=$work/paced.trace),serialdev,$dev,9600n81,local
connection: &missing
  accepter: tcp,127.0.0.1,$missing
  connector: serialdev,$work/no-such-device,9600n81,local
YAML
ser2net -n -u -P "$work/ser2net.pid" -c "$work/ser2net.yaml" >"$work/ser2net.out" 2>&1 &
ser2net_pid=$!
pids+=($ser2net_pid)
wait_for "ss -ltn | grep -q ':$missing '" || { echo "FAIL: ser2net did not start"; cat "$work/ser2net.out"; exit 1; }

# Short files for the three ports; 200 pages where an upload must still be running when hit.
python3 - "$work" <<'PY'
import sys
d = sys.argv[1]
def write(name, pages):
    lines = [f"{len(pages)},12"] + [l for p in pages for l in p]
    open(f"{d}/{name}", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
write("pause255.inf", [[f'1,"PAUSA {n:<6}",255', f'1,"LUNGA  {n:<5}",255'] for n in range(2)])
write("long.inf", [[f'1,"PAGINA {n:<5}",3', f'1,"RIGA DUE {n:<3}",3'] for n in range(200)])
PY

expected_tx="D4 $("$cli" dump "$fixture" | tr '\n' ' ' | sed 's/ $//')"
pages=$(head -1 "$fixture" | cut -d, -f1)

# Sends the fixture through `port`; checks the exit code, the journal against dump and the sign.
send_through() {
    local name="$1" port="$2"
    local before
    before=$(grep -ci "pagine" "$work/sign.out")
    "$cli" send "$fixture" --port "$port" --log "$work/$name.log" >"$work/$name.out" 2>&1
    local code=$?
    [ "$code" -eq 0 ] || { fail "$name: exit $code: $(cat "$work/$name.out")"; return; }
    local tx
    tx=$(sed -n 's/^[0-9:.]* TX //p' "$work/$name.log" | tr '\n' ' ' | sed 's/ $//')
    [ "$tx" = "$expected_tx" ] || fail "$name: journal TX differs from dump"
    grep -q "^$pages  Pagine" "$work/$name.out" || fail "$name: no page count: $(cat "$work/$name.out")"
    wait_for "[ \$(grep -ci pagine '$work/sign.out') -gt $before ]" || fail "$name: the sign reported nothing"
}

send_through raw "socket://127.0.0.1:$raw"
send_through telnet "rfc2217://127.0.0.1:$tel"
send_through paced "socket://[::ffff:127.0.0.1]:$paced"
# What the paced port wrote to the device, as ser2net's trace layer below the rate limit saw it:
# "SECONDS:MICROSECONDS Write (LENGTH):" before each write.
python3 - "$work/paced.trace" "$(wc -w <<<"$expected_tx")" <<'PY' || fail "paced: trace"
import re, sys
path, expected = sys.argv[1], int(sys.argv[2])
writes = [(int(m[1]) + int(m[2]) / 1e6, int(m[3]))
          for m in re.finditer(r"^(\d+):(\d+) Write \((\d+)\):", open(path).read(), re.M)]
gaps = [(b[0] - a[0]) * 1000 for a, b in zip(writes, writes[1:])]
sizes = sorted({n for _, n in writes})
print(f"paced trace: {len(writes)} writes of {sizes} byte, {expected} expected; "
      f"gaps {min(gaps, default=0):.2f} to {max(gaps, default=0):.2f} ms")
sys.exit(0 if len(writes) == expected and sizes == [1] and min(gaps) >= 2.0 else 1)
PY
# A pause of 255 puts 0xFF on the line: telnet doubles it and the far end gets it back whole.
fixture="$work/pause255.inf" pages=2 expected_tx="D4 $("$cli" dump "$work/pause255.inf" | tr '\n' ' ' | sed 's/ $//')"
send_through pause255 "rfc2217://127.0.0.1:$tel"
tail -3 "$work/sign.out"

# Faults: a refused port and a server whose device is missing end with exit 2 and the reason.
"$cli" send "$fixture" --port "socket://127.0.0.1:$refused" >"$work/refused.out" 2>&1
code=$?
[ "$code" -eq 2 ] && grep -q "rifiutata" "$work/refused.out" || fail "refused: exit $code: $(cat "$work/refused.out")"
"$cli" send "$fixture" --port "socket://127.0.0.1:$missing" --log "$work/missing.log" >"$work/missing.out" 2>&1
code=$?
[ "$code" -eq 2 ] && grep -qi "device open failure\|no such file" "$work/missing.out" \
    && ! grep -q "inattesa" "$work/missing.out" && grep -qi "device open failure\|no such file" "$work/missing.log" \
    || fail "missing device: exit $code: $(cat "$work/missing.out")"

# The server killed in the middle of an upload: exit 2 within 6 s, without spending CPU while it
# waits (utime + stime of /proc/PID/stat, in ticks of 10 ms, sampled until the process ends).
"$cli" send "$work/long.inf" --port "socket://127.0.0.1:$paced" >"$work/killed.out" 2>&1 &
send_pid=$!
pids+=($send_pid)
sleep 1
cpu_ticks() { awk '$3 != "Z" {print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
kill -9 "$ser2net_pid"
start=$(date +%s.%N)
at_kill=$(cpu_ticks "$send_pid")
last=$at_kill
while t=$(cpu_ticks "$send_pid") && [ -n "$t" ]; do last=$t; sleep 0.05; done
wait "$send_pid"
code=$?
elapsed=$(python3 -c "print(round($(date +%s.%N) - $start, 2))")
spent=$(( ${last:-0} - ${at_kill:-0} ))
[ "$code" -eq 2 ] || fail "killed: exit $code: $(cat "$work/killed.out")"
python3 -c "import sys; sys.exit(0 if $elapsed < 6 else 1)" || fail "killed: took $elapsed s"
[ "$spent" -le 20 ] || fail "killed: $spent ticks of CPU while waiting"
echo "killed: exit $code after $elapsed s, $spent ticks of CPU meanwhile: $(tail -1 "$work/killed.out")"

[ "$failures" -eq 0 ] && echo "ser2net: all passed"
exit $((failures > 0))

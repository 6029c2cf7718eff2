#!/usr/bin/env bash
# One send to many, end to end: two virtual signs of different widths on loopback (velora-cli
# sign --listen --boards), named with velora-cli signs, and velora-cli send to both of them.
# Every process started here is stopped by its PID at the end.
# Usage: send_many_test.sh VELORA_CLI
set -u
cli="$1"

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
# The signs file goes to a configuration folder of this test's own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME"
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
# Runs velora-cli send with the arguments given; its lines in $out, its exit code in $code.
send() {
    out=$("$cli" send "$@" 2>"$work/send.err")
    code=$?
}
expect_line() {  # NAME OUTCOME [REASON]: the line of sign NAME in $out
    local line
    line=$(grep "^$1	" <<<"$out")
    case "$line" in
    "$1	"*"	$2"*) ;;
    *) fail "$1: expected '$2', got '$line'" ;;
    esac
    if [ $# -ge 3 ] && [[ "$line" != *"$3"* ]]; then fail "$1: reason without '$3': '$line'"; fi
}

# A sign of 6 boards (18 characters) at the door, one of 4 (12) at the counter.
door=$(free_port) counter=$(free_port)
"$cli" sign --listen "127.0.0.1:$door" --boards 6 >"$work/door.out" 2>&1 &
pids+=($!)
"$cli" sign --listen "127.0.0.1:$counter" --boards 4 >"$work/counter.out" 2>&1 &
counter_pid=$!
pids+=($counter_pid)
wait_for 'grep -q socket:// "$work/door.out" && grep -q socket:// "$work/counter.out"' ||
    { echo "FAIL: the virtual signs did not start"; cat "$work"/*.out; exit 1; }

"$cli" signs add Ingresso --port "socket://127.0.0.1:$door" --boards 6 >/dev/null || fail "signs add"
"$cli" signs add Banco --port "socket://127.0.0.1:$counter" --boards 4 >/dev/null || fail "signs add"
# The first sign, the one BASE.dat belongs to, has no port here.
"$cli" signs remove Insegna >/dev/null || fail "signs remove"

# Made for 18 characters; every text fits 12 but for page 2 of the wide one.
printf '2,18\r\n1,"CIAO              ",3\r\n1,"MONDO             ",3\r\n2,"ORARI             ",4\r\n2,"APERTO TUTTI I GIORNI DALLE 9 ALLE 19",4\r\n' >"$work/fits.inf"
printf '2,18\r\n1,"CIAO              ",3\r\n1,"MONDO             ",3\r\n1,"BUONGIORNO A TUTTI",4\r\n1,"                  ",4\r\n' >"$work/wide.inf"

# 1. A send to both confirms both, each at its own width.
send "$work/fits.inf" --sign Ingresso --sign Banco --log "$work/journal.txt"
[ "$code" -eq 0 ] || fail "send to both: exit $code, $(cat "$work/send.err")"
[ "$(wc -l <<<"$out")" -eq 2 ] || fail "send to both: not one line a sign: $out"
expect_line Ingresso "confermato, 2 pagine"
expect_line Banco "confermato, 2 pagine"
grep -q "^Pagine ricevute: 2$" "$work/door.out" || fail "door sign: $(cat "$work/door.out")"
grep -q "^Pagine ricevute: 2$" "$work/counter.out" || fail "counter sign: $(cat "$work/counter.out")"
[ "$(grep -c '# insegna ' "$work/journal.txt")" -eq 2 ] || fail "journal: not a section a sign"
grep -q "# insegna Banco, porta socket://127.0.0.1:$counter, 4 schede" "$work/journal.txt" ||
    fail "journal: no section for Banco"

# 2. A sequence that does not fit one sign is refused for that sign only.
uploads_before=$(grep -c "^Pagine ricevute" "$work/counter.out")
send "$work/wide.inf" --all-signs
[ "$code" -eq 2 ] || fail "wide sequence: exit $code"
expect_line Ingresso "confermato, 2 pagine"
expect_line Banco "non inviato" "la pagina 2 ha testo oltre i 12 caratteri"
[ "$(grep -c "^Pagine ricevute" "$work/counter.out")" -eq "$uploads_before" ] ||
    fail "the counter sign received the sequence that does not fit it"

# 3. With one sign stopped, its line says so and the other is served.
kill "$counter_pid"
wait "$counter_pid" 2>/dev/null
send "$work/fits.inf" --sign Banco --sign Ingresso
[ "$code" -eq 2 ] || fail "one sign stopped: exit $code"
expect_line Banco "porta assente o occupata" "impossibile aprire la porta"
expect_line Ingresso "confermato, 2 pagine"
[ "$(sed -n 1p <<<"$out" | cut -f1)" = Banco ] || fail "not in the order asked: $out"

# 4. Names that are not signs are refused before anything is sent.
send "$work/fits.inf" --sign Ingresso --sign Cantina
[ "$code" -eq 64 ] || fail "unknown sign: exit $code"
[ -z "$out" ] || fail "unknown sign: something was sent: $out"

# 5. Several signs are for send alone, and --all-signs for itself.
for args in "clock --sign Ingresso --sign Banco" "send $work/fits.inf --all-signs --sign Banco" \
    "send $work/fits.inf --all-signs --clock"; do
    # shellcheck disable=SC2086
    "$cli" $args >/dev/null 2>&1
    code=$?
    [ "$code" -eq 64 ] || fail "$args: exit $code, not a usage error"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "send to many: every check passed"

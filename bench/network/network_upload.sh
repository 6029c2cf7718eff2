#!/usr/bin/env bash
# A 200-page upload with velora-cli through each kind of port, on loopback: the serial device
# itself (one end of a socat pseudo-terminal pair, the virtual sign on the other), and ser2net in
# front of it raw (socket://), telnet with RFC 2217 (rfc2217://) and raw paced one byte per 2 ms.
# For each run: the wall time of `send` (the connect exchange and the wait for the sign's count
# included) against bytes x 2 ms; the upload's own time per byte, from the journal's time stamps
# (each page record's line is stamped once its last byte is out: from the first record's line to
# the end byte's); and the sender's CPU share ((user + system) / wall, from /usr/bin/time). Every process started here is stopped by its PID at the end.
# Usage: network_upload.sh VELORA_CLI [RUNS]   (3 runs by default)
set -eu
cli="$1"
runs="${2:-3}"
for tool in ser2net socat /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (scripts/setup-debian.sh)"; exit 77; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

socat pty,raw,echo=0,link="$work/line" pty,raw,echo=0,link="$work/sign" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/line" ] && [ -e "$work/sign" ] && break; sleep 0.05; done
"$cli" sign --port "$work/sign" >/dev/null 2>&1 &
pids+=($!)

raw=$(free_port) tel=$(free_port) paced=$(free_port)
cat >"$work/ser2net.yaml" <<YAML
connection: &raw
  accepter: tcp,127.0.0.1,$raw
  connector: serialdev,$work/line,9600n81,local
connection: &tel
  accepter: telnet(rfc2217),tcp,127.0.0.1,$tel
  connector: serialdev,$work/line,9600n81,local
connection: &paced
  accepter: tcp,127.0.0.1,$paced
  connector: ratelimit(xmit_len=1,xmit_delay=2m),serialdev,$work/line,9600n81,local
YAML
ser2net -n -u -P "$work/ser2net.pid" -c "$work/ser2net.yaml" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do ss -ltn | grep -q ":$paced " && break; sleep 0.05; done

# 200 pages of two fixed rows of 18 characters, 3 s each.
python3 - "$work/pages.inf" <<'PY'
import sys
lines = ["200,18"]
for n in range(200):
    lines += [f'1,"PAGINA {n:<11}",3', f'1,"SECONDA RIGA {n:<5}",3']
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
PY
bytes=$(( $("$cli" dump "$work/pages.inf" | wc -w) + 1 ))  # and the connect request
echo "200 pages: $bytes bytes, x 2 ms = $(python3 -c "print($bytes * 0.002)") s"
echo "port      run  wall s  user s  sys s  wall/(bytes x 2 ms)  upload ms/byte  CPU share"
for kind in serial raw rfc2217 paced; do
    case $kind in
        serial) port="$work/line" ;;
        raw) port="socket://127.0.0.1:$raw" ;;
        rfc2217) port="rfc2217://127.0.0.1:$tel" ;;
        paced) port="socket://127.0.0.1:$paced" ;;
    esac
    for run in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f "%e %U %S" "$cli" send "$work/pages.inf" --port "$port" \
            --log "$work/journal" >"$work/out" 2>&1 || { echo "$kind: send failed: $(cat "$work/out")"; exit 1; }
        read -r wall user sys <"$work/time"
        per_byte=$(python3 - "$work/journal" <<'PY'
import sys
tx = []
for line in open(sys.argv[1]):
    stamp, _, rest = line.partition(" ")
    if rest.startswith("TX "):
        h, m, s = stamp.split(":")
        tx.append((int(h) * 3600 + int(m) * 60 + float(s), len(rest.split()) - 1))
upload = tx[1:]  # after the connect request
span = upload[-1][0] - upload[0][0]
print(f"{span * 1000 / sum(n for _, n in upload[1:]):.3f}")
PY
)
        python3 -c "print(f'{\"$kind\":8} {$run:4} {$wall:7.2f} {$user:7.2f} {$sys:6.2f} \
{$wall / ($bytes * 0.002):20.3f} {$per_byte:15.3f} {($user + $sys) / $wall:10.1%}')"
    done
done

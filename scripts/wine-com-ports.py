#!/usr/bin/env python3
"""Pseudo-terminals for the COM-port tests under Wine (scripts/test-windows.sh).

Makes a null-modem pair (what one side writes, the other reads, both ways, byte for byte) and a
lone line whose far end hangs up as soon as a byte arrives on it, writes their device paths as
"pair PATH PATH" and "hangup PATH" lines to the file named by its argument, and runs until it is
killed. The script maps them to COM ports in the Wine folder.
"""

import os
import select
import sys
import tty


def open_line():
    """A new pseudo-terminal in raw mode: its far end and its device path. The near end stays
    open, so that the far end reads no hang-up before a program opens the port."""
    far, near = os.openpty()
    tty.setraw(near)
    return far, near, os.ttyname(near)


def main():
    a, a_near, a_path = open_line()
    b, b_near, b_path = open_line()
    lone, lone_near, lone_path = open_line()
    with open(sys.argv[1] + ".part", "w") as listing:
        listing.write(f"pair {a_path} {b_path}\nhangup {lone_path}\n")
    os.rename(sys.argv[1] + ".part", sys.argv[1])
    peers = {a: b, b: a}
    watched = [a, b, lone]
    while watched:
        ready, _, _ = select.select(watched, [], [])
        for fd in ready:
            try:
                data = os.read(fd, 4096)
            except OSError:
                data = b""
            if fd == lone:
                # The far end goes away: every program on the line reads a hang-up.
                os.close(lone)
                os.close(lone_near)
                watched.remove(lone)
            elif data:
                os.write(peers[fd], data)
            else:
                watched.remove(fd)


if __name__ == "__main__":
    main()

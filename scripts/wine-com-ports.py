#!/usr/bin/env python3
"""Pseudo-terminals for the COM-port tests under Wine (scripts/test-windows.sh).

Makes a null-modem pair (what one side writes, the other reads, both ways, byte for byte) and two
lone lines whose far end hangs up as soon as a byte arrives on it, one for each test program that
needs one; writes their device paths as "pair PATH PATH" and "hangup PATH PATH" lines to the file
named by its argument, and runs until it is killed. The script maps them to COM ports in the Wine
folder.
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
    lone = [open_line() for _ in range(2)]
    with open(sys.argv[1] + ".part", "w") as listing:
        listing.write(f"pair {a_path} {b_path}\n")
        listing.write("hangup " + " ".join(path for _, _, path in lone) + "\n")
    os.rename(sys.argv[1] + ".part", sys.argv[1])
    peers = {a: b, b: a}
    near_ends = {far: near for far, near, _ in lone}
    watched = [a, b] + list(near_ends)
    while watched:
        ready, _, _ = select.select(watched, [], [])
        for fd in ready:
            try:
                data = os.read(fd, 4096)
            except OSError:
                data = b""
            if fd in near_ends:
                # The far end goes away: every program on the line reads a hang-up.
                os.close(fd)
                os.close(near_ends[fd])
                watched.remove(fd)
            elif data:
                os.write(peers[fd], data)
            else:
                watched.remove(fd)


if __name__ == "__main__":
    main()

"""The simulated PowerPoint's server processes (pptsim-server.exe) of this lane's Wine prefix,
and the check that no test leaves one running."""

import os
import time
from pathlib import Path
from typing import List

import pytest

from hostpeer import plugin_launcher

SERVER_NAME = "pptsim-server.exe"


def server_processes() -> List[int]:
    """Live simulated-PowerPoint servers of this lane's Wine prefix."""
    prefix = os.environ.get("WINEPREFIX", "").encode()
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if SERVER_NAME.encode() not in (entry / "cmdline").read_bytes():
                continue
            if b"WINEPREFIX=" + prefix + b"\0" not in (entry / "environ").read_bytes() + b"\0":
                continue
            if (entry / "stat").read_text().split(") ", 1)[1].startswith("Z"):
                continue  # ended, not yet reaped
        except OSError:
            continue
        found.append(int(entry.name))
    return found


# A server whose client has just ended is usually gone within milliseconds, but while CI builds
# the next lane beside the Wine tests one was seen to take 10 s. The leak this check is for
# stays for ever, so a wide grace costs nothing unless a server really lingers.
EXIT_GRACE_SECONDS = 30.0


def describe(pid: int) -> str:
    """The server's process id, its Unix parent, how long it has run and the state and CPU
    time of its threads (a server that never ran shows no time)."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().split(") ", 1)[1].split()
        parent = int(fields[1])
        ticks = os.sysconf("SC_CLK_TCK")
        uptime = float(Path("/proc/uptime").read_text().split()[0])
        age = uptime - int(fields[19]) / ticks
        cpu = (int(fields[11]) + int(fields[12])) / ticks
        threads = len(list(Path(f"/proc/{pid}/task").iterdir()))
        return (f"pid {pid} (parent {parent}, running {age:.1f} s, state {fields[0]}, "
                f"{threads} threads, {cpu:.2f} s CPU)")
    except (OSError, IndexError, ValueError):
        return f"pid {pid}"


def servers_left_after(started_before: List[int]) -> List[int]:
    """The servers started since started_before was taken that are still running after the
    grace period."""
    deadline = time.monotonic() + EXIT_GRACE_SECONDS
    while True:
        left = [pid for pid in server_processes() if pid not in started_before]
        if not left or time.monotonic() > deadline:
            return left
        time.sleep(0.05)


@pytest.fixture(autouse=True)
def no_simulated_powerpoint_left(request):
    """Fails the test (at teardown, under its own name) that leaves a simulated PowerPoint's
    server running: a later test counting the servers would otherwise take the blame. Active
    only where the plug-in runs under Wine; servers that ran before the test are not its own."""
    if not plugin_launcher():
        yield
        return
    before = server_processes()
    yield
    left = servers_left_after(before)
    if left:
        pytest.fail(f"{request.node.nodeid} left a simulated PowerPoint server running: "
                    + ", ".join(describe(pid) for pid in left), pytrace=False)

"""Helpers of the Windows lane's end-to-end tests: the lane's own Windows programs and the
simulated PowerPoint's server processes of this Wine prefix."""

import os
import subprocess
import time
from pathlib import Path

from hostpeer import plugin_launcher
from simservers import EXIT_GRACE_SECONDS, server_processes  # noqa: F401

REPO_ROOT = Path(__file__).resolve().parents[2]


def tools_folder() -> Path:
    build = Path(os.environ.get("GP_BUILD_DIR", REPO_ROOT / "build-windows"))
    return Path(os.environ.get("GP_WINE_TOOLS", build / "bin"))


def run_tool(name: str, *arguments: str, timeout: float = 30) -> subprocess.CompletedProcess:
    """Runs one of the lane's Windows programs under the plug-in's launcher."""
    return subprocess.run(plugin_launcher() + [str(tools_folder() / name), *arguments],
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)


def wait_until(condition, timeout: float, what: str) -> None:
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise TimeoutError(what)
        time.sleep(0.05)


"""Fixtures of the Windows lane's own end-to-end tests (run under Wine by scripts/wine-lane).

They reuse the host peer and the action session of tests/e2e and add what only the real
Windows program shows: COM activation of the simulated PowerPoint's server, its lifetime, and
the message box of an unregistered PowerPoint.
"""

import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
sys.path.insert(0, str(Path(__file__).resolve().parent))

from hostpeer import HostPeer, plugin_launcher  # noqa: E402
from simservers import no_simulated_powerpoint_left  # noqa: E402,F401


@pytest.fixture(autouse=True)
def windows_program_only():
    if not plugin_launcher():
        pytest.skip("runs the Windows program under Wine (scripts/wine-lane)")


@pytest.fixture
def host():
    with HostPeer() as peer:
        yield peer

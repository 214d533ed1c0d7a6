"""Fixtures of the Windows lane's own end-to-end tests (run under Wine by scripts/wine-lane).

They reuse the host peer and the action session of hostpeer/python and the scenarios of
tests/e2e, and add what only the real Windows program shows: COM activation of the simulated
PowerPoint's server, its lifetime, and the message box of an unregistered PowerPoint.
"""

import pytest

from hostpeer import HostPeer, plugin_launcher
from simservers import no_simulated_powerpoint_left  # noqa: F401
from workerprefix import use_worker_prefix

use_worker_prefix()


@pytest.fixture(autouse=True)
def windows_program_only():
    if not plugin_launcher():
        pytest.skip("runs the Windows program under Wine (scripts/wine-lane)")


@pytest.fixture
def host():
    with HostPeer() as peer:
        yield peer

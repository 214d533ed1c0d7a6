"""Fixtures shared by the end-to-end tests."""

import pytest

from actionsession import FAST_REFRESH_MS, ActionSession
from hostpeer import HostPeer
from simservers import no_simulated_powerpoint_left  # noqa: F401
from workerprefix import use_worker_prefix

use_worker_prefix()


@pytest.fixture
def host():
    """A listening host peer; the plug-in is started by the test."""
    with HostPeer() as peer:
        yield peer


@pytest.fixture
def start(host, tmp_path):
    """Starts a session against a scenario; a test module may offer its own."""
    def starter(setup: dict) -> ActionSession:
        return ActionSession(host, tmp_path, setup, refresh_interval_ms=FAST_REFRESH_MS)
    return starter


@pytest.fixture
def silent_host():
    """A host peer whose port nobody listens on."""
    with HostPeer(listen=False) as peer:
        yield peer

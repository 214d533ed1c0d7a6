"""Fixtures shared by the end-to-end tests."""

import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))

from hostpeer import HostPeer  # noqa: E402
from simservers import no_simulated_powerpoint_left  # noqa: E402,F401


@pytest.fixture
def host():
    """A listening host peer; the plug-in is started by the test."""
    with HostPeer() as peer:
        yield peer


@pytest.fixture
def silent_host():
    """A host peer whose port nobody listens on."""
    with HostPeer(listen=False) as peer:
        yield peer

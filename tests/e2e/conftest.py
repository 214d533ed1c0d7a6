"""Fixtures shared by the end-to-end tests."""

import pytest

from hostpeer import HostPeer
from simservers import no_simulated_powerpoint_left  # noqa: F401


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

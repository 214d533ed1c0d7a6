"""PowerPoint not registered: the one message box, answered from outside as a user would."""

import time

import pytest

from actionsession import LAST, NEXT, ActionSession, show_alert
from scenariofiles import scenario
from winelane import run_tool

MESSAGE = "CLSIDFromProgID() failed"


@pytest.fixture
def unregistered():
    assert run_tool("pptsim-server.exe", "/unregserver").returncode == 0
    try:
        yield
    finally:
        assert run_tool("pptsim-server.exe", "/regserver").returncode == 0


def test_message_box_shows_once_and_the_plugin_goes_on(unregistered, host, tmp_path):
    session = ActionSession(host, tmp_path, scenario("q3_open"))
    answered = run_tool("dismiss-dialog.exe", "Error", "20000")
    assert answered.returncode == 0
    assert answered.stdout.decode("utf-8").strip() == MESSAGE
    # Only one box: nothing else asks to be dismissed.
    assert run_tool("dismiss-dialog.exe", "Error", "1500").returncode == 1
    for context, action in (("K1", NEXT), ("K2", LAST)):
        mark = session.mark()
        session.key_down(context, action)
        end = session.probe()
        assert session.raw_between(mark, end, context) == [show_alert(context)]
    session.finish()
    assert session.host.stderr == ""


def test_link_closed_while_the_box_waits_ends_the_plugin_within_10_s(unregistered, host,
                                                                    tmp_path):
    ActionSession(host, tmp_path, scenario("q3_open"))
    seen = run_tool("dismiss-dialog.exe", "Error", "20000", "none")
    assert seen.returncode == 0
    assert seen.stdout.decode("utf-8").strip() == MESSAGE
    closed = time.monotonic()
    host.close()
    # The box waits for a presenter who may never come; the host that quit must not leave a
    # plug-in process behind for it.
    assert host.wait_exit(timeout=30) == 0
    assert time.monotonic() - closed < 10

"""PowerPoint not registered: the one message box, answered from outside as a user would."""

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

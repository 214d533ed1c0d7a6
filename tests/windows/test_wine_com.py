"""The Windows program against the simulated PowerPoint served by COM across processes."""

import pytest

from actionsession import NEXT, PLAY, ActionSession, set_title, show_alert
from hostpeer import HostPeer
from scenariofiles import scenario
from winelane import EXIT_GRACE_SECONDS, server_processes, wait_until

Q3_SHOW = scenario("q3_show_on_slide_3")


@pytest.fixture
def start(host, tmp_path):
    def starter(setup: dict) -> ActionSession:
        return ActionSession(host, tmp_path, setup)
    return starter


def test_server_ends_with_the_plugin_that_started_it(start):
    wait_until(lambda: server_processes() == [], EXIT_GRACE_SECONDS,
               "a server of an earlier test stayed")
    session = start(Q3_SHOW)
    session.appear("P1", PLAY)
    session.wait_raw(set_title("P1", "3/12"))
    assert len(server_processes()) == 1
    session.finish()
    # The plug-in never releases PowerPoint; the server must notice its client is gone.
    wait_until(lambda: server_processes() == [], EXIT_GRACE_SECONDS,
               "the server outlived its client")


def test_every_start_gets_a_fresh_server_with_its_own_scenario(start, tmp_path):
    first = start(Q3_SHOW)
    first.appear("P1", PLAY)
    first.wait_raw(set_title("P1", "3/12"))
    first.finish()
    wait_until(lambda: server_processes() == [], EXIT_GRACE_SECONDS, "the first server stayed")

    second_folder = tmp_path / "second"
    second_folder.mkdir()
    on_slide_7 = scenario("q3_show_on_slide_3",
                          shows=[{"presentation": "C:\\Talks\\Q3 review.pptx", "slide": 7}])
    with HostPeer() as second_host:
        second = ActionSession(second_host, second_folder, on_slide_7)
        second.appear("P1", PLAY)
        second.wait_raw(set_title("P1", "7/12"))
        second.finish()


def test_closing_powerpoint_ends_the_server_and_keys_then_fail_cleanly(start):
    session = start(Q3_SHOW)
    session.appear("P1", PLAY)
    session.wait_raw(set_title("P1", "3/12"))
    session.key_down("P1", PLAY)
    session.wait_trace("close Q3 review.pptx - PowerPoint", timeout=15)
    # PowerPoint's process is gone: calls fail with "server unavailable", never hang.
    wait_until(lambda: server_processes() == [], EXIT_GRACE_SECONDS, "the server did not quit")
    session.key_up("P1", PLAY)
    mark = session.mark()
    session.key_down("K", NEXT)
    end = session.probe()
    assert session.raw_between(mark, end, "K") == [show_alert("K")]
    # The refresh goes on against the vanished PowerPoint: no presentation, state 1.
    session.wait_raw(set_title("P1", ""), end)
    session.finish()

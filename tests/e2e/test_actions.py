"""The six actions end to end: the real plug-in against the simulated PowerPoint.

What reaches the host is checked byte for byte where it matters; what reached PowerPoint is
read from the simulation's trace.
"""

import pytest

from actionsession import (FAST_REFRESH_MS, FIRST, LAST, LOAD, NEXT, PLAY, PREV, ActionSession,
                           context_of, presentations_to_inspector, set_state, set_title,
                           show_alert, under_wine)
from scenariofiles import scenario

Q3 = "C:\\Talks\\Q3 review.pptx"
Q3_SETTING = "C:/Talks/Q3 review.pptx"
INTRO_SETTING = "D:/Slides/intro.pptx"


# Most tests refresh every FAST_REFRESH_MS, so that they wait less for periodic refreshes;
# those that use real_period run at the product's 2000 ms. A press and its probe take a few
# milliseconds, far inside that interval, which keeps periodic refreshes out of what the tests
# compare.


@pytest.fixture
def start(host, tmp_path):
    """Starts the plug-in against a scenario; returns the session."""
    def starter(setup: dict, real_period: bool = False) -> ActionSession:
        return ActionSession(host, tmp_path, setup,
                             refresh_interval_ms=None if real_period else FAST_REFRESH_MS)
    return starter


def wait_periodic_refresh(session: ActionSession, context: str) -> int:
    """Waits for the end of a refresh that no key press caused (the state of the only visible
    play key is its last frame); the next one is an interval away."""
    index, _ = session.wait_frame(
        lambda f: f.event == "setState" and context_of(f) == context, session.mark())
    return index


def test_running_show_titles_every_visible_play_key_on_every_refresh(start):
    session = start(scenario("q3_show_on_slide_3"), real_period=True)
    for context in ("P1", "P2"):
        session.appear(context, PLAY)
    session.appear("N1", NEXT)
    first = {}
    for context in ("P1", "P2"):
        first[context] = session.wait_raw(set_title(context, "3/12"))
        # The state is the very next frame, though it may not have arrived yet.
        assert session.wait_raw(set_state(context, 0), first[context] + 1) == first[context] + 1
    # A second refresh arrives by itself.
    session.wait_raw(set_title("P1", "3/12"), first["P1"] + 1)
    assert session.raw_between(0, session.mark(), "N1") == []
    session.finish()


@pytest.mark.parametrize("action, slide, title, view_call", [
    (NEXT, 3, "4/12", "call SlideShowView.Next"),
    (NEXT, 12, "1/12", "call SlideShowView.First"),
    (PREV, 3, "2/12", "call SlideShowView.Previous"),
    (PREV, 1, "12/12", "call SlideShowView.Last"),
    (FIRST, 7, "1/12", "call SlideShowView.First"),
    (LAST, 3, "12/12", "call SlideShowView.Last"),
])
def test_slide_key_moves_the_show_and_refreshes(start, action, slide, title, view_call):
    session = start(scenario("q3_show_on_slide_3",
                             shows=[{"presentation": Q3, "slide": slide}]))
    session.appear("P1", PLAY)
    # The press refreshes the play key only for the show of the presentation a refresh found.
    wait_periodic_refresh(session, "P1")
    before = len(session.trace())
    mark = session.mark()
    session.tap("K", action)
    end = session.probe()
    assert session.titles_between(mark, end, "P1")[-1] == title
    assert session.raw_between(mark, end, "K") == []
    assert view_call in session.trace()[before:]
    session.finish()


def test_slide_keys_without_a_show_alert_and_do_not_refresh(start):
    session = start(scenario("q3_open"), real_period=True)
    session.appear("P1", PLAY)
    for action in (NEXT, PREV, FIRST, LAST):
        # Right after a periodic refresh, so any refresh frame before the probe is the press's:
        # the next periodic one is two seconds away, a margin a loaded machine does not eat.
        wait_periodic_refresh(session, "P1")
        mark = session.mark()
        session.key_down("K", action)
        end = session.probe()
        assert session.raw_between(mark, end) == [show_alert("K")], action
    session.finish()


def test_load_key_opens_the_chosen_file_and_the_play_key_shows_it(start):
    session = start(scenario("nothing_open"))
    session.appear("P1", PLAY)
    session.appear("L1", LOAD)
    mark = session.mark()
    session.tap("L1", LOAD, Q3_SETTING)
    end = session.probe()
    assert "call Presentations.Open C:\\Talks\\Q3 review.pptx" in session.trace()
    sent = session.raw_between(mark, end)
    at = sent.index(set_title("P1", "Q3 review"))
    assert sent[at + 1] == set_state("P1", 1)
    assert presentations_to_inspector("L1", [Q3_SETTING]) in sent
    # The key's release sets its state from its settings, after the press's refresh.
    assert sent.index(set_state("L1", 1)) > sent.index(presentations_to_inspector("L1", [Q3_SETTING]))
    assert show_alert("L1") not in sent
    # The opened file is current: a tap of play runs its show.
    mark = session.mark()
    session.tap("P1", PLAY)
    end = session.probe()
    assert session.titles_between(mark, end, "P1")[-1] == "1/12"
    session.finish()


# A NUL cuts the path short when it reaches PowerPoint: it names no file.
NUL_PATH = "D:/Slides/intro.pptx\u0000/../other/evil.pptx"


@pytest.mark.parametrize("settings_file", [None, "", NUL_PATH, "C:/Talks/missing.pptx"])
def test_load_key_without_a_file_alerts_or_failed_open_stays_quiet_and_both_refresh(
        start, settings_file):
    session = start(scenario("q3_open"))
    session.appear("P1", PLAY)
    wait_periodic_refresh(session, "P1")
    mark = session.mark()
    session.key_down("L1", LOAD, settings_file)
    end = session.probe()
    sent = session.raw_between(mark, end)
    refresh = [set_title("P1", "Q3 review"), set_state("P1", 1)]
    if settings_file and settings_file != NUL_PATH:
        # A file PowerPoint cannot open: no alert, the current presentation stays.
        assert sent == refresh
    else:
        assert sent == [show_alert("L1")] + refresh
        assert not any(line.startswith("call Presentations.Open") for line in session.trace())
    session.finish()


def test_load_key_during_a_show_ends_it_before_opening(start):
    session = start(scenario("q3_show_on_slide_3"))
    session.appear("P1", PLAY)
    session.wait_raw(set_title("P1", "3/12"))
    mark = session.mark()
    session.key_down("L1", LOAD, INTRO_SETTING)
    end = session.probe()
    trace = session.trace()
    opened = trace.index("call Presentations.Open D:\\Slides\\intro.pptx")
    assert "call SlideShowView.Exit" in trace[:opened]
    assert session.titles_between(mark, end, "P1")[-1] == "intro"
    assert session.raw_between(mark, end, "L1") == []
    session.finish()


def test_load_key_during_a_show_that_cannot_end_alerts_and_opens_nothing(start):
    session = start(scenario("q3_show_on_slide_3", failMembers=["Exit"]))
    session.appear("P1", PLAY)
    session.wait_raw(set_title("P1", "3/12"))
    mark = session.mark()
    session.key_down("L1", LOAD, INTRO_SETTING)
    end = session.probe()
    assert session.raw_between(mark, end, "L1") == [show_alert("L1")]
    assert not any(line.startswith("call Presentations.Open") for line in session.trace())
    assert session.titles_between(mark, end, "P1")[-1] == "3/12"
    session.finish()


def test_play_tap_starts_the_show_and_a_second_tap_ends_it(start):
    session = start(scenario("q3_open"))
    session.appear("P1", PLAY)
    wait_periodic_refresh(session, "P1")
    for title, state, call in (("1/12", 0, "call SlideShowSettings.Run"),
                               ("Q3 review", 1, "call SlideShowView.Exit")):
        before = len(session.trace())
        mark = session.mark()
        session.tap("P1", PLAY)
        end = session.probe()
        sent = session.raw_between(mark, end, "P1")
        assert sent[-2:] == [set_title("P1", title), set_state("P1", state)]
        assert show_alert("P1") not in sent
        assert call in session.trace()[before:]
    assert not any(line.startswith("close ") for line in session.trace())
    session.finish()


def test_play_tap_when_the_show_cannot_start_alerts(start):
    session = start(scenario("q3_open", failMembers=["Run"]))
    session.appear("P1", PLAY)
    mark = session.mark()
    session.tap("P1", PLAY)
    end = session.probe()
    assert show_alert("P1") in session.raw_between(mark, end, "P1")
    session.finish()


def test_play_held_closes_powerpoint_and_its_release_toggles_nothing(start):
    session = start(scenario("q3_open"), real_period=True)
    session.appear("P1", PLAY)
    session.key_down("P1", PLAY)
    session.wait_trace("close Q3 review.pptx - PowerPoint")
    mark = session.mark()
    session.key_up("P1", PLAY)
    end = session.probe()
    assert session.raw_between(mark, end, "P1") == []
    trace = session.trace()
    assert "call SlideShowSettings.Run" not in trace
    assert "call SlideShowView.Exit" not in trace
    # The next periodic refresh finds PowerPoint gone.
    session.wait_raw(set_title("P1", ""), end)
    session.finish()


def test_two_play_keys_share_one_long_press_and_toggle_once(start):
    session = start(scenario("q3_open"))
    session.appear("P1", PLAY)
    session.appear("P2", PLAY)
    wait_periodic_refresh(session, "P2")
    mark = session.mark()
    session.key_down("P1", PLAY)
    session.key_down("P2", PLAY)
    session.key_up("P1", PLAY)
    session.key_up("P2", PLAY)
    end = session.probe()
    assert session.trace().count("call SlideShowSettings.Run") == 1
    assert session.titles_between(mark, end, "P2")[-1] == "1/12"
    assert not any(line.startswith("close ") for line in session.trace())
    session.finish()


def test_refresh_reaches_exactly_the_visible_keys(start):
    session = start(scenario("q3_show_on_slide_3"))
    session.appear("A", PLAY)
    session.appear("B", PLAY)
    session.appear("C", LOAD)
    session.appear("D", PLAY)
    session.appear("X", "com.example.other")
    session.appear("A", NEXT)  # replaces A's action
    session.disappear("B")
    session.disappear("never-seen")
    mark = session.mark()
    session.key_down("K", NEXT)
    end = session.probe()
    sent = session.frames_between(mark, end)
    assert {context_of(f) for f in sent} == {"C", "D"}
    assert session.raw_between(mark, end, "D")[-2:] == [set_title("D", "4/12"),
                                                         set_state("D", 0)]
    assert presentations_to_inspector("C", [Q3_SETTING]) in session.raw_between(mark, end, "C")
    session.finish()


def test_settings_set_load_keys_and_leave_other_keys_alone(start):
    session = start(scenario("nothing_open"))
    cases = [
        ("s1", LOAD, {"korfilepicker": Q3_SETTING}, [set_title("s1", "Q3 review"),
                                                     set_state("s1", 1)]),
        ("s2", LOAD, {"korfilepicker": ""}, [set_state("s2", 0)]),
        ("s3", LOAD, None, [set_state("s3", 0)]),
        ("s4", LOAD, {"korfilepicker": 7}, [set_state("s4", 0)]),
        # No forward slash: the name cannot be cut out, the key still has a file.
        ("s5", LOAD, {"korfilepicker": "Q3 review.pptx"}, [set_title("s5", ""),
                                                           set_state("s5", 1)]),
        ("s6", LOAD, {"korfilepicker": "C:/Talks/\u00c4rger \U0001F600.pptx"},
         [set_title("s6", "\u00c4rger \U0001F600"), set_state("s6", 1)]),
        ("s7", PLAY, {"korfilepicker": Q3_SETTING}, []),
        ("s8", NEXT, {"korfilepicker": Q3_SETTING}, []),
        ("s9", LOAD, {"korfilepicker": NUL_PATH}, [set_state("s9", 0)]),
    ]
    for context, action, settings, expected in cases:
        mark = session.mark()
        session.settings(context, action, settings)
        end = session.probe()
        assert session.raw_between(mark, end) == expected, context
    assert not any(line.startswith("call Presentations.Open") for line in session.trace())
    session.finish()


@pytest.mark.parametrize("setup, expected", [
    ("two_open", [presentations_to_inspector("L1", [Q3_SETTING, INTRO_SETTING])]),
    ("nothing_open", []),
])
def test_load_key_inspector_gets_open_presentations_at_once(start, setup, expected):
    session = start(scenario(setup))
    mark = session.mark()
    session.inspector("L1", LOAD)
    session.inspector("P1", PLAY)
    end = session.probe()
    assert session.raw_between(mark, end) == expected
    session.finish()


def exercise_every_key_without_powerpoint(session: ActionSession) -> None:
    session.appear("P1", PLAY)
    session.appear("L1", LOAD)
    for action in (NEXT, PREV, FIRST, LAST):
        mark = session.mark()
        session.tap("K", action)
        end = session.probe()
        assert session.raw_between(mark, end, "K") == [show_alert("K")], action
    mark = session.mark()
    session.tap("L1", LOAD, Q3_SETTING)
    session.tap("L2", LOAD)
    session.tap("P1", PLAY)
    end = session.probe()
    sent = session.raw_between(mark, end)
    assert presentations_to_inspector("L1", []) in sent
    assert set_title("P1", "") in sent
    assert show_alert("L2") in sent
    assert show_alert("L1") not in sent


@pytest.mark.skipif(under_wine(), reason="the modal message box needs dismissing under Wine")
def test_powerpoint_not_registered_reports_once_and_every_key_answers(start):
    session = start(scenario("not_registered"))
    exercise_every_key_without_powerpoint(session)
    session.finish()
    assert session.host.stderr.count("CLSIDFromProgID() failed") == 1


def test_powerpoint_not_available_every_key_answers(start):
    session = start(scenario("not_available"))
    exercise_every_key_without_powerpoint(session)
    session.finish()
    assert "CLSIDFromProgID() failed" not in session.host.stderr


def test_slow_powerpoint_still_answers_key_presses(start):
    session = start(scenario("q3_show_on_slide_3", delayMs=30))
    session.appear("P1", PLAY)
    wait_periodic_refresh(session, "P1")
    mark = session.mark()
    session.key_down("K", NEXT)
    end = session.probe()
    assert session.titles_between(mark, end, "P1")[-1] == "4/12"
    assert session.raw_between(mark, end, "K") == []
    session.finish()


def test_hanging_powerpoint_fails_presses_within_the_bound_and_exits_cleanly(start):
    session = start(scenario("q3_show_on_slide_3", delayMs=8000))
    session.appear("P1", PLAY)
    session.key_down("K", NEXT)
    # The worker gives up on the hung call within its bound; later presses fail at once.
    session.wait_raw(show_alert("K"), timeout=15)
    mark = session.mark()
    session.key_down("K2", LAST)
    end = session.probe()
    assert session.raw_between(mark, end, "K2") == [show_alert("K2")]
    session.finish()

"""A presenter's desk: a deck in a folder OneDrive keeps in step, builds, custom shows, two shows
at once, a deck in Protected View, and a PowerPoint the presenter started again by hand; and the
presenter's hands: a custom show that comes back to its first slide, a deck that only shares the
chosen file's name, the keyboard in the show the play key started, a minimised deck.

Each runs the real plug-in against the simulated PowerPoint, one scenario per situation.
"""

import pytest

from actionsession import (LOAD, NEXT, PLAY, PREV, ActionSession, context_of, show_alert)

LOCAL_Q3 = "C:\\Users\\ann\\OneDrive\\Talks\\Q3 review.pptx"
LOCAL_Q3_SETTING = "C:/Users/ann/OneDrive/Talks/Q3 review.pptx"
Q3_URL = "https://d.docs.live.net/4f2a9c/Talks/Q3 review.pptx"
Q3 = "C:\\Talks\\Q3 review.pptx"
Q3_SETTING = "C:/Talks/Q3 review.pptx"
INTRO = "D:\\Slides\\intro.pptx"



def ready(start, scenario: dict) -> ActionSession:
    """The plug-in against the scenario, with the play key placed and its first title shown."""
    session = start(scenario)
    session.appear("P1", PLAY)
    session.settled("P1")
    return session


def press(session: ActionSession, context: str, action: str, file=None) -> list:
    """Taps the key; returns the play key's titles and the key's own frames that followed."""
    mark = session.mark()
    session.tap(context, action, file)
    end = session.probe()
    return session.titles_between(mark, end, "P1"), session.raw_between(mark, end, context)


def load_finds_it_open(session: ActionSession, setting: str) -> tuple:
    """Presses load for a deck PowerPoint has open, which must not open a second copy; returns
    the play key's titles, the load key's frames and the trace."""
    titles, loaded = press(session, "L1", LOAD, setting)
    trace = session.trace()
    assert not any(line.startswith("call Presentations.Open") for line in trace), \
        "opened a second copy"
    return titles, loaded, trace


MOVES = ("Next", "Previous", "First", "Last", "GotoSlide")


def show_state(session: ActionSession) -> list:
    """The calls that moved a show, in order."""
    return [line for line in session.trace()
            if line.startswith("call SlideShowView.") and line.split(".")[1] in MOVES]


@pytest.mark.parametrize("sync_roots", [
    pytest.param([{"mountPoint": "C:\\Users\\ann\\OneDrive",
                   "urlNamespace": "https://d.docs.live.net/4f2a9c"}],
                 id="mapped-by-the-sync-folder"),
    # A folder synced on its own (a library's subfolder) names the root it belongs to: the one
    # open deck below that root whose URL ends with the path below the folder is taken.
    pytest.param([{"mountPoint": "C:\\Users\\ann\\OneDrive\\Talks",
                   "urlNamespace": "https://d.docs.live.net/4f2a9c"}],
                 id="found-below-the-folders-root"),
])
def test_a_deck_chosen_by_its_local_path_in_a_synced_folder_is_found_open(start, sync_roots):
    session = ready(start, {"files": {LOCAL_Q3: {"slides": 12, "fullName": Q3_URL}, INTRO: 5},
                           "open": [LOCAL_Q3, INTRO], "active": INTRO, "syncRoots": sync_roots})
    titles, loaded, trace = load_finds_it_open(session, LOCAL_Q3_SETTING)
    assert "call DocumentWindow.Activate" in trace
    assert titles[-1] == "Q3 review"
    assert show_alert("L1") not in loaded
    session.finish()


def test_a_deck_that_only_shares_the_chosen_files_name_is_not_brought_up(start):
    # The chosen file is in no synced folder; a colleague's deck of the same name is open.
    colleague = "https://contoso.sharepoint.com/sites/Sales/Shared Documents/Q3 review.pptx"
    chosen = "C:\\Users\\ann\\Downloads\\Q3 review.pptx"
    session = ready(start, {"files": {colleague: 20, chosen: 12}, "open": [colleague],
                           "syncRoots": [{"mountPoint": "C:\\Users\\ann\\OneDrive",
                                          "urlNamespace": "https://d.docs.live.net/4f2a9c"}]})
    press(session, "L1", LOAD, chosen.replace("\\", "/"))
    assert f"call Presentations.Open {chosen}" in session.trace()
    titles, _ = press(session, "P1", PLAY)
    assert titles[-1] == "1/12", "the play key drives the colleague's deck"
    session.finish()


@pytest.mark.parametrize("show, action, calls, slide_after", [
    # Next on the last slide plays its two builds, then wraps to the first.
    pytest.param({"slide": 12, "click": 0}, NEXT, ["Next", "Next", "First"], 1, id="next"),
    # Prev on the first slide with a build played takes it back, then wraps to the last.
    pytest.param({"slide": 1, "click": 1}, PREV, ["Previous", "Last"], 12, id="prev"),
])
def test_builds_play_before_the_show_wraps(start, show, action, calls, slide_after):
    deck = {"slides": 12, "clicks": {"12": 2, "1": 2}}
    session = ready(start, {"files": {Q3: deck}, "open": [Q3],
                           "shows": [dict(show, presentation=Q3)]})
    before = len(show_state(session))
    titles = []
    for _ in calls:
        titles += press(session, "K", action)[0]
    assert show_state(session)[before:] == [f"call SlideShowView.{call}" for call in calls]
    assert titles[-1] == f"{slide_after}/12"
    session.finish()


@pytest.mark.parametrize("slide, action, call, title", [
    pytest.param(9, NEXT, "First", "2/12", id="next-wraps-to-its-first"),
    pytest.param(2, PREV, "Last", "9/12", id="prev-wraps-to-its-last"),
    pytest.param(5, NEXT, "Next", "9/12", id="next-within-it"),
])
def test_a_custom_show_wraps_within_its_own_slides(start, slide, action, call, title):
    deck = {"slides": 12, "namedShows": {"Short": [2, 5, 9]}}
    session = ready(start, {"files": {Q3: deck}, "open": [Q3],
                           "shows": [{"presentation": Q3, "namedShow": "Short", "slide": slide}]})
    before = len(show_state(session))
    titles, alerts = press(session, "K", action)
    assert show_state(session)[before:] == [f"call SlideShowView.{call}"]
    # The play key counts positions in the deck, not in the custom show.
    assert titles[-1] == title
    assert alerts == []
    session.finish()


def test_next_walks_a_custom_show_that_comes_back_to_its_first_slide(start):
    # A tour that opens and closes on its agenda slide: the same slide at both ends.
    deck = {"slides": 12, "namedShows": {"Tour": [2, 5, 9, 2]}}
    session = ready(start, {"files": {Q3: deck}, "open": [Q3],
                           "shows": [{"presentation": Q3, "namedShow": "Tour"}]})
    shown = []
    for _ in range(3):
        titles, alerts = press(session, "K", NEXT)
        assert alerts == []
        shown.append(titles[-1])
    assert shown == ["5/12", "9/12", "2/12"]
    session.finish()


def test_the_keys_follow_the_current_presentations_show_when_two_run(start):
    # Q3's show is the first window; intro, the active deck, runs its own show too.
    session = ready(start, {"files": {Q3: 12, INTRO: 5}, "open": [Q3, INTRO], "active": INTRO,
                           "shows": [{"presentation": Q3, "slide": 3},
                                     {"presentation": INTRO, "slide": 2}]})
    session.settled("P1")
    titles, _ = press(session, "K", NEXT)
    assert titles[-1] == "3/5"
    assert "get Presentation.SlideShowWindow" in session.trace()
    session.finish()


def test_a_deck_in_protected_view_is_brought_up_not_opened_again(start):
    session = ready(start, {"files": {Q3: 12, INTRO: 5}, "open": [INTRO], "active": INTRO,
                           "protectedView": [Q3]})
    _, loaded, trace = load_finds_it_open(session, Q3_SETTING)
    assert "raise Q3 review.pptx [Protected View] - PowerPoint" in trace
    assert not any(line.endswith("ProtectedViewWindow.Edit") for line in trace), \
        "left Protected View for the presenter"
    assert show_alert("L1") not in loaded
    session.finish()


def test_a_play_press_that_starts_the_show_gives_its_window_the_keyboard(start):
    session = ready(start, {"files": {Q3: 12}, "open": [Q3]})
    titles, played = press(session, "P1", PLAY)
    assert titles[-1] == "1/12" and show_alert("P1") not in played
    trace = session.trace()
    assert "call SlideShowWindow.Activate" in trace[trace.index("call SlideShowSettings.Run"):]
    # The slide keys never take the keyboard from a program the presenter works in meanwhile.
    press(session, "K", NEXT)
    assert session.trace().count("call SlideShowWindow.Activate") == 1
    session.finish()


def test_a_load_press_brings_a_minimised_deck_back_without_opening_it_again(start):
    session = ready(start, {"files": {Q3: 12, INTRO: 5}, "open": [Q3, INTRO], "active": INTRO,
                           "minimized": [Q3]})
    titles, loaded, trace = load_finds_it_open(session, Q3_SETTING)
    assert "restore Q3 review.pptx - PowerPoint" in trace, "the deck stayed on the taskbar"
    assert (trace.index("restore Q3 review.pptx - PowerPoint")
            < trace.index("raise Q3 review.pptx - PowerPoint"))
    assert titles[-1] == "Q3 review" and show_alert("L1") not in loaded
    session.finish()


def test_a_powerpoint_started_again_by_hand_is_found_by_its_frame(start):
    # The presenter closes PowerPoint and starts it again with the deck; kept in front, it is
    # not in the running object table.
    session = ready(start, {"files": {Q3: 12}, "open": [Q3], "rot": False,
                           "restart": {"afterMs": 600, "open": [Q3]}})
    session.key_down("P1", PLAY)
    session.wait_trace("close Q3 review.pptx - PowerPoint")
    session.key_up("P1", PLAY)
    session.wait_trace("restart PowerPoint")
    # The refresh attaches to it again, and the keys work without a load press.
    session.wait_frame(lambda f: f.event == "setTitle" and context_of(f) == "P1"
                       and f.json["payload"]["title"] == "Q3 review", session.mark())
    titles, played = press(session, "P1", PLAY)
    assert titles[-1] == "1/12"
    assert show_alert("P1") not in played
    assert session.trace().count("start PowerPoint") == 1, "started another PowerPoint"
    session.finish()

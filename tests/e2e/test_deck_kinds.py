"""Decks as real PowerPoint reports them: numbered from 0, with hidden slides or a saved range,
a show standing on its end screen, decks kept in the cloud (URL full names), a chosen path in
another letter case, and frames titled without extension or with flags.

Each table runs the real plug-in against the simulated PowerPoint; titles count positions in the
deck (n/N), whatever the first slide number.
"""

import pytest

from actionsession import (FIRST, LAST, LOAD, NEXT, PLAY, PREV, presentations_to_inspector,
                           set_state, set_title, show_alert)

Q3 = "C:\\Talks\\Q3 review.pptx"
INTRO = "D:\\Slides\\intro.pptx"
CLOUD = "https://d.docs.live.net/4f2a9c/Documents/Cloud deck.pptx"


def deck_setup(deck, show=None, **members) -> dict:
    """Q3 review (given as its "files" value) open and active; show: its position or "ended"."""
    setup = {"files": {Q3: deck, INTRO: 5}, "open": [Q3], "active": Q3}
    if show == "ended":
        setup["shows"] = [{"presentation": Q3, "ended": True}]
    elif show is not None:
        setup["shows"] = [{"presentation": Q3, "slide": show}]
    setup.update(members)
    return setup


NUMBERED = {"slides": 12, "firstSlideNumber": 0}
HIDDEN_LAST = {"slides": 12, "hidden": [12]}
HIDDEN_FIRST = {"slides": 12, "hidden": [1]}
RANGED = {"slides": 12, "showRange": [3, 9]}


@pytest.mark.parametrize("deck, show, action, title, view_call", [
    pytest.param(NUMBERED, 2, None, "2/12", None, id="numbered-title"),
    pytest.param(NUMBERED, 11, NEXT, "12/12", "Next", id="numbered-next"),
    pytest.param(NUMBERED, 12, NEXT, "1/12", "First", id="numbered-next-wraps"),
    pytest.param(NUMBERED, 2, PREV, "1/12", "Previous", id="numbered-prev-second"),
    pytest.param(HIDDEN_LAST, 11, NEXT, "1/12", "First", id="hidden-last-next-wraps"),
    pytest.param(HIDDEN_FIRST, 2, PREV, "12/12", "Last", id="hidden-first-prev-wraps"),
    pytest.param(HIDDEN_LAST, 3, LAST, "11/12", "Last", id="hidden-last-last"),
    pytest.param(RANGED, 9, NEXT, "3/12", "First", id="range-next-wraps"),
    pytest.param(RANGED, 3, PREV, "9/12", "Last", id="range-prev-wraps"),
    pytest.param(RANGED, 5, NEXT, "6/12", "Next", id="range-next"),
    pytest.param(RANGED, 7, FIRST, "3/12", "First", id="range-first"),
    pytest.param(12, "ended", NEXT, "1/12", "First", id="end-screen-next"),
    pytest.param(HIDDEN_LAST, "ended", NEXT, "1/12", "First", id="end-screen-next-hidden-last"),
    pytest.param(HIDDEN_LAST, "ended", PREV, "11/12", "Last", id="end-screen-prev"),
])
def test_slide_keys_on_numbered_hidden_ranged_and_ended_shows(start, deck, show, action, title,
                                                             view_call):
    session = start(deck_setup(deck, show))
    session.appear("P1", PLAY)
    session.settled("P1")
    before = len(session.trace())
    mark = session.mark()
    if action is not None:
        session.tap("K", action)
    else:
        session.settled("P1")
    end = session.probe()
    assert session.titles_between(mark, end, "P1")[-1] == title
    assert session.raw_between(mark, end, "K") == []  # no alert
    if view_call is not None:
        assert f"call SlideShowView.{view_call}" in session.trace()[before:]
    session.finish()


Q3_SETTING = "C:/Talks/Q3 review.pptx"


@pytest.mark.parametrize("setup, press, listed", [
    # The play key names the open cloud deck from its URL.
    pytest.param({"files": {CLOUD: 4}, "open": [CLOUD]}, None, [CLOUD], id="cloud-title"),
    # Chosen in the inspector, the URL reaches PowerPoint as it is.
    pytest.param({"files": {CLOUD: 4, Q3: 12}, "open": [Q3]}, CLOUD, [Q3_SETTING, CLOUD],
                 id="cloud-load"),
])
def test_decks_kept_in_the_cloud_keep_their_url(start, setup, press, listed):
    session = start(setup)
    session.appear("P1", PLAY)
    session.appear("L1", LOAD)
    session.settled("P1")
    mark = session.mark()
    if press is not None:
        session.tap("L1", LOAD, press)
    else:
        session.settled("P1")
    end = session.probe()
    sent = session.raw_between(mark, end)
    assert session.raw_between(mark, end, "P1")[-2:] == [set_title("P1", "Cloud deck"),
                                                         set_state("P1", 1)]
    assert presentations_to_inspector("L1", listed) in sent
    assert show_alert("L1") not in sent
    if press is not None:
        assert f"call Presentations.Open {CLOUD}" in session.trace()
    session.finish()


@pytest.mark.parametrize("chosen", [
    pytest.param("c:/talks/q3 review.pptx", id="lower-case"),
    pytest.param("C:/TALKS/Q3 Review.PPTX", id="upper-case"),
    pytest.param(Q3_SETTING, id="same-case"),
])
def test_a_chosen_path_finds_the_open_deck_whatever_its_letter_case(start, chosen):
    session = start({"files": {Q3: 12, INTRO: 5}, "open": [Q3, INTRO], "active": INTRO})
    session.appear("P1", PLAY)
    session.settled("P1")
    mark = session.mark()
    session.tap("L1", LOAD, chosen)
    end = session.probe()
    trace = session.trace()
    assert not any(line.startswith("call Presentations.Open") for line in trace)
    assert "call DocumentWindow.Activate" in trace
    assert session.titles_between(mark, end, "P1")[-1] == "Q3 review"
    session.finish()


@pytest.mark.parametrize("q3, frame_titles, raised", [
    pytest.param(12, "withoutExtension", "raise Q3 review - PowerPoint", id="without-extension"),
    pytest.param({"slides": 12, "readOnly": True}, "withExtension",
                 "raise Q3 review.pptx [Read-Only] - PowerPoint", id="read-only"),
    pytest.param(12, "withExtension", "raise Q3 review.pptx - PowerPoint", id="plain"),
])
def test_loading_an_open_deck_raises_its_frame_whatever_its_title_form(start, q3, frame_titles,
                                                                       raised):
    # intro is active and its frame on top; Q3's frame is below it.
    session = start({"files": {Q3: q3, INTRO: 5}, "open": [Q3, INTRO], "active": INTRO,
                     "frameTitles": frame_titles})
    session.appear("P1", PLAY)
    session.settled("P1")
    mark = session.mark()
    session.tap("L1", LOAD, Q3_SETTING)
    end = session.probe()
    assert session.trace().count(raised) == 1
    assert session.titles_between(mark, end, "P1")[-1] == "Q3 review"
    session.finish()

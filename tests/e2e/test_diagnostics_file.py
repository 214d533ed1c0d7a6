"""The plug-in's diagnostics file, end to end: written when PowerPoint fails a call and not
otherwise, beside the executable in its plug-in folder or, where that cannot be written, in the
user's state folder; rotated at its bound."""

import getpass
import os
import re
import shutil
from pathlib import Path

import pytest

from actionsession import (FAST_REFRESH_MS, FIRST, NEXT, PLAY, ActionSession, set_title,
                           show_alert, under_wine)
from pluginfolder import DIAGNOSTICS_FILE, ROTATED_DIAGNOSTICS_FILE, copy_plugin_folder
from scenariofiles import scenario

STAMPED = re.compile(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ")


@pytest.fixture
def fallback_folder(tmp_path, monkeypatch) -> Path:
    """Where the file goes when the plug-in folder cannot take it, emptied: the Glyphpad folder
    of the user's state folder ($XDG_STATE_HOME, set for the test) or, under Wine, of the
    prefix's %LOCALAPPDATA% (Wine sets it from the prefix's profile whatever the environment
    says; the Wine lane runs one test at a time in each prefix)."""
    if under_wine():
        state = (Path(os.environ["WINEPREFIX"]) / "drive_c" / "users" / getpass.getuser() /
                 "AppData" / "Local")
    else:
        state = tmp_path / "state"
        monkeypatch.setenv("XDG_STATE_HOME", str(state))
    folder = state / "Glyphpad"
    shutil.rmtree(folder, ignore_errors=True)
    return folder


@pytest.fixture
def own_folder(tmp_path, monkeypatch, fallback_folder):
    """Copies the plug-in into tmp_path/<name>/...gpPlugin and runs that copy."""
    def make(name: str) -> Path:
        executable = copy_plugin_folder(tmp_path / name)
        monkeypatch.setenv("GP_PLUGIN_EXE", str(executable))
        return executable.parent
    return make


def failing_next(fail: bool = True) -> dict:
    return scenario("q3_show_on_slide_3", failMembers=["Next"] if fail else [])


def press_next(session: ActionSession) -> list:
    mark = session.mark()
    session.tap("N1", NEXT)
    return session.raw_between(mark, session.probe())


def lines_of(file: Path) -> list:
    return file.read_text(encoding="utf-8").splitlines()


def failed_next_lines(file: Path) -> list:
    """The lines of the failed call of next: member, code by name and command."""
    return [line for line in lines_of(file)
            if '"Next"' in line and "(E_FAIL)" in line and "NextSlide" in line]


# The folder name with Japanese is held by no ANSI code page: Windows opens it by its UTF-16
# name only.
@pytest.mark.parametrize("folder_name, fail", [("plain", True), ("Vorträge 講演", True),
                                               ("plain", False)],
                         ids=["failed-press", "failed-press-non-ascii-folder", "no-failure"])
def test_a_failed_press_writes_its_line_and_a_session_without_failure_writes_nothing(
        host, tmp_path, own_folder, fallback_folder, folder_name, fail):
    folder = own_folder(folder_name)
    session = ActionSession(host, tmp_path, failing_next(fail), refresh_interval_ms=FAST_REFRESH_MS)
    session.appear("P1", PLAY)
    assert (show_alert("N1") in press_next(session)) == fail
    session.finish()
    if fail:
        written = failed_next_lines(folder / DIAGNOSTICS_FILE)
        assert len(written) == 1 and STAMPED.match(written[0]), lines_of(folder / DIAGNOSTICS_FILE)
    else:
        assert not (folder / DIAGNOSTICS_FILE).exists()
    assert not fallback_folder.exists()


def test_a_show_that_does_not_take_the_keyboard_writes_one_line_and_the_play_press_works(
        host, tmp_path, own_folder):
    folder = own_folder("plain")
    session = ActionSession(host, tmp_path, scenario("q3_open", failMembers=["Activate"]),
                            refresh_interval_ms=FAST_REFRESH_MS)
    session.appear("P1", PLAY)
    session.settled("P1")
    mark = session.mark()
    session.tap("P1", PLAY)
    played = session.raw_between(mark, session.probe())
    assert set_title("P1", "1/12") in played and show_alert("P1") not in played
    session.finish()
    keyboard = [line for line in lines_of(folder / DIAGNOSTICS_FILE)
                if "StartSlideShow" in line and "keyboard" in line]
    assert len(keyboard) == 1, lines_of(folder / DIAGNOSTICS_FILE)


def test_the_file_rotates_at_its_bound_keeping_one_older_file(host, tmp_path, own_folder,
                                                              monkeypatch):
    bound = 400
    monkeypatch.setenv("GP_TEST_DIAGNOSTICS_MAX_BYTES", str(bound))
    folder = own_folder("plain")
    older = "".join(f"older line {n}\n" for n in range(25))  # 340 bytes: the press's line overflows
    (folder / DIAGNOSTICS_FILE).write_text(older, encoding="utf-8")
    (folder / ROTATED_DIAGNOSTICS_FILE).write_text("oldest line\n", encoding="utf-8")
    session = ActionSession(host, tmp_path, failing_next(), refresh_interval_ms=FAST_REFRESH_MS)
    press_next(session)
    session.finish()
    assert (folder / ROTATED_DIAGNOSTICS_FILE).read_text(encoding="utf-8") == older
    assert failed_next_lines(folder / DIAGNOSTICS_FILE)
    assert (folder / DIAGNOSTICS_FILE).stat().st_size <= bound


def test_an_unwritable_plugin_folder_falls_back_to_the_state_folder_and_keys_still_work(
        host, tmp_path, own_folder, fallback_folder):
    folder = own_folder("plain")
    # A folder in the file's place: no file can be made there, not even by an administrator.
    (folder / DIAGNOSTICS_FILE).mkdir()
    session = ActionSession(host, tmp_path, failing_next(), refresh_interval_ms=FAST_REFRESH_MS)
    session.appear("P1", PLAY)
    # The keys follow the show's deck once a refresh has found it.
    session.settled("P1")
    assert show_alert("N1") in press_next(session)
    mark = session.mark()
    session.tap("F1", FIRST)
    assert set_title("P1", "1/12") in session.raw_between(mark, session.probe())
    session.finish()
    assert failed_next_lines(fallback_folder / DIAGNOSTICS_FILE)

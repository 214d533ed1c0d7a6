"""glyphpad-fieldcheck against the plug-in beside it and the simulated PowerPoint, natively or
under Wine (the same launcher as the plug-in's)."""

import json
import os
import subprocess
from pathlib import Path

import pytest

from actionsession import program_path
from hostpeer import plugin_executable, plugin_launcher
from pluginfolder import DIAGNOSTICS_FILE, copy_plugin_folder


def windows_step_runs() -> bool:
    """The plug-in's windows, and PowerPoint's frames, are reached from another process under Wine
    (as on Windows); the Linux stand-ins keep each process's windows within it, so natively the
    steps that need them (windows, minimized-load) are not applicable."""
    return plugin_executable().endswith(".exe")


def summary_of(stdout: str) -> str:
    """The summary line, which the Observed section follows."""
    lines = stdout.splitlines()
    return lines[lines.index(next(line for line in lines if line.startswith("Observed"))) - 1]


def run_fieldcheck(folder: Path, *arguments: str,
                   scenario: dict = None) -> subprocess.CompletedProcess:
    plugin = Path(plugin_executable())
    tool = plugin.with_name("glyphpad-fieldcheck" + plugin.suffix)
    environment = dict(os.environ, PPTSIM_TRACE=str(folder / "trace.txt"))
    if scenario is not None:
        (folder / "scenario.json").write_text(json.dumps(scenario), encoding="utf-8")
        environment["PPTSIM_SCENARIO"] = program_path(folder / "scenario.json")
    # The report path is relative, so a Windows program under Wine finds the same folder.
    return subprocess.run(plugin_launcher() + [str(tool), "--json", "report.json", *arguments],
                          cwd=folder, env=environment, capture_output=True, text=True,
                          timeout=180)


# The walk plays the two builds on the last shown slide before each wrap from it, plays while
# another window has the keyboard, loads the deck minimised, and walks the decks saved to run its
# custom show, which wraps within its own slides, and its tour, which comes back to its first.
@pytest.mark.parametrize("arguments, steps", [([], 38), (["--close"], 40)])
def test_walk_passes_and_powerpoint_saw_the_deck_made_and_opened(tmp_path, arguments, steps):
    run = run_fieldcheck(tmp_path, *arguments)
    assert run.returncode == 0, run.stdout + run.stderr
    summary = (f"{steps} passed, 0 failed" if windows_step_runs()
               else f"{steps - 2} passed, 0 failed, 2 not applicable")
    assert summary_of(run.stdout) == summary
    report = json.loads((tmp_path / "report.json").read_text())
    assert report["passed"] and len(report["steps"]) == steps
    reached = [step for step in report["steps"] if step["step"] in ("windows", "minimized-load")]
    assert len(reached) == 2 and all(step["applicable"] == windows_step_runs() for step in reached)
    assert all(step["ok"] for step in report["steps"] if step["applicable"])
    if windows_step_runs():
        assert "'OleMainThreadWndClass' (message-only) answered " in reached[1]["cameBack"]
        assert "frame restored" in reached[0]["cameBack"]
    trace = (tmp_path / "trace.txt").read_text().splitlines()
    for made in ("call Presentations.Add 0", "call Slides.Add 5 11",
                 "put TextRange.Text Glyphpad field check, slide 5",
                 "put SlideShowTransition.Hidden -1", "put PageSetup.FirstSlideNumber 0",
                 "call Presentation.Close"):
        assert made in trace
    saved = [line for line in trace if line.startswith("call Presentation.SaveAs ")]
    opened = [line for line in trace if line.startswith("call Presentations.Open ")]
    assert len(saved) == 3 and saved[0].endswith("Glyphpad field check.pptx 24")
    assert saved[1].endswith("Glyphpad field check, custom show.pptx 24")
    assert saved[2].endswith("Glyphpad field check, tour.pptx 24")
    # The plug-in's load presses, in the walk's order; the field check's own PowerPoint opens the
    # decks again for its observations afterwards (under Wine two servers write the trace file,
    # and lines written at once may be lost, so those are read from the report instead).
    for deck, suffix in zip(opened, ("", ", custom show", ", tour")):
        assert deck.endswith(f"Glyphpad field check{suffix}.pptx"), opened
    assert "call NamedSlideShows.Add Glyphpad field check, tour [257 258 257]" in trace
    # What the simulated PowerPoint reported where the notes infer, read by the check's own
    # connection: the simulation's answers, in the report's Observed section.
    observed = {entry["fact"]: entry for entry in report["observed"]}
    assert all(entry["reported"] for entry in observed.values())
    reported = " | ".join(entry["reported"] for entry in observed.values() if entry["reached"])
    for answer in ("State 5, GetClickIndex 0", "after Run msoFalse, after Activate msoTrue",
                   "CurrentShowPosition 3 on slide 2", "read back [257 258 257]",
                   "WindowState 2 after Activate, 2 after the raise"):
        assert answer in reported, reported
    assert run.stdout.splitlines()[-len(observed) - 1].startswith("Observed")


def test_plugin_that_cannot_start_fails_every_step_in_words(tmp_path):
    run = run_fieldcheck(tmp_path, "--plugin", "no-such-plugin.exe")
    assert run.returncode == 1
    lines = run.stdout.splitlines()
    assert lines[2].startswith("FAIL register") and "cannot start no-such-plugin.exe" in lines[2]
    assert "not run: the plug-in is not connected" in lines[4]
    assert summary_of(run.stdout) == "1 passed, 37 failed"  # only the deck could be made


def test_a_broken_expectation_fails_its_step_in_words_and_attaches_the_diagnostics(
        tmp_path, monkeypatch):
    # A plug-in folder of its own, whose diagnostics file already holds 250 lines.
    plugin = copy_plugin_folder(tmp_path / "copy")
    monkeypatch.setenv("GP_PLUGIN_EXE", str(plugin))
    diagnostics = plugin.parent / DIAGNOSTICS_FILE
    diagnostics.write_text("".join(f"older line {n}\n" for n in range(250)), encoding="utf-8")
    # PowerPoint refuses Next: the first press of next leaves the show on its first slide.
    run = run_fieldcheck(tmp_path, scenario={"failMembers": ["Next"]})
    assert run.returncode == 1
    failed = [line for line in run.stdout.splitlines() if line.startswith("FAIL next ")]
    assert failed and "came back play key '1/5'" in failed[0]
    assert "the 'next' key showed an alert" in failed[0]
    attached = json.loads((tmp_path / "report.json").read_text(encoding="utf-8"))["diagnostics"]
    assert attached["found"] and attached["file"] == program_path(diagnostics)
    last = attached["lastLines"]
    assert len(last) == 200 and "older line 0" not in last
    assert any('"Next"' in line and "NextSlide" in line for line in last), last[-5:]

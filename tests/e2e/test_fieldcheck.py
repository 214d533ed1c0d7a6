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
    """The plug-in's windows are reached from another process under Wine (as on Windows); the
    Linux stand-ins keep each process's windows within it, so natively the step is not
    applicable."""
    return plugin_executable().endswith(".exe")


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


# The walk plays the two builds on the last shown slide before each wrap from it, and walks the
# deck saved to run its custom show, which wraps within its own slides.
@pytest.mark.parametrize("arguments, steps, opens", [([], 27, 2), (["--close"], 29, 3)])
def test_walk_passes_and_powerpoint_saw_the_deck_made_and_opened(tmp_path, arguments, steps,
                                                                  opens):
    run = run_fieldcheck(tmp_path, *arguments)
    assert run.returncode == 0, run.stdout + run.stderr
    summary = (f"{steps} passed, 0 failed" if windows_step_runs()
               else f"{steps - 1} passed, 0 failed, 1 not applicable")
    assert run.stdout.splitlines()[-1] == summary
    report = json.loads((tmp_path / "report.json").read_text())
    assert report["passed"] and len(report["steps"]) == steps
    windows = [step for step in report["steps"] if step["step"] == "windows"]
    assert len(windows) == 1 and windows[0]["applicable"] == windows_step_runs()
    assert all(step["ok"] for step in report["steps"] if step["applicable"])
    if windows_step_runs():
        assert "'OleMainThreadWndClass' (message-only) answered " in windows[0]["cameBack"]
    trace = (tmp_path / "trace.txt").read_text().splitlines()
    for made in ("call Presentations.Add 0", "call Slides.Add 5 11",
                 "put TextRange.Text Glyphpad field check, slide 5",
                 "put SlideShowTransition.Hidden -1", "put PageSetup.FirstSlideNumber 0",
                 "call Presentation.Close"):
        assert made in trace
    saved = [line for line in trace if line.startswith("call Presentation.SaveAs ")]
    opened = [line for line in trace if line.startswith("call Presentations.Open ")]
    assert len(saved) == 2 and saved[0].endswith("Glyphpad field check.pptx 24")
    assert saved[1].endswith("Glyphpad field check, custom show.pptx 24")
    assert len(opened) == opens and opened[1].endswith("Glyphpad field check, custom show.pptx")


def test_plugin_that_cannot_start_fails_every_step_in_words(tmp_path):
    run = run_fieldcheck(tmp_path, "--plugin", "no-such-plugin.exe")
    assert run.returncode == 1
    lines = run.stdout.splitlines()
    assert lines[2].startswith("FAIL register") and "cannot start no-such-plugin.exe" in lines[2]
    assert "not run: the plug-in is not connected" in lines[4]
    assert lines[-1] == "1 passed, 26 failed"  # only the deck could be made


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

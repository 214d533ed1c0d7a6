#!/usr/bin/python3
"""Development host: a key panel in the terminal that drives the PowerPoint plug-in.

Starts the plug-in (the real executable, through hostpeer/python/hostpeer.py) against the simulated
PowerPoint of a scenario, places a load key per file of the scenario and the play, prev, next,
first and last keys, and shows each key's title, state and alerts as they arrive.

    tools/devhost.py                       # interactive: type "help"
    tools/devhost.py --demo                # scripted walk-through; exit 0 when every step did
                                           # what it should
    tools/devhost.py --scenario my.json    # another simulated PowerPoint

The executable is found as the end-to-end tests find it (GP_PLUGIN_EXE, GP_BUILD_DIR,
GP_PLUGIN_LAUNCHER).
"""

import argparse
import json
import sys
import tempfile
import threading
import time
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable, Dict, List, Optional

REPO_ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO_ROOT / "hostpeer" / "python"))

from actionsession import program_path  # noqa: E402
from hostpeer import HostPeer  # noqa: E402
from pluginnames import FIRST, LAST, LOAD, NEXT, PLAY, PREV  # noqa: E402

DEFAULT_SCENARIO = REPO_ROOT / "tools" / "demo-scenario.json"
LONG_PRESS_SECONDS = 1.2  # past the plug-in's 1000 ms
STEP_TIMEOUT = 8.0  # a periodic refresh (2 s) and then some
COLUMN = 14


@dataclass
class Key:
    name: str
    action: str
    file: Optional[str] = None  # load keys: the chosen presentation, forward slashes
    title: str = ""
    state: Optional[int] = None
    alerts: int = 0
    presentations: Optional[List[str]] = None


@dataclass
class Panel:
    keys: Dict[str, Key] = field(default_factory=dict)

    def add(self, key: Key) -> None:
        self.keys[key.name] = key

    def apply(self, message: dict) -> bool:
        """Applies one command of the plug-in; true when a key changed."""
        key = self.keys.get(message.get("context"))
        if key is None:
            return False
        event = message.get("event")
        payload = message.get("payload") or {}
        before = (key.title, key.state, key.alerts, key.presentations)
        if event == "setTitle":
            key.title = payload.get("title", "")
        elif event == "setState":
            key.state = payload.get("state")
        elif event == "showAlert":
            key.alerts += 1
        elif event == "sendToPropertyInspector":
            key.presentations = payload.get("presentations")
        return before != (key.title, key.state, key.alerts, key.presentations)

    def render(self) -> str:
        def cell(text: str) -> str:
            return (text if len(text) < COLUMN else text[:COLUMN - 2] + "~").ljust(COLUMN)

        keys = list(self.keys.values())
        rule = "+" + "+".join("-" * COLUMN for _ in keys) + "+"
        rows = [
            [key.name for key in keys],
            [key.title for key in keys],
            ["" if key.state is None else f"state {key.state}" for key in keys],
            [f"ALERT x{key.alerts}" if key.alerts else "" for key in keys],
        ]
        lines = [rule] + ["|" + "|".join(cell(text) for text in row) + "|" for row in rows]
        lines.append(rule)
        lists = [f"  {key.name} inspector: {', '.join(key.presentations) or '(none open)'}"
                 for key in keys if key.presentations is not None]
        return "\n".join(lines + lists)


def panel_for(scenario: dict) -> Panel:
    panel = Panel()
    for number, path in enumerate(scenario.get("files", {}), start=1):
        panel.add(Key(f"load{number}", LOAD, file=path.replace("\\", "/")))
    for name, action in (("play", PLAY), ("prev", PREV), ("next", NEXT), ("first", FIRST),
                         ("last", LAST)):
        panel.add(Key(name, action))
    return panel


class DevHost:
    """The panel, the plug-in it drives, and the frames that keep the panel current."""

    def __init__(self, host: HostPeer, scenario_file: Path, work: Path):
        self.host = host
        self.scenario = json.loads(scenario_file.read_text(encoding="utf-8"))
        self.panel = panel_for(self.scenario)
        self.trace_file = work / "trace.txt"
        self._applied = 0
        self._lock = threading.Lock()
        host.start(env={"PPTSIM_SCENARIO": program_path(scenario_file),
                        "PPTSIM_TRACE": program_path(self.trace_file)})
        host.wait_for_frame(0)  # the registration
        self._applied = 1
        for key in self.panel.keys.values():
            self._send("willAppear", key)
            if key.action == LOAD:
                # The host hands a load key its stored settings when it shows the key.
                self._send("didReceiveSettings", key)

    def _send(self, event: str, key: Key) -> None:
        settings = {"korfilepicker": key.file} if key.file is not None else {}
        self.host.send_event(event, action=key.action, context=key.name, device="devhost",
                             payload={"settings": settings})

    def press(self, name: str) -> None:
        key = self.panel.keys[name]
        self._send("keyDown", key)
        self._send("keyUp", key)

    def hold(self, name: str, seconds: float = LONG_PRESS_SECONDS) -> None:
        key = self.panel.keys[name]
        self._send("keyDown", key)
        time.sleep(seconds)
        self._send("keyUp", key)

    def inspector(self, name: str) -> None:
        key = self.panel.keys[name]
        self.host.send_event("propertyInspectorDidAppear", action=key.action, context=name,
                             device="devhost")

    def update(self) -> bool:
        """Applies the frames that arrived since the last call; true when a key changed."""
        with self._lock:
            frames = self.host.frames()
            changed = False
            for frame in frames[self._applied:]:
                if isinstance(frame.json, dict):
                    changed = self.panel.apply(frame.json) or changed
            self._applied = len(frames)
            return changed

    def wait_until(self, condition: Callable[[Panel], bool], timeout: float) -> bool:
        deadline = time.monotonic() + timeout
        while True:
            self.update()
            if condition(self.panel):
                return True
            if time.monotonic() > deadline:
                return False
            time.sleep(0.02)

    def trace(self) -> List[str]:
        if not self.trace_file.exists():
            return []
        return self.trace_file.read_text(encoding="utf-8").splitlines()


# -- the scripted walk-through ------------------------------------------------------------------

@dataclass
class Step:
    what: str
    act: Callable[[DevHost], None]
    title: str  # what the play key must show afterwards
    state: int
    trace: Optional[str] = None  # a line PowerPoint must have seen


def demo_steps(dev: DevHost) -> List[Step]:
    first_load = next(k for k in dev.panel.keys.values() if k.action == LOAD)
    stem = first_load.file.rsplit("/", 1)[-1].rsplit(".", 1)[0]
    count = dev.scenario["files"][first_load.file.replace("/", "\\")]
    return [
        Step(f"press {first_load.name}: open {first_load.file}",
             lambda d: d.press(first_load.name), stem, 1,
             "call Presentations.Open " + first_load.file.replace("/", "\\")),
        Step("tap play: start the slide show", lambda d: d.press("play"), f"1/{count}", 0),
        Step("press next", lambda d: d.press("next"), f"2/{count}", 0),
        Step("press next", lambda d: d.press("next"), f"3/{count}", 0),
        Step("press prev", lambda d: d.press("prev"), f"2/{count}", 0),
        Step("press last", lambda d: d.press("last"), f"{count}/{count}", 0),
        Step("press next on the last slide: wraps to the first", lambda d: d.press("next"),
             f"1/{count}", 0),
        Step("tap play: end the slide show", lambda d: d.press("play"), stem, 1),
        Step("hold play: close PowerPoint", lambda d: d.hold("play"), "", 1,
             f"close {first_load.file.rsplit('/', 1)[-1]} - PowerPoint"),
    ]


def run_demo(dev: DevHost) -> bool:
    dev.wait_until(lambda panel: panel.keys["play"].state is not None, STEP_TIMEOUT)
    print("Panel at start:")
    print(dev.panel.render())
    ok = True
    for number, step in enumerate(demo_steps(dev), start=1):
        alerts_before = sum(key.alerts for key in dev.panel.keys.values())
        step.act(dev)
        shown = dev.wait_until(
            lambda panel: (panel.keys["play"].title, panel.keys["play"].state) ==
            (step.title, step.state), STEP_TIMEOUT)
        alerts = sum(key.alerts for key in dev.panel.keys.values()) - alerts_before
        traced = step.trace is None or step.trace in dev.trace()
        good = shown and alerts == 0 and traced
        time.sleep(0.1)  # the rest of the refresh (the load keys' lists) for the picture
        dev.update()
        ok = ok and good
        print(f"\nStep {number}: {step.what} -> expect play key '{step.title}', "
              f"state {step.state}: {'ok' if good else 'FAILED'}")
        if not shown:
            play = dev.panel.keys["play"]
            print(f"  the play key shows '{play.title}', state {play.state}")
        if alerts:
            print(f"  {alerts} unexpected alert(s)")
        if not traced:
            print(f"  PowerPoint never saw: {step.trace}")
        print(dev.panel.render())
    return ok


# -- the interactive panel ----------------------------------------------------------------------

HELP = """commands:
  press KEY        a short press (key down, key up)
  hold KEY [MS]    a long press, held MS milliseconds (default 1200)
  pi KEY           open the key's property inspector
  show             print the panel
  trace            print what PowerPoint has been asked so far
  quit             close the link (the plug-in exits)
keys: """


def run_interactive(dev: DevHost) -> None:
    stop = threading.Event()

    def watch() -> None:
        while not stop.is_set():
            if dev.update():
                print("\n" + dev.panel.render(), flush=True)
            stop.wait(0.1)

    watcher = threading.Thread(target=watch, daemon=True)
    watcher.start()
    print(HELP + " ".join(dev.panel.keys))
    try:
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            command, rest = words[0], words[1:]
            if command == "quit":
                break
            if command == "show":
                dev.update()
                print(dev.panel.render())
            elif command == "trace":
                print("\n".join(dev.trace()) or "(nothing yet)")
            elif command in ("press", "hold", "pi") and rest and rest[0] in dev.panel.keys:
                if command == "press":
                    dev.press(rest[0])
                elif command == "hold":
                    dev.hold(rest[0], int(rest[1]) / 1000 if len(rest) > 1 else
                             LONG_PRESS_SECONDS)
                else:
                    dev.inspector(rest[0])
            else:
                print(HELP + " ".join(dev.panel.keys))
    finally:
        stop.set()
        watcher.join()


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--scenario", type=Path, default=DEFAULT_SCENARIO,
                        help="the simulated PowerPoint's scenario (JSON)")
    parser.add_argument("--demo", action="store_true", help="play the scripted walk-through")
    options = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="devhost-") as work, HostPeer() as host:
        dev = DevHost(host, options.scenario.resolve(), Path(work))
        ok = True
        if options.demo:
            ok = run_demo(dev)
        else:
            run_interactive(dev)
        host.close()
        exit_code = host.wait_exit()
        if exit_code != 0:
            print(f"the plug-in exited with {exit_code}")
            ok = False
        if host.stderr:
            print("plug-in standard error:\n" + host.stderr)
    if options.demo:
        print("\nDemo " + ("passed" if ok else "FAILED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

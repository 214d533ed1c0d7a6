"""The plug-in with a simulated PowerPoint, driven from the host's side: keys, probes, trace.

An ActionSession starts the plug-in through a HostPeer with a scenario for the simulated
PowerPoint (PPTSIM_SCENARIO) and a trace file (PPTSIM_TRACE), and offers the host events that
keys produce. A probe separates what the plug-in sent for earlier events from later frames:
the plug-in handles events one at a time in arrival order, so every frame that an event sent
from the network thread arrives before the answer to a probe sent after it.
"""

import json
import time
from pathlib import Path
from typing import Callable, List, Optional, Tuple

from hostpeer import Frame, HostPeer, compact, default_timeout, plugin_launcher
# The action identifiers, offered here too: a session's keys are placed with them.
from pluginnames import FIRST, LAST, LOAD, NEXT, PLAY, PREV  # noqa: F401

# A shorter key refresh period than the product's 2000 ms, so that tests wait less for one.
FAST_REFRESH_MS = 500


def under_wine() -> bool:
    """True when the plug-in runs through a launcher (the Windows program under Wine)."""
    return bool(plugin_launcher())


def program_path(path: Path) -> str:
    """A path as the plug-in (and the simulated PowerPoint) will open it."""
    if under_wine():
        return "Z:" + str(path).replace("/", "\\")
    return str(path)


def set_title(context: str, title: str) -> str:
    return compact({"context": context, "event": "setTitle",
                    "payload": {"target": 0, "title": title}})


def set_state(context: str, state: int) -> str:
    return compact({"context": context, "event": "setState", "payload": {"state": state}})


def show_alert(context: str) -> str:
    return compact({"context": context, "event": "showAlert"})


def presentations_to_inspector(context: str, paths: List[str]) -> str:
    return compact({"action": LOAD, "context": context, "event": "sendToPropertyInspector",
                    "payload": {"presentations": paths}})


def context_of(frame: Frame) -> Optional[str]:
    return frame.json.get("context") if isinstance(frame.json, dict) else None


class ActionSession:
    """One plug-in process against one simulated PowerPoint."""

    def __init__(self, host: HostPeer, folder: Path, setup: dict,
                 refresh_interval_ms: Optional[int] = None):
        """refresh_interval_ms: a shorter key refresh period than the product's 2000 ms."""
        self.host = host
        self.trace_file = folder / "trace.txt"
        scenario_file = folder / "scenario.json"
        scenario_file.write_text(json.dumps(setup, ensure_ascii=False), encoding="utf-8")
        env = {"PPTSIM_SCENARIO": program_path(scenario_file),
               "PPTSIM_TRACE": program_path(self.trace_file)}
        if refresh_interval_ms is not None:
            env["GP_TEST_REFRESH_INTERVAL_MS"] = str(refresh_interval_ms)
        host.start(env=env)
        host.wait_for_frame(0)  # the registration
        self._probes = 0

    # -- events a panel of keys produces ------------------------------------------------------

    def appear(self, context: str, action: str) -> None:
        self.host.send_event("willAppear", action=action, context=context, device="dev",
                             payload={})

    def disappear(self, context: str, action: str = "") -> None:
        self.host.send_event("willDisappear", action=action, context=context, device="dev",
                             payload={})

    @staticmethod
    def _key_payload(file: Optional[str]) -> dict:
        return {"settings": {} if file is None else {"korfilepicker": file}}

    def key_down(self, context: str, action: str, file: Optional[str] = None) -> None:
        self.host.send_event("keyDown", action=action, context=context, device="dev",
                             payload=self._key_payload(file))

    def key_up(self, context: str, action: str, file: Optional[str] = None) -> None:
        self.host.send_event("keyUp", action=action, context=context, device="dev",
                             payload=self._key_payload(file))

    def tap(self, context: str, action: str, file: Optional[str] = None) -> None:
        self.key_down(context, action, file)
        self.key_up(context, action, file)

    def settings(self, context: str, action: str, settings: Optional[dict]) -> None:
        payload = {} if settings is None else {"settings": settings}
        self.host.send_event("didReceiveSettings", action=action, context=context,
                             device="dev", payload=payload)

    def inspector(self, context: str, action: str) -> None:
        self.host.send_event("propertyInspectorDidAppear", action=action, context=context,
                             device="dev")

    # -- what reached the host ----------------------------------------------------------------

    def mark(self) -> int:
        """The index the next frame will have."""
        return self.host.frame_count()

    def wait_frame(self, match: Callable[[Frame], bool], start: int = 0,
                   timeout: Optional[float] = None) -> Tuple[int, Frame]:
        """The first frame at or after start that matches, with its index."""
        deadline = time.monotonic() + (timeout or default_timeout())
        seen = start
        while True:
            frames = self.host.frames(seen)
            for offset, frame in enumerate(frames):
                if match(frame):
                    return seen + offset, frame
            seen += len(frames)
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise TimeoutError("no matching frame")
            try:
                self.host.wait_for_frame(seen, timeout=remaining)
            except TimeoutError:
                pass

    def wait_raw(self, raw: str, start: int = 0, timeout: Optional[float] = None) -> int:
        """The index of the first frame at or after start whose bytes are exactly raw."""
        return self.wait_frame(lambda f: f.raw == raw, start, timeout)[0]

    def settled(self, context: str) -> None:
        """Waits for a periodic refresh to end, so that the frames after it are a press's."""
        self.wait_frame(lambda f: f.event == "setState" and context_of(f) == context,
                        self.mark())

    def probe(self) -> int:
        """Sends an event that the plug-in answers at once; returns the answer's index."""
        self._probes += 1
        context = f"probe-{self._probes}"
        start = self.mark()
        self.settings(context, LOAD, {"korfilepicker": ""})
        return self.wait_raw(set_state(context, 0), start)

    def frames_between(self, start: int, end: int) -> List[Frame]:
        return self.host.frames(start, end)

    def raw_between(self, start: int, end: int, context: Optional[str] = None) -> List[str]:
        return [f.raw for f in self.frames_between(start, end)
                if context is None or context_of(f) == context]

    def titles_between(self, start: int, end: int, context: str) -> List[str]:
        return [f.json["payload"]["title"] for f in self.frames_between(start, end)
                if f.event == "setTitle" and context_of(f) == context]

    # -- what reached PowerPoint --------------------------------------------------------------

    def trace(self) -> List[str]:
        if not self.trace_file.exists():
            return []
        return self.trace_file.read_text(encoding="utf-8").splitlines()

    def wait_trace(self, line: str, timeout: Optional[float] = None) -> int:
        """The index of the first trace line equal to line, once it has been written."""
        deadline = time.monotonic() + (timeout or default_timeout())
        while True:
            lines = self.trace()
            if line in lines:
                return lines.index(line)
            if time.monotonic() > deadline:
                raise TimeoutError(f"no trace line {line!r}")
            time.sleep(0.02)

    # -- the end ------------------------------------------------------------------------------

    def finish(self) -> None:
        """Closes the link; the plug-in must end with exit code 0."""
        self.host.close()
        code = self.host.wait_exit()
        assert code == 0, f"exit code {code:#x}; its standard error ends: {self.host.stderr()[-2000:]}"

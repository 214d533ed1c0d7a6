"""The host application's side of the plug-in's WebSocket link, for tests and development.

HostPeer runs a WebSocket server on 127.0.0.1 (python3-websockets, on an asyncio loop in a
background thread), starts the plug-in executable with the four flag pairs pointing at it,
and lets plain synchronous code send events, wait for the plug-in's frames and collect its exit
code. Every wait is bounded by a timeout and raises TimeoutError when it runs out.

    with HostPeer() as host:
        host.start()
        registration = host.wait_for(lambda f: f.json is not None)
        host.send_event("keyDown", action=pluginnames.NEXT, context="k1", device="d",
                        payload={})
        title = host.wait_for_event("setTitle", context="k1")
        host.close()
        assert host.wait_exit() == 0

Environment:
    GP_PLUGIN_EXE       the executable (default: $GP_BUILD_DIR or <repo>/build, then
                        com.korvex.powerpoint.gpPlugin/glyphpad-powerpoint)
    GP_PLUGIN_LAUNCHER  a command prefix split on spaces, e.g. "/usr/lib/wine/wine64", so the
                        same tests run the Windows program under Wine (default: none)
    GP_E2E_TIMEOUT      default seconds for every wait (default: 10)
"""

import asyncio
import json
import os
import socket
import subprocess
import threading
from dataclasses import dataclass, field
from pathlib import Path
from typing import Any, Callable, List, Optional, Sequence, Union

import websockets

from pluginnames import INFO_FLAG, PLUGIN_UUID_FLAG, PORT_FLAG, REGISTER_EVENT_FLAG

REPO_ROOT = Path(__file__).resolve().parents[2]
PLUGIN_FOLDER_NAME = "com.korvex.powerpoint.gpPlugin"
EXECUTABLE_NAME = "glyphpad-powerpoint"
DEFAULT_UUID = "E2E-PLUGIN-UUID"
DEFAULT_REGISTER_EVENT = "registerPlugin"
DEFAULT_INFO = {"application": {"language": "en"}}
# How long output still being written is collected after the plug-in's process has ended.
OUTPUT_GRACE_SECONDS = 2.0

Arg = Union[str, bytes]


def default_timeout() -> float:
    return float(os.environ.get("GP_E2E_TIMEOUT", "10"))


def plugin_executable() -> str:
    explicit = os.environ.get("GP_PLUGIN_EXE")
    if explicit:
        return explicit
    build = Path(os.environ.get("GP_BUILD_DIR", REPO_ROOT / "build"))
    return str(build / PLUGIN_FOLDER_NAME / EXECUTABLE_NAME)


def plugin_launcher() -> List[str]:
    return os.environ.get("GP_PLUGIN_LAUNCHER", "").split()


def free_port() -> int:
    """A loopback port that nothing listens on right now."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def compact(message: Any) -> str:
    """JSON the way the plug-in writes it: no white space, sorted members, raw UTF-8."""
    return json.dumps(message, separators=(",", ":"), sort_keys=True, ensure_ascii=False)


@dataclass
class Frame:
    """One frame the plug-in sent: raw is str for a text frame, bytes for a binary one."""

    raw: Union[str, bytes]
    is_text: bool
    json: Any = field(default=None)

    @property
    def event(self) -> Optional[str]:
        return self.json.get("event") if isinstance(self.json, dict) else None


class HostPeer:
    """The host application: a WebSocket server plus the plug-in process it launched."""

    def __init__(self, listen: bool = True):
        self._listen = listen
        self._condition = threading.Condition()
        self._frames: List[Frame] = []
        self._connection = None
        self._connections = 0
        self._disconnected = False
        self._request_path: Optional[str] = None
        self._request_headers = None
        self._process: Optional[subprocess.Popen] = None
        self._output = {"stdout": bytearray(), "stderr": bytearray()}
        self._readers: List[threading.Thread] = []
        self._port = 0
        self._loop = asyncio.new_event_loop()
        self._server = None
        self._thread = threading.Thread(target=self._loop.run_forever, daemon=True)
        self._thread.start()
        if listen:
            self._server = self._run(self._serve())
            self._port = self._server.sockets[0].getsockname()[1]
        else:
            self._port = free_port()

    # -- context manager --------------------------------------------------------------------

    def __enter__(self) -> "HostPeer":
        return self

    def __exit__(self, *exc_info) -> None:
        self.shutdown()

    # -- the plug-in process ----------------------------------------------------------------

    @property
    def port(self) -> int:
        return self._port

    def arguments(self, uuid: Arg = DEFAULT_UUID, register_event: Arg = DEFAULT_REGISTER_EVENT,
                  info: Union[Arg, dict, None] = None) -> List[Arg]:
        """The eight arguments the host application would pass."""
        if info is None:
            info = DEFAULT_INFO
        if isinstance(info, dict):
            info = json.dumps(info)
        return [PORT_FLAG, str(self._port), PLUGIN_UUID_FLAG, uuid,
                REGISTER_EVENT_FLAG, register_event, INFO_FLAG, info]

    def start(self, extra_args: Optional[Sequence[Arg]] = None,
              args_override: Optional[Sequence[Arg]] = None, env: Optional[dict] = None,
              info: Union[Arg, dict, None] = None, uuid: Arg = DEFAULT_UUID,
              register_event: Arg = DEFAULT_REGISTER_EVENT) -> None:
        """Launches the plug-in.

        args_override replaces the eight arguments (the text "{port}" in an item becomes the
        port); extra_args are appended; env adds to the inherited environment.
        """
        if args_override is not None:
            args = [self._with_port(item) for item in args_override]
        else:
            args = self.arguments(uuid=uuid, register_event=register_event, info=info)
        args += list(extra_args or [])
        environment = dict(os.environ)
        environment.update(env or {})
        self._process = subprocess.Popen(
            plugin_launcher() + [plugin_executable()] + args, env=environment,
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        # Drained while the plug-in runs, so it never blocks on a full pipe.
        self._readers = [self._drain(self._process.stdout, "stdout"),
                         self._drain(self._process.stderr, "stderr")]

    def wait_exit(self, timeout: Optional[float] = None) -> int:
        """The plug-in's exit code, once its process has ended; collects its output.

        The process itself is waited for, not the end of its output: a process it started (a
        COM server under Wine inherits the standard handles) may hold the pipes open longer.
        """
        if self._process is None:
            raise RuntimeError("the plug-in was not started")
        try:
            self._process.wait(timeout=timeout or default_timeout())
        except subprocess.TimeoutExpired:
            raise TimeoutError("the plug-in did not exit") from None
        for reader in self._readers:
            reader.join(OUTPUT_GRACE_SECONDS)
        return self._process.returncode

    def memory_kib(self, field: str = "VmHWM") -> int:
        """A memory figure of the plug-in's process from /proc (VmHWM: its peak resident set)."""
        status = Path(f"/proc/{self._process.pid}/status").read_text()
        line = next(l for l in status.splitlines() if l.startswith(field + ":"))
        return int(line.split()[1])

    def is_running(self) -> bool:
        return self._process is not None and self._process.poll() is None

    @property
    def stdout(self) -> str:
        return bytes(self._output["stdout"]).decode("utf-8", "replace")

    @property
    def stderr(self) -> str:
        return bytes(self._output["stderr"]).decode("utf-8", "replace")

    # -- the link ---------------------------------------------------------------------------

    @property
    def connection_count(self) -> int:
        with self._condition:
            return self._connections

    @property
    def request_path(self) -> Optional[str]:
        """The resource name of the opening handshake."""
        return self._request_path

    @property
    def request_headers(self):
        return self._request_headers

    def wait_connected(self, timeout: Optional[float] = None) -> None:
        self._wait(lambda: self._connections > 0, timeout, "no connection")

    def wait_disconnected(self, timeout: Optional[float] = None) -> None:
        self._wait(lambda: self._disconnected, timeout, "the link stayed open")

    def send_event(self, event: str, **members: Any) -> None:
        """Sends {"event": event, **members} as one text frame."""
        message = {"event": event}
        message.update(members)
        self.send_raw(json.dumps(message))

    def send_raw(self, data: Union[str, bytes], binary: bool = False) -> None:
        """Sends one frame as is: text for str, binary for bytes or when binary is set."""
        if binary and isinstance(data, str):
            data = data.encode("utf-8")
        self.wait_connected()
        self._run(self._connection.send(data))

    def stop_reading(self) -> None:
        """Leaves the plug-in's frames unread in the socket, as a host that hangs would; the
        host can still send."""
        self.wait_connected()
        self._loop.call_soon_threadsafe(self._connection.transport.pause_reading)

    def resume_reading(self) -> None:
        self._loop.call_soon_threadsafe(self._connection.transport.resume_reading)

    def send_pings(self, count: int, timeout: Optional[float] = None) -> None:
        """Sends count pings of the largest size without waiting for their answers."""
        async def pings():
            for number in range(count):
                await self._connection.ping(str(number).rjust(125, "p").encode())
        self._run(pings(), timeout)

    def frames(self, start: int = 0, end: Optional[int] = None) -> List[Frame]:
        """The frames received so far, in arrival order, from index start up to end. Waiters ask
        only for those they have not seen: a copy of all of them per arriving frame held the
        reader back, and a host of many frames fell behind."""
        with self._condition:
            return self._frames[start:end]

    def frame_count(self) -> int:
        with self._condition:
            return len(self._frames)

    def wait_for(self, predicate: Callable[[Frame], bool],
                 timeout: Optional[float] = None) -> Frame:
        """The first received frame (already there or still to come) that matches."""
        found: List[Frame] = []

        def matched() -> bool:
            found[:] = [f for f in self._frames if predicate(f)][:1]
            return bool(found)

        self._wait(matched, timeout, "no matching frame")
        return found[0]

    def wait_for_frame(self, index: int, timeout: Optional[float] = None) -> Frame:
        """The frame with this zero-based index."""
        self._wait(lambda: len(self._frames) > index, timeout, f"fewer than {index + 1} frames")
        return self.frames(index, index + 1)[0]

    def wait_for_event(self, name: str, context: Optional[str] = None,
                       timeout: Optional[float] = None) -> Frame:
        """The first command with this "event" (and "context", when given)."""
        return self.wait_for(
            lambda f: f.event == name and (context is None or f.json.get("context") == context),
            timeout)

    def close(self, timeout: Optional[float] = None) -> None:
        """Closes the link from the host's side (normal closure)."""
        connection = self._connection
        if connection is not None:
            self._run(connection.close(), timeout)

    def shutdown(self) -> None:
        """Ends everything this peer started: the plug-in (if still running) and the server.

        A plug-in still running (its test failed before the link closed) is ended as the host
        application ends it: the link closes, the listening socket with it, and the plug-in's own
        way out is waited for. Killed in the middle of it, a plug-in under Wine would cut short a
        start of PowerPoint's server, which COM makes from the plug-in's process, and leave that
        server suspended for ever, to fail later tests that count the servers. Only a plug-in
        that outlasts the wait is killed."""
        if self.is_running():
            try:
                self.close()
            except (TimeoutError, OSError, websockets.WebSocketException):
                pass  # a link already gone: the plug-in is ending anyway
        self._close_server()
        if self._process is not None:
            try:
                self.wait_exit(timeout=default_timeout())
            except TimeoutError:
                self._process.kill()
                try:
                    self.wait_exit(timeout=default_timeout())
                except TimeoutError:
                    pass
        if self._loop.is_running():
            self._loop.call_soon_threadsafe(self._loop.stop)
            self._thread.join(default_timeout())

    def _close_server(self) -> None:
        if self._server is not None:
            self._server.close()
            self._run(self._server.wait_closed())
            self._server = None

    # -- internals --------------------------------------------------------------------------

    def _drain(self, pipe, name: str) -> threading.Thread:
        def read() -> None:
            with pipe:
                for chunk in iter(lambda: pipe.read1(65536), b""):
                    self._output[name] += chunk
        reader = threading.Thread(target=read, daemon=True)
        reader.start()
        return reader

    def _with_port(self, item: Arg) -> Arg:
        if isinstance(item, bytes):
            return item.replace(b"{port}", str(self._port).encode())
        return item.replace("{port}", str(self._port))

    def _run(self, coroutine, timeout: Optional[float] = None):
        future = asyncio.run_coroutine_threadsafe(coroutine, self._loop)
        try:
            return future.result(timeout or default_timeout())
        except TimeoutError:
            future.cancel()
            raise

    def _wait(self, condition: Callable[[], bool], timeout: Optional[float], what: str) -> None:
        with self._condition:
            if not self._condition.wait_for(condition, timeout or default_timeout()):
                raise TimeoutError(what)

    async def _serve(self):
        # Unlimited frame size and no compression: the plug-in requests no extension. No
        # keepalive pings of the library's own: while a test leaves the plug-in's frames unread
        # (stop_reading) their answers go unread too, and after 40 s the library would close the
        # link the test is about to resume. The plug-in answers a close only after the frames it
        # has queued, which a host that reads slowly on a loaded machine takes more than the
        # library's default 10 s to drain, as long as close() is waited for: like a host that
        # gives up waiting, this one drops the connection after a second, and the plug-in ends.
        return await websockets.serve(self._handle, "127.0.0.1", 0, max_size=None,
                                      compression=None, ping_interval=None, close_timeout=1)

    async def _handle(self, connection) -> None:
        with self._condition:
            self._connection = connection
            self._connections += 1
            self._request_path = connection.path
            self._request_headers = connection.request_headers
            self._condition.notify_all()
        try:
            async for message in connection:
                self._record(message)
        except websockets.ConnectionClosed:
            pass
        finally:
            with self._condition:
                self._disconnected = True
                self._condition.notify_all()

    def _record(self, message: Union[str, bytes]) -> None:
        frame = Frame(raw=message, is_text=isinstance(message, str))
        if frame.is_text:
            try:
                frame.json = json.loads(message)
            except ValueError:
                frame.json = None
        with self._condition:
            self._frames.append(frame)
            self._condition.notify_all()

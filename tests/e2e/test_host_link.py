"""The plug-in process against a host peer: start-up, registration, the link's life."""

import os
import socket
import threading

import pytest

from actionsession import LOAD, PLAY, ActionSession, set_title
from hostpeer import (DEFAULT_REGISTER_EVENT, DEFAULT_UUID, HostPeer, default_timeout,
                      plugin_launcher)
from scenariofiles import scenario

VALID = ["-port", "{port}", "-pluginUUID", DEFAULT_UUID, "-registerEvent",
         DEFAULT_REGISTER_EVENT, "-info", '{"application":{"language":"en"}}']
REGISTRATION = '{"event":"registerPlugin","uuid":"E2E-PLUGIN-UUID"}'
# Long enough for a plug-in that wrongly connected to be seen, short enough to keep tests quick.
NO_CONNECTION_GRACE = 0.5
# The Windows program (run under Wine through a launcher) receives its narrow command line in
# the ANSI code page, so only ASCII arrives there byte for byte.
WINDOWS_PROGRAM = bool(plugin_launcher())


def assert_no_output(host):
    assert host.stdout == ""
    assert host.stderr == ""


def assert_never_connected(host):
    with pytest.raises(TimeoutError):
        host.wait_connected(timeout=NO_CONNECTION_GRACE)


def assert_link_still_up(host):
    """The plug-in keeps running and the host can still send to it."""
    host.send_event("deviceDidDisconnect", device="still-up")
    with pytest.raises(TimeoutError):
        host.wait_disconnected(timeout=NO_CONNECTION_GRACE)
    assert host.is_running()


def close_and_expect_clean_exit(host):
    host.close()
    assert host.wait_exit() == 0
    assert_no_output(host)


def test_registration_is_first_frame_byte_exact(host):
    uuid = "UUID-ascii-only" if WINDOWS_PROGRAM else "UUID-\u00e4-\U0001F600"
    host.start(uuid=uuid)
    first = host.wait_for_frame(0)
    assert first.is_text
    assert first.raw.encode("utf-8") == (
        '{"event":"registerPlugin","uuid":"' + uuid + '"}').encode("utf-8")
    assert host.request_path == "/"
    assert host.connection_count == 1
    close_and_expect_clean_exit(host)


BAD_COMMAND_LINES = {
    "seven arguments": VALID[:6],
    "ten arguments": VALID + ["extra"],
    "letter-case flag": ["-Port"] + VALID[1:],
    "missing flag": VALID[:6] + ["-information", "{}"],
    "port zero": ["-port", "0"] + VALID[2:],
    "port letters": ["-port", "abc"] + VALID[2:],
    "port twice, info left out": VALID[:2] + ["-port", "{port}"] + VALID[2:6],
}


@pytest.mark.parametrize("arguments", BAD_COMMAND_LINES.values(), ids=BAD_COMMAND_LINES.keys())
def test_bad_command_line_exits_1_silently_without_connecting(host, arguments):
    host.start(args_override=arguments)
    assert host.wait_exit() == 1
    assert_no_output(host)
    assert_never_connected(host)


GOOD_COMMAND_LINES = {
    "reversed pairs": VALID[6:8] + VALID[4:6] + VALID[2:4] + VALID[0:2],
    "port with trailing letters": ["-port", "{port}abc"] + VALID[2:],
    "info not JSON": VALID[:7] + ["not json at all"],
    "info application a string": VALID[:7] + ['{"application":"de"}'],
}


@pytest.mark.parametrize("arguments", GOOD_COMMAND_LINES.values(), ids=GOOD_COMMAND_LINES.keys())
def test_good_command_line_connects_and_registers(host, arguments):
    host.start(args_override=arguments)
    assert host.wait_for_frame(0).raw == REGISTRATION
    close_and_expect_clean_exit(host)


def test_host_closing_link_ends_process_with_0(host):
    host.start()
    host.wait_for_frame(0)
    close_and_expect_clean_exit(host)
    assert host.connection_count == 1


def test_host_not_listening_ends_process_with_0(silent_host):
    silent_host.start()
    assert silent_host.wait_exit() == 0
    assert_no_output(silent_host)


def test_failed_handshake_is_not_retried():
    """A listener that accepts and drops the TCP connection sees exactly one attempt."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(4)
    listener.settimeout(0.2)
    accepted = []
    done = threading.Event()

    def accept_and_drop():
        while not done.is_set():
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                continue
            accepted.append(connection)
            connection.close()

    acceptor = threading.Thread(target=accept_and_drop)
    acceptor.start()
    try:
        with HostPeer(listen=False) as peer:
            port = str(listener.getsockname()[1])
            peer.start(args_override=["-port", port] + VALID[2:])
            assert peer.wait_exit() == 0
            assert_no_output(peer)
    finally:
        done.set()
        acceptor.join(default_timeout())
        listener.close()
    assert len(accepted) == 1


IGNORED_FRAMES = {
    "binary frame": (b'{"event":"keyDown"}', True),
    "not JSON": ("keyDown please", False),
    "JSON array": ('[{"event":"keyDown"}]', False),
    "bare JSON string": ('"keyDown"', False),
    "unknown event": ('{"event":"KeyDown","context":"k"}', False),
}


def test_ignored_frames_leave_link_up(host):
    host.start()
    host.wait_for_frame(0)
    for data, binary in IGNORED_FRAMES.values():
        host.send_raw(data, binary=binary)
    assert_link_still_up(host)
    assert [f.raw for f in host.frames()] == [REGISTRATION]
    close_and_expect_clean_exit(host)


@pytest.mark.parametrize("uuid, register_event", [
    (b"UUID-\xff", DEFAULT_REGISTER_EVENT.encode()),
    (DEFAULT_UUID.encode(), b"register\xc3"),
], ids=["token", "event name"])
@pytest.mark.skipif(WINDOWS_PROGRAM, reason="bytes that are not UTF-8 cannot reach a Windows "
                    "program's command line: Windows converts it from the ANSI code page")
def test_registration_not_utf8_closes_link_and_exits_0(host, uuid, register_event):
    host.start(uuid=uuid, register_event=register_event)
    host.wait_disconnected()
    assert host.wait_exit() == 0
    assert host.frames() == []
    assert_no_output(host)


# Memory is read from /proc for the native program without sanitizers only: sanitizers keep
# freed memory in quarantine and shadow, and under Wine the process is Wine's.
MEASURE_MEMORY = not WINDOWS_PROGRAM and not (os.environ.get("ASAN_OPTIONS")
                                              or os.environ.get("TSAN_OPTIONS"))
# Every press refreshes every key: about 1.7 MB of frames per press with 10,000 keys, which a
# plug-in without a bound would hold for a host that does not read.
KEYS, PRESSES, PINGS = (10000, 60, 50000) if MEASURE_MEMORY else (1000, 10, 5000)
# The plug-in holds at most 2 MiB of frames offered to the host, plus the refresh under way
# (about 1.7 MB with 10,000 keys) and what the library and the heap add.
HELD_BOUND_KIB = (4 + 2) * 1024


def test_host_that_stops_reading_costs_bounded_memory_and_gets_every_key_back(host, tmp_path):
    session = ActionSession(host, tmp_path, scenario("nothing_open"))
    keys = [f"P{number}" for number in range(KEYS)]
    for key in keys:
        session.appear(key, PLAY)
    session.wait_raw(set_title(keys[-1], ""), session.probe(), timeout=4 * default_timeout())
    baseline = host.memory_kib("VmRSS")

    host.stop_reading()
    for _ in range(PRESSES):
        session.key_down("L", LOAD)  # no file chosen: an alert and a refresh of every key
    host.send_pings(PINGS, timeout=20 * default_timeout())
    session.key_down("L", LOAD, "C:/Talks/missing.pptx")  # handled after every event above
    session.wait_trace("call Presentations.Open C:\\Talks\\missing.pptx",
                       timeout=20 * default_timeout())
    if MEASURE_MEMORY:
        growth = host.memory_kib("VmHWM") - baseline
        print(f"peak resident set {growth} KiB above the {baseline} KiB before the host stopped "
              "reading")
        assert growth < HELD_BOUND_KIB

    # Once the host reads again the periodic refresh brings every key up to date.
    host.resume_reading()
    resumed = session.mark()
    session.key_down("L", LOAD, "C:/Talks/Q3 review.pptx")
    titled = set()

    def every_key_titled(frame) -> bool:
        if frame.event == "setTitle" and frame.json["payload"]["title"] == "Q3 review":
            titled.add(frame.json["context"])
        return len(titled) == KEYS

    # A wait for the host to be served, not a measure of speed: before the new titles it reads
    # the backlog (up to the cap, the refresh under way and what the sockets hold, some tens of
    # thousands of frames), as slowly as this host parses them on a loaded machine.
    session.wait_frame(every_key_titled, resumed, timeout=20 * default_timeout())
    session.finish()

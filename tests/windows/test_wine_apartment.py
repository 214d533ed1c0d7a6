"""The plug-in's COM apartment window under Wine: a message sent to it while the plug-in idles
must be answered, which takes a worker thread that dispatches messages while it waits."""

from actionsession import PLAY, ActionSession, context_of
from scenariofiles import scenario
from winelane import run_tool

PLUGIN = "glyphpad-powerpoint.exe"


def test_apartment_window_answers_a_sent_message_while_the_plugin_idles(host, tmp_path):
    session = ActionSession(host, tmp_path, scenario("q3_open"))
    session.appear("P1", PLAY)
    # Idle: a refresh has come and gone.
    session.wait_frame(lambda f: f.event == "setState" and context_of(f) == "P1")
    probed = run_tool("probe-apartment.exe", PLUGIN, "1000")
    print(probed.stdout.decode(errors="replace"))
    assert probed.returncode == 0, probed.stdout
    session.finish()

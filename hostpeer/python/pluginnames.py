"""The plug-in's own names, as the host application spells them: the action identifiers
(actions/ActionIdentifiers.h) and the four command-line flags (host/CommandLine.h).

Python cannot include those headers, so the names are written once more, here and nowhere else
on the Python side. The end-to-end suites hold the plug-in's wire bytes against this spelling,
which makes it an independent check of the C++ one too.
"""

LOAD = "com.korvex.powerpoint.load"
PLAY = "com.korvex.powerpoint.play"
NEXT = "com.korvex.powerpoint.next"
PREV = "com.korvex.powerpoint.prev"
FIRST = "com.korvex.powerpoint.first"
LAST = "com.korvex.powerpoint.last"

PORT_FLAG = "-port"
PLUGIN_UUID_FLAG = "-pluginUUID"
REGISTER_EVENT_FLAG = "-registerEvent"
INFO_FLAG = "-info"

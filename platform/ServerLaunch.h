// Who starts a COM local server that a client activates. On Windows the system's COM launcher
// does, apart from the client. Wine's COM starts it from the client's own process, and a client
// that ends in the middle of that start leaves the new server suspended for ever (seen under
// Wine 8). Within one process (the Linux stand-ins) nothing is started at all.
#pragma once

bool LocalServersStartInClientProcess();

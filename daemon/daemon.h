// The idle daemon's start-up: removal when info.ini does not enable it;
// otherwise one instance, start at logon, the display-state thread, the monitor.
#pragma once

int DaemonMain();

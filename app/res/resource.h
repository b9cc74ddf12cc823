// Resource identifiers shared by the .rc file and the window code.
#pragma once

#define IDI_BRIMSWEEP 1
#define IDB_SPLASH 101
#define IDB_LISTIMAGE 102

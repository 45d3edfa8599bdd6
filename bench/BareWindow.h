// What the start-up benchmark needs to know of the programs it measures Relingo.exe against.
#pragma once

// The class of its one window, which the benchmark waits to see shown.
#define RELINGO_BARE_WINDOW_CLASS L"RelingoBareWindow"

// The class of the window of PlainControls.exe, the same controls made the plain way.
#define RELINGO_PLAIN_CONTROLS_CLASS L"RelingoPlainControls"

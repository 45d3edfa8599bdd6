// What the start-up benchmark needs to know of the bare window program.
#pragma once

// The class of its one window, which the benchmark waits to see shown.
#define RELINGO_BARE_WINDOW_CLASS L"RelingoBareWindow"

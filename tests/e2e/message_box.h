#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vw::e2e {

// Shown top-level dialogs (class "#32770") of process pid, whatever their
// title: a test that expects no box must see any box at all.
std::vector<HWND> BoxesOf(DWORD pid);

// Polls for the first of BoxesOf(pid); nullptr when none showed within timeoutMs.
HWND WaitForBox(DWORD pid, DWORD timeoutMs);

std::string Title(HWND window);

// Text of the box's message: its first "Static" child with text, since the
// icon is a Static child too.
std::string BoxMessage(HWND box);

// Control ids of the box's shown buttons.
std::vector<int> ButtonIds(HWND box);

// Whether the box shows an icon. Which icon cannot be told from another
// process under Wine: icon handles are per process there.
bool ShowsIcon(HWND box);

// Presses OK the way the keyboard would; false when the box is already gone.
bool PressOk(HWND box);

}  // namespace vw::e2e

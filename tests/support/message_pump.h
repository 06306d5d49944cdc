// PumpUntil: dispatching messages in a test until a condition holds.
#pragma once
#include <windows.h>

#include <functional>

// Dispatches messages until done() holds or the time runs out; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

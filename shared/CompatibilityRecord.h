// The Program Compatibility Assistant's record of a program as already handled, which both programs
// write for themselves on Vista so the assistant does not question them after they ran.
#pragma once

#include "platform/Platform.h"

constexpr char kCompatibilityAssistantKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";

// Writes the running program's full path as a REG_DWORD 1 under HKCU's "Persisted" key. Callers call it
// only on NT 6.0; every failure is ignored, as the record only spares the user a question.
void ApplyCompatibilityRecord(win::Platform& platform);

// The lookup workers for a whole test program, started and stopped as
// WinMain does, showing failures with the program's own error box.
#pragma once
#include "dialogs/MessageBoxes.h"
#include "lookup/LookupWorkers.h"
#include "support/GTestWin32.h"

class LookupWorkersEnvironment : public ::testing::Environment {
public:
    void SetUp() override { StartLookupWorkers(ShowError); }
    void TearDown() override { StopLookupWorkers(); }
};

// Registered once per program, however many files include this.
inline ::testing::Environment* const kLookupWorkersEnvironment =
    ::testing::AddGlobalTestEnvironment(new LookupWorkersEnvironment);

// Keeps a table's bound controls suspended for a scope (they then show nothing of the moves
// made meanwhile, and decode no picture), resuming them also when the scope ends by an error.
#pragma once

#include "data/ttable.h"

class ControlsSuspended {
public:
    explicit ControlsSuspended(TTable& table) : table_(table) { table_.disableControls(); }
    ~ControlsSuspended() { table_.enableControls(); }
    ControlsSuspended(const ControlsSuspended&) = delete;
    ControlsSuspended& operator=(const ControlsSuspended&) = delete;

private:
    TTable& table_;
};

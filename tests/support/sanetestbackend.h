// Living with SANE's "test" backend in a test program.
#pragma once

// Keeps the backend loaded after sane_exit, so that LeakSanitizer can still name the
// backend's own leaks (tests/lsan.supp) when the program ends.
void keepSaneTestBackendLoaded();

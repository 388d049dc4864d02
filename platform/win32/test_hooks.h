#pragma once

// Hooks for tests of code that must cope with the platform failing.

// The n-th following window creation fails as if its WM_CREATE returned -1.
void FailNextCreate(int n = 1);

// The next DeferWindowPos returns NULL (and ends its batch).
void FailNextDeferWindowPos();

#pragma once

// The hourglass while a long command runs: nests; the cursor in use before
// the first one comes back when the last one ends.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the wait cursor again (after a message box changed it).
    void Restore();
};

namespace brvl::mfc
{

// 1 begins a wait, -1 ends one, 0 shows the wait cursor again while waiting.
void StepWaitCursor(int code);
// How many waits are running.
int WaitCursorDepth();

} // namespace brvl::mfc

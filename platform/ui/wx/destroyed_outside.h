// SPDX-License-Identifier: MIT
#pragma once

class wxDialog;

// A modal window that another program destroys on the screen (a kill-window
// tool, a crashing compositor) ends as if it had been closed. The windows it
// owns that run above it are cancelled first; it ends itself once the run is
// back with it. A window destroyed while it initialises ends as soon as its
// run starts, as ending a run before it has started would not stop it.
class DestroyedOutside
{
public:
    explicit DestroyedOutside(wxDialog& window);

    // Starts watching, once the window exists on the screen.
    void Watch();
    // Initialisation is over, and with it whatever it showed.
    void Initialised();
    // The run of a window that it owns has ended and is back with it.
    void OwnedRunEnded();

private:
    void OnDestroyed();
    void EndOnceGone();

    wxDialog& m_window;
    bool m_bGone = false;
    bool m_bInitialised = false;
};

#pragma once
// Stand-in for the phone's platform library, with the same C-style entry points
// the game calls. Desktop behaviour: the application folder is the folder that
// holds the running executable; the browser is whatever xdg-open starts.

extern "C"
{

    // Fills buffer with the folder of the running executable, ending with "/".
    // Returns 0 on success; non-zero (buffer emptied when size allows) when the
    // folder is unknown or does not fit in size bytes including the terminator.
    int PDL_GetCallingPath(char* buffer, int size);

    // Hands an "http://" or "https://" address to xdg-open in a child process
    // (no shell, so the address is never interpreted). Does nothing for other
    // addresses or when xdg-open is not installed. Returns 0 when a child started.
    int PDL_LaunchBrowser(const char* url);

    // The phone library releases its services here; nothing to do on the desktop.
    void PDL_Quit();
}

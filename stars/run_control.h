// Starting, stopping, restarting, and switching off and on the star field as a
// whole. All run on the main window's thread.
#pragma once

// Artwork, star pictures, an empty star list, the motion timer; reaction on.
void StartPipwink();
// Reaction off, timer off, and every picture, star and star window released.
void StopPipwink();
// Both in a row: the star field rebuilt from the (possibly changed) settings.
void RestartPipwink();
// Grabbed stars shown again; reaction on.
void EnablePipwink();
// Grabbed stars hidden (flying ones finish their flight); reaction off.
void DisablePipwink();

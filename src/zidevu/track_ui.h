#pragma once
// Puts the track panel into the window and has the requests for positions
// reviewed there while the window is shown.

class TrackRequestHandler;
class TrackDock;
class ZidevuWindow;

// UI thread only; the dock is owned by the window. The review names the
// photos as the album's catalogue does.
TrackDock* AttachTrackUi(ZidevuWindow& window, TrackRequestHandler& handler);

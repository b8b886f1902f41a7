#pragma once
// Puts the track panel into the window and has the requests for positions
// reviewed there while the window is shown.

class QMainWindow;
class TrackRequestHandler;
class TrackDock;

// UI thread only; the dock is owned by the window.
TrackDock* AttachTrackUi(QMainWindow& window, TrackRequestHandler& handler);

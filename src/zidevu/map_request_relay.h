#pragma once
// Carries the album's map requests from the service's thread to the UI
// thread: the handlers it gives the service post each request and return at
// once; the receivers then run on the thread that owns the relay.
//
// Create it on the UI thread before the service and set the receivers before
// the service starts; it must outlive the service (requests posted after its
// end are dropped).

#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

#include "companion/companion_protocol.h"

class MapRequestRelay : public QObject {
  public:
    using ShowPhotos = std::function<void(std::vector<MapPhotoRecord>, std::uint32_t flags)>;
    using PickPosition = std::function<void(std::uint32_t flags)>;

    explicit MapRequestRelay(QObject* parent = nullptr) : QObject(parent) {}

    ShowPhotos onShowPhotos;
    PickPosition onPickPosition;

    // Handlers for the service; a request without a receiver keeps its
    // handler empty, so that the protocol answers it 0.
    MapRequestHandlers Handlers();
};

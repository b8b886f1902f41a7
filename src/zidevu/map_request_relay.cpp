#include "zidevu/map_request_relay.h"

MapRequestHandlers MapRequestRelay::Handlers() {
    MapRequestHandlers handlers;
    if (onShowPhotos) {
        handlers.showPhotos = [this](std::vector<MapPhotoRecord> photos, std::uint32_t flags) {
            QMetaObject::invokeMethod(
                this,
                [this, photos = std::move(photos), flags]() mutable {
                    onShowPhotos(std::move(photos), flags);
                },
                Qt::QueuedConnection);
        };
    }
    if (onPickPosition) {
        handlers.pickPosition = [this](std::uint32_t flags) {
            QMetaObject::invokeMethod(
                this, [this, flags] { onPickPosition(flags); }, Qt::QueuedConnection);
        };
    }
    return handlers;
}

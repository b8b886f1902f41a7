#pragma once
// The import's region source backed by the map link to the companion.

#include "import/import_state.h"

class MapLink;
class RegionBuffer;

class MapLinkRegionSource : public RegionSource {
  public:
    MapLinkRegionSource(MapLink& link, RegionBuffer& buffer) : link_(link), buffer_(buffer) {}
    bool CompanionAvailable() override;
    RegionNames RequestNames(double latitude, double longitude, int maxSends) override;

  private:
    MapLink& link_;
    RegionBuffer& buffer_;
};

#pragma once
// The companion check before the region lookup of freshly imported photos:
// asks with "提示" message boxes (确定/取消), may open the download page or
// start the companion. True when the lookup may be started.
//
// UI thread only.

#include "maplink/companion_readiness.h"

class CompanionLocator;
class MapLink;
class QWidget;

bool CheckRegionLookupReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator);
// The same with the questions of either purpose (the map commands use
// ReadinessPurpose::Interactive).
bool CheckCompanionReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator,
                             ReadinessPurpose purpose);

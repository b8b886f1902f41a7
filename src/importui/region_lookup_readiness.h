#pragma once
// The companion check before the region lookup of freshly imported photos:
// asks with "提示" message boxes (确定/取消), may open the download page or
// start the companion. True when the lookup may be started.
//
// UI thread only.

class CompanionLocator;
class MapLink;
class QWidget;

bool CheckRegionLookupReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator);

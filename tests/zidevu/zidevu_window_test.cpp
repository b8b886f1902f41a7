#include "zidevu/zidevu_window.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "companion/companion_service.h"
#include "link_test_environment.h"
#include "maplink/map_link.h"

namespace {

QString LabelText(const ZidevuWindow& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label>");
}

}  // namespace

TEST(TheZidevuWindow, showsTheDataStateTheLookupCountAndTheLastLookup) {
    LinkTestEnvironment env;
    CompanionService service([](double, double) {
        return std::vector<std::string>{"北京市", "北京市", "东城区"};
    });
    ZidevuWindow window(service, RegionDataState{"", "region data file not found"});
    EXPECT_EQ(window.objectName(), "zazadoRud");
    EXPECT_TRUE(LabelText(window, "regionData").contains("region data file not found"));
    EXPECT_TRUE(LabelText(window, "lastLookup").contains("尚无"));

    RegionBuffer regions;
    MapLink link(regions);
    ASSERT_TRUE(link.RequestRegionNames(39.93, 116.42, 5));
    window.Refresh();
    EXPECT_TRUE(LabelText(window, "lookupCount").endsWith("1"));
    EXPECT_TRUE(LabelText(window, "lastLookup").contains("北京市 / 北京市 / 东城区"));
    EXPECT_TRUE(LabelText(window, "lastLookup").contains("116.420000"));
}

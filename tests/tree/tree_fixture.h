#pragma once
// A fresh, empty catalogue per test, helpers that add photos to it, and a
// text picture of a tree to compare against.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "catalogue/keyword_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "fresh_catalogue.h"
#include "record/photo_record.h"
#include "tree/category_tree.h"

struct TestPhoto {
    std::int64_t id = 0;
    std::string folder = "/photos";
    std::string name;
    std::int64_t dateTime = 0;
    std::string model;
    std::string keywords;  // ";"-separated
    std::string subject;
    RegionNames regions;
    bool duplicate = false;
    float longitude = 0;
    float latitude = 0;
};

class TreeTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }

    // Seconds of a local wall-clock time (TZ is set by SetUp).
    static std::int64_t LocalTime(int year, int month, int day, int hour = 12) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_isdst = -1;
        return static_cast<std::int64_t>(std::mktime(&t));
    }

    void Add(const TestPhoto& p) {
        PhotoRecord r = RecordOf(p.folder, p.name);
        SetField(r.strModel, p.model);
        SetField(r.strXpKeyword, p.keywords);
        SetField(r.strXpSubject, p.subject);
        r.nbKeyword = p.keywords.empty() ? 0 : 1;
        r.dwDateTime = static_cast<std::int32_t>(p.dateTime);
        r.fGPSLongitude = p.longitude;
        r.fGPSLatitude = p.latitude;
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{p.id, p.duplicate}, r, {}, p.regions),
                  InsertResult::Done);
        if (!p.duplicate) WriteKeywordRows(library(), p.id, r);
    }

    FreshCatalogue fresh_;
};

// One line per node, indented by two spaces per level: group labels, then
// photo names ("-" prefixed for rows of the duplicates).
inline void DescribeNode(const CategoryTree& tree, NodeIndex index, int depth, std::string& out) {
    const CategoryNode& node = tree.Node(index);
    if (index != kRootNode) out += std::string(2 * (depth - 1), ' ') + node.label + "\n";
    for (NodeIndex child : node.groups) DescribeNode(tree, child, depth + 1, out);
    for (const PhotoLeaf& leaf : node.photos)
        out += std::string(2 * depth, ' ') + (leaf.ref.fromDuplicates ? "-" : "") +
               std::string(tree.PhotoName(leaf)) + "\n";
}

inline std::string Describe(const CategoryTree& tree) {
    std::string out;
    DescribeNode(tree, kRootNode, 0, out);
    return out;
}

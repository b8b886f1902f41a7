#pragma once
// Files tagged as other programs tag them (with exiftool, at test time):
// the conventions the caption tests read and edit.

#include <ostream>
#include <string>
#include <vector>

#include "exiftool_runner.h"

struct Convention {
    const char* name;
    std::vector<std::string> tags;  // exiftool arguments
    const char* keywords;
    const char* title;
    const char* comment;
    const char* author;
    const char* subject;
    bool xmp;   // the file holds XMP
    bool iptc;  // the file holds IPTC
};

inline void PrintTo(const Convention& convention, std::ostream* out) {
    *out << convention.name;
}

// A phone's depth map: far more than one segment holds, so exiftool puts it
// into extended XMP.
inline std::string DepthMapText() {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) text += std::to_string(i * 7919 % 10007);
    return text;
}

inline const Convention kConventions[] = {
    {"Lightroom",
     {"-XMP-dc:Subject=西湖",
      "-XMP-dc:Subject=荷花",
      "-IPTC:Keywords=西湖",
      "-IPTC:Keywords=荷花",
      "-XMP-lr:HierarchicalSubject=地点|杭州|西湖",
      "-XMP-lr:HierarchicalSubject=人物|小明",
      "-XMP-dc:Title=断桥",
      "-IPTC:ObjectName=断桥",
      "-XMP-dc:Description=雨中的断桥",
      "-IPTC:Caption-Abstract=雨中的断桥",
      "-XMP-dc:Creator=张三",
      "-IPTC:By-line=张三",
      "-IPTC:CodedCharacterSet=UTF8",
      "-charset",
      "iptc=UTF8",
      "-Photoshop:IPTCDigest=new",
      "-XMP-xmp:CreateDate=2012:05:15 10:20:30",
      "-XMP-photoshop:DateCreated=2012:05:15 10:20:30+08:00",
      "-XMP-exif:GPSLatitude=39.9 S",
      "-XMP-exif:GPSLongitude=116.4 W"},
     "西湖;荷花;小明;",
     "断桥",
     "雨中的断桥",
     "张三",
     "",
     true,
     true},
    {"digiKam",
     {"-XMP-dc:Subject=妈妈", "-XMP-dc:Subject=旅行;2023", "-XMP-digiKam:TagsList=人物/家人/妈妈",
      "-XMP-digiKam:TagsList=地点/杭州", "-XMP-dc:Title=生日", "-XMP-dc:Creator=李四",
      "-XMP-dc:Creator=王五"},
     "妈妈;旅行;2023;杭州;",
     "生日",
     "",
     "李四;王五",
     "",
     true,
     false},
    {"Windows Explorer",
     {"-XPKeywords=海;山", "-XPTitle=海边", "-XPComment=夏天", "-XPAuthor=赵六", "-XPSubject=假期",
      "-XMP-dc:Subject=海", "-XMP-dc:Subject=山", "-IPTC:Keywords=海", "-IPTC:Keywords=山",
      "-XMP-microsoft:LastKeywordXMP=海", "-XMP-microsoft:LastKeywordXMP=山", "-XMP-dc:Title=海边",
      "-charset", "iptc=UTF8"},
     "海;山",
     "海边",
     "夏天",
     "赵六",
     "假期",
     true,
     true},
    {"camera with IPTC only",
     {"-IPTC:Keywords=sea", "-IPTC:Keywords=sky", "-IPTC:ObjectName=Shore", "-IPTC:By-line=José",
      "-IPTC:City=Zürich", "-Artist=Camera Owner", "-ImageDescription=Harbour at dusk   ",
      "-charset", "iptc=Latin"},
     "sea;sky;",
     "Shore",
     "",
     "José",
     "Harbour at dusk",
     false,
     true},
    {"phone with extended XMP",
     {"-XMP-dc:Subject=猫", "-XMP-dc:Description=窗台上的猫", "-XMP-GDepth:Mime=image/jpeg",
      "-XMP-GDepth:DepthImage=" + DepthMapText()},
     "猫;",
     "",
     "窗台上的猫",
     "",
     "",
     true,
     false},
};

// Tags the file at path as the convention's program would. Empty on
// success, else what exiftool said.
inline std::string TagAs(const Convention& convention, const std::string& path) {
    std::vector<std::string> arguments = convention.tags;
    arguments.insert(arguments.end(), {"-q", "-q", "-m", "-overwrite_original", path});
    return RunExiftool(arguments);
}

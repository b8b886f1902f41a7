#include "app/command_table.h"

#include "messaging/command_ids.h"

using namespace CommandId;

const std::vector<MenuDefinition>& MainMenus() {
    static const std::vector<MenuDefinition> menus{
        {"文件(&F)",
         {{kAddFolder, "添加文件夹"},
          {kAddPhotos, "添加照片"},
          {0, ""},
          {kUpdateLibrary, "更新照片库"},
          {kSaveCatalogue, "保存数据库"},
          {kTidyCatalogue, "整理数据库"},
          {kClearCatalogue, "清空数据库"},
          {0, ""},
          {kExit, "退出(&X)"}}},
        {"编辑(&E)",
         {{kShowPhoto, "显示照片"},
          {kProperties, "查看照片属性"},
          {kSearch, "搜索", true},
          {0, ""},
          {kPickPositionOnMap, "从Darazoz地图中选取位置"},
          {kPositionsFromTracks, "根据Darazoz地图轨迹自动选取位置"},
          {kShowOnMap, "在Darazoz地图中显示位置"},
          {kRegionsFromGps, "根据GPS获取地区信息"},
          {0, ""},
          {kCut, "剪切"},
          {kCopy, "复制"},
          {kPaste, "黏贴"},
          {0, ""},
          {kOpenFileLocation, "打开文件位置"},
          {kRemoveFromAlbum, "从相册移除"},
          {kAddDuplicatesToCatalogue, "将重复照片添加到数据库中"}}},
        {"视图(&V)",
         {{kLargeIcons, "大图标"},
          {kSmallIcons, "小图标"},
          {kDetailList, "详细列表"},
          {0, ""},
          {kShowKeywords, "显示关键词", true},
          {kAutoOrient, "自动调整照片方向", true},
          {0, ""},
          {kViewToolbar, "工具栏(&T)", true},
          {kViewStatusBar, "状态栏(&S)", true},
          {kCustomizeToolbar, "自定义..."}}},
        {"帮助(&H)", {{kAbout, "关于Verero"}, {kAboutCompanion, "关于Zidevu"}}},
    };
    return menus;
}

const std::vector<int>& StandardToolbarCommands() {
    static const std::vector<int> commands{
        kAddFolder, kShowPhoto, kProperties, 0, kSearch, kLargeIcons, kSmallIcons, 0, kDetailList};
    return commands;
}

const std::vector<int>& EditContextMenuCommands() {
    static const std::vector<int> commands{kShowPhoto,
                                           kProperties,
                                           0,
                                           kPickPositionOnMap,
                                           kPositionsFromTracks,
                                           kShowOnMap,
                                           kRegionsFromGps,
                                           0,
                                           kCut,
                                           kCopy,
                                           kPaste,
                                           0,
                                           kOpenFileLocation,
                                           kRemoveFromAlbumContext,
                                           kAddDuplicatesToCatalogue};
    return commands;
}

const char* ToolbarText(int id) {
    return id == kShowPhoto ? "显示图片" : nullptr;
}

#include "catalogue/catalogue_schema.h"

namespace {

#define PHOTO_COLUMNS(table)                                                                       \
    "create table " table                                                                          \
    "(idPic integer primary key,bJpgThumbData blob , nbKeyword integer , strFullPath "             \
    "nvarchar(356), "                                                                              \
    "strXpTitle nvarchar(200) , \t\t\t\t\t  strXpComent text,szOfComent integer,strXpAuthor "      \
    "nvarchar(100) ,strXpKeyword nvarchar(200) ,\t\t\t\t\t  strXpSubject nvarchar(200) ,strName "  \
    "nvarchar(100), strPath nvarchar(256),fSize real,\t\t\t\t\t  dwCTime integer,dwMTime "         \
    "integer,dwDateTime integer,fGPSLatitude real, fGPSLongitude real, \t\t\t\t\t  nGPSAlititude " \
    "inteter,strMake nvarchar(50),strModel nvarchar(50),nWidth integer,nHeight "                   \
    "integer,\t\t\t\t\t  "                                                                         \
    "nFocalLength integer,fExposureTime real,fApertureFNumber real,nISOequivalent "                \
    "integer,\t\t\t\t\t  nFocalplaneXRes integer,nFocalplaneYRes integer,szofthumb "               \
    "integer,strOrientation nvarchar(20),nArea integer,strArea0 nvarchar(128),strArea1 "           \
    "nvarchar(128),strArea2 nvarchar(128))"

}  // namespace

const std::vector<TableSchema>& CatalogueTables() {
    static const std::vector<TableSchema> tables = {
        {"tJpgMsg",
         {{PHOTO_COLUMNS("tJpgMsg"), "create table"},
          {"create index index_idPic on tJpgMsg(idPic)", "create index_idPic"},
          {"create index index_dwDateTime on tJpgMsg(dwDateTime)", "create index_dwDateTime"},
          {"create index index_dwModifyTime on tJpgMsg(dwMTime)", "create index_dwModifyTime"},
          {"create index index_strModel on tJpgMsg(strModel)", "create index_strModel"},
          {"create index index_strPath on tJpgMsg(strPath)", "create index_strPath"},
          {"create index index_nArea on tJpgMsg(nArea)", "create index_nArea"},
          {"create index index_strArea0 on tJpgMsg(strArea0)", "create index_strArea0"},
          {"create index index_strArea1 on tJpgMsg(strArea1)", "create index_strArea1"},
          {"create index index_strArea2 on tJpgMsg(strArea2)", "create index_strArea2"}}},
        {"tReJpgMsg",
         {{PHOTO_COLUMNS("tReJpgMsg"), "create table"},
          {"create index index_idPicRe on tReJpgMsg(idPic)", "create index_idPic"},
          {"create index index_dwDateTimeRe on tReJpgMsg(dwDateTime)", "create index_dwDateTime"},
          {"create index index_dwModifyTimeRe on tReJpgMsg(dwMTime)", "create index_dwModifyTime"},
          {"create index index_strModelRe on tReJpgMsg(strModel)", "create index_strModel"},
          {"create index index_strPathRe on tReJpgMsg(strPath)", "create index_strPath"},
          {"create index index_nAreaRe on tReJpgMsg(nArea)", "create index_nAreaRe"},
          {"create index index_strArea0Re on tReJpgMsg(strArea0)", "create index_strArea0Re"},
          {"create index index_strArea1Re on tReJpgMsg(strArea1)", "create index_strArea1Re"},
          {"create index index_strArea2Re on tReJpgMsg(strArea2)", "create index_strArea2Re"}}},
        {"tKeyWord",
         {{"create table tKeyWord(strKeyword nvarchar(50) ,idPic integer,dwDateTime "
           "integer,fGPSLatitude real, fGPSLongitude real,strModel nvarchar(50),strName "
           "nvarchar(100), strPath nvarchar(256))",
           "create table"},
          {"create index index_nbKeyword on tKeyWord(strKeyword)", "create index_strKeyword"}}},
        {"tSubject",
         {{"create table tSubject(strSubject nvarchar(200) ,idPic integer,dwDateTime "
           "integer,fGPSLatitude real, fGPSLongitude real,strModel nvarchar(50),strName "
           "nvarchar(100), strPath nvarchar(256))",
           "create table"},
          {"create index index_nbSubject on tSubject(strSubject)", "create index_strSubject"},
          {"create index index_nbSubjectstrPath on tSubject(strPath)", "create index_strSubject"}}},
        {"tFolder",
         {{"create table tFolder(strFolderPath nvarchar(256) ,ModifyTime integery)",
           "create table"}}},
        {"tDelTable",
         {{"create table tDelTable(strfullPath nvarchar(256))", "create table"},
          {"create index index_tDelTable on tDelTable(strfullPath)", "create index_tDelTable"}}},
    };
    return tables;
}

#pragma once
// Reads the per-user settings file of another program, as Qt's QSettings
// writes it in INI format, without Qt. Supported: "[group]" lines, "key=value"
// lines, comment lines starting with ';' or '#', a UTF-8 byte-order mark,
// values quoted with '"' and backslash escapes (\\ \" \n \r \t \a \b \f \v
// \0 and \xHHHH), and "@@" for a leading '@'. Not supported, and read as no
// value: string lists (unquoted commas) and typed values ("@ByteArray(...)",
// "@Variant(...)"). Group and key names are compared as written.

#include <map>
#include <optional>
#include <string>
#include <string_view>

class IniSettingsFile {
  public:
    // Nothing when the file cannot be read.
    static std::optional<IniSettingsFile> Load(const std::string& path);
    static IniSettingsFile Parse(std::string_view text);

    // The decoded text of group/key; nothing when absent or not a plain string.
    std::optional<std::string> Value(std::string_view group, std::string_view key) const;

  private:
    std::map<std::string, std::string, std::less<>> rawValues_;  // "group/key" -> raw text
};

// One value as QSettings reads it; nothing for lists and typed values.
std::optional<std::string> DecodeIniValue(std::string_view raw);
// Quotes and escapes a string so that DecodeIniValue and QSettings read it back.
std::string EncodeIniValue(std::string_view value);

#include "maplink/ini_settings_file.h"

#include <fstream>
#include <sstream>

#include "platform/text_codec.h"

namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char SimpleEscape(char c) {
    switch (c) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        case '0':
            return '\0';
        default:
            return c;  // \\ \" \' \? and anything else stand for themselves
    }
}

}  // namespace

std::optional<std::string> DecodeIniValue(std::string_view raw) {
    raw = Trim(raw);
    std::string out;
    std::size_t significant = 0;  // out's length without unquoted trailing blanks
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[++i];
            if (e == 'x') {
                unsigned codePoint = 0;
                int digits = 0;
                while (digits < 4 && i + 1 < raw.size() && HexDigit(raw[i + 1]) >= 0) {
                    codePoint = codePoint * 16 + static_cast<unsigned>(HexDigit(raw[++i]));
                    ++digits;
                }
                AppendUtf8(out, codePoint);
            } else {
                out += SimpleEscape(e);
            }
        } else if (!quoted && c == ',') {
            return std::nullopt;  // a string list
        } else if (!quoted && c == ';') {
            break;  // trailing comment
        } else {
            out += c;
            if (!quoted && (c == ' ' || c == '\t')) continue;  // kept only if more follows
        }
        significant = out.size();
    }
    out.resize(significant);
    if (!out.empty() && out[0] == '@') {
        if (out.size() > 1 && out[1] == '@') return out.substr(1);
        return std::nullopt;  // typed value
    }
    return out;
}

std::string EncodeIniValue(std::string_view value) {
    std::string out = "\"";
    if (!value.empty() && value[0] == '@') out += '@';
    for (const char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    out += '"';
    return out;
}

std::optional<IniSettingsFile> IniSettingsFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

IniSettingsFile IniSettingsFile::Parse(std::string_view text) {
    IniSettingsFile file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string group = "General";
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            group = std::string(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) continue;
        file.rawValues_[group + "/" + std::string(key)] = std::string(line.substr(equals + 1));
    }
    return file;
}

std::optional<std::string> IniSettingsFile::Value(std::string_view group,
                                                  std::string_view key) const {
    const auto it = rawValues_.find(std::string(group) + "/" + std::string(key));
    if (it == rawValues_.end()) return std::nullopt;
    return DecodeIniValue(it->second);
}

#include "core/platform/iniFile.h"

#include "core/platform/atomicFile.h"

#include <cerrno>
#include <vector>

namespace {

struct Line {
    std::string text;
    std::string end; // the line's own terminator, kept as found ("" for a last line without one)
};

std::vector<Line> splitLines(const std::string& doc) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < doc.size()) {
        const auto lf = doc.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back({doc.substr(start), ""});
            break;
        }
        std::size_t stop = lf;
        if (stop > start && doc[stop - 1] == '\r')
            --stop;
        lines.push_back({doc.substr(start, stop - start), doc.substr(stop, lf + 1 - stop)});
        start = lf + 1;
    }
    return lines;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" gives name; anything else gives nullopt.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string t = TrimBlanks(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

struct KeyLine {
    std::string name;
    std::string value;
};

std::optional<KeyLine> keyLine(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return KeyLine{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

struct Place {
    std::ptrdiff_t sectionLine = -1; // the "[section]" line
    std::ptrdiff_t lastEntry = -1;   // last non-blank line of the section
    std::ptrdiff_t keyLine = -1;     // the key's line
};

Place locate(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    Place p;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& text = lines[i].text;
        if (const auto name = sectionName(text)) {
            if (inside)
                break; // the first section of that name is the one that counts
            inside = sameName(*name, section);
            if (inside) {
                p.sectionLine = static_cast<std::ptrdiff_t>(i);
                p.lastEntry = p.sectionLine;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!TrimBlanks(text).empty())
            p.lastEntry = static_cast<std::ptrdiff_t>(i);
        if (p.keyLine < 0)
            if (const auto kl = keyLine(text); kl && sameName(kl->name, key))
                p.keyLine = static_cast<std::ptrdiff_t>(i);
    }
    return p;
}

// Notepad starts a file it saves as UTF-8 with this mark; it is no part of the first line, and a
// rewrite keeps it.
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool hasMark(const std::string& doc) {
    return doc.rfind(kByteOrderMark, 0) == 0;
}

std::string withoutMark(const std::string& doc) {
    return hasMark(doc) ? doc.substr(3) : doc;
}

std::string join(const std::vector<Line>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l.text + l.end;
    return out;
}

} // namespace

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::string> IniGetValue(const std::string& document, const std::string& section,
                                       const std::string& key) {
    const auto lines = splitLines(withoutMark(document));
    const Place p = locate(lines, section, key);
    if (p.keyLine < 0)
        return std::nullopt;
    return keyLine(lines[static_cast<std::size_t>(p.keyLine)].text)->value;
}

std::string IniValueKey(const std::string& section, const std::string& key) {
    std::string k = section + '\n' + key;
    for (char& c : k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return k;
}

std::map<std::string, std::string> IniAllValues(const std::string& document) {
    std::map<std::string, std::string> values;
    std::map<std::string, bool> seen; // sections by their folded name
    std::string section;
    bool counts = false;
    for (const Line& line : splitLines(withoutMark(document))) {
        if (const auto name = sectionName(line.text)) {
            section = *name;
            counts = seen.emplace(IniValueKey(section, ""), true).second;
        } else if (const auto kl = keyLine(line.text); kl && counts) {
            values.emplace(IniValueKey(section, kl->name), kl->value);
        }
    }
    return values;
}

std::string IniSetValue(const std::string& document, const std::string& section, const std::string& key,
                        const std::string& value) {
    auto lines = splitLines(withoutMark(document));
    const Place p = locate(lines, section, key);
    const Line entry{key + "=" + value, "\r\n"};
    if (p.keyLine >= 0) {
        auto& line = lines[static_cast<std::size_t>(p.keyLine)];
        line.text = entry.text;
        if (line.end.empty())
            line.end = "\r\n";
    } else if (p.sectionLine >= 0) {
        auto& after = lines[static_cast<std::size_t>(p.lastEntry)];
        if (after.end.empty())
            after.end = "\r\n";
        lines.insert(lines.begin() + p.lastEntry + 1, entry);
    } else {
        if (!lines.empty() && lines.back().end.empty())
            lines.back().end = "\r\n";
        lines.push_back({"[" + section + "]", "\r\n"});
        lines.push_back(entry);
    }
    return (hasMark(document) ? kByteOrderMark : "") + join(lines);
}

std::optional<std::string> IniReadValue(const std::filesystem::path& file, const std::string& section,
                                        const std::string& key) {
    const auto doc = ReadWholeFile(file);
    if (!doc)
        return std::nullopt;
    return IniGetValue(*doc, section, key);
}

bool IniWriteValue(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    return IniWriteValues(file, {{section, key, value}});
}

bool IniWriteValues(const std::filesystem::path& file, const std::vector<TSettingValue>& values) {
    for (const TSettingValue& v : values) {
        // A line break in a value or a name would make another line of the file.
        for (const auto* s : {&v.Section, &v.Key, &v.Value})
            if (s->find_first_of("\r\n") != std::string::npos)
                return false;
        if (v.Section.find(']') != std::string::npos || v.Key.find('=') != std::string::npos ||
            TrimBlanks(v.Key).empty())
            return false;
    }
    int error = 0;
    auto doc = ReadWholeFile(file, &error);
    if (!doc) {
        if (error != ENOENT) {
            errno = error;
            return false; // unreadable: never replace what could not be read
        }
        doc.emplace();
    }
    for (const TSettingValue& v : values)
        *doc = IniSetValue(*doc, v.Section, v.Key, v.Value);
    return WriteFileAtomically(file, *doc);
}

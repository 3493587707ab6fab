// INI text reading and editing with the profile functions' rules, and the file store on top.
#include "platform/IniText.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/System.h"

namespace lumi {

namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The profile functions compare names in the ANSI code page; bytes above ASCII are
// compared as they are rather than guessing a code page.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool HasLineBreakOrNul(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

// One line of the text: [begin, end) without its line end, which takes eolLength bytes.
struct Line {
    size_t begin;
    size_t end;
    size_t eolLength;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t lf = text.find('\n', pos);
        if (lf == text.npos) {
            // A text cut inside its last CR LF: the CR still ends the line.
            const bool cr = text.back() == '\r';
            lines.push_back({pos, cr ? text.size() - 1 : text.size(), cr ? size_t(1) : size_t(0)});
            break;
        }
        const bool cr = lf > pos && text[lf - 1] == '\r';
        lines.push_back({pos, cr ? lf - 1 : lf, cr ? size_t(2) : size_t(1)});
        pos = lf + 1;
    }
    return lines;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    size_t valueOffset = 0;  // key lines: where the value starts, after '=' and its blanks
};

ParsedLine Parse(std::string_view text, const Line& line, bool firstLine) {
    std::string_view s = text.substr(line.begin, line.end - line.begin);
    // Editors on Windows like to start a file with a UTF-8 byte-order mark.
    size_t skipped = 0;
    if (firstLine && s.substr(0, 3) == "\xEF\xBB\xBF") skipped = 3;
    while (skipped < s.size() && IsBlank(s[skipped])) ++skipped;
    const std::string_view body = s.substr(skipped);
    ParsedLine parsed;
    if (body.empty() || body.front() == ';') return parsed;
    if (body.front() == '[') {
        const size_t close = body.find(']');
        parsed.kind = LineKind::Section;
        parsed.name = Trim(body.substr(1, close == body.npos ? body.npos : close - 1));
        return parsed;
    }
    const size_t eq = body.find('=');
    if (eq == body.npos) return parsed;
    parsed.kind = LineKind::Key;
    parsed.name = Trim(body.substr(0, eq));
    size_t value = skipped + eq + 1;
    while (value < s.size() && IsBlank(s[value])) ++value;
    parsed.valueOffset = value;
    return parsed;
}

struct Location {
    bool sectionFound = false;
    size_t sectionLine = 0;     // index of the section's header line
    size_t lastKeyLine = 0;     // index of the section's last key line (or its header)
    bool keyFound = false;
    size_t keyLine = 0;
    size_t valueOffset = 0;
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
    Location at;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine p = Parse(text, lines[i], i == 0);
        if (p.kind == LineKind::Section) {
            if (inSection) break;  // only the first section of a name counts
            if (SameName(p.name, section)) {
                inSection = true;
                at.sectionFound = true;
                at.sectionLine = at.lastKeyLine = i;
            }
        } else if (p.kind == LineKind::Key && inSection) {
            at.lastKeyLine = i;
            if (!at.keyFound && SameName(p.name, key)) {
                at.keyFound = true;
                at.keyLine = i;
                at.valueOffset = p.valueOffset;
            }
        }
    }
    return at;
}

bool UsableNames(std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    return !section.empty() && !key.empty() && !HasLineBreakOrNul(section) && !HasLineBreakOrNul(key) &&
           section.find(']') == section.npos && key.find('=') == key.npos && key.front() != '[' &&
           key.front() != ';';
}

// Outcome of loading a file: missing files read as empty text.
enum class LoadResult { Loaded, Missing, Failed };

LoadResult Load(const std::string& path, std::string& text) {
    text.clear();
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st)) return (!ec || ec == std::errc::no_such_file_or_directory) ? LoadResult::Missing
                                                                                         : LoadResult::Failed;
    if (!fs::is_regular_file(st)) return LoadResult::Failed;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return LoadResult::Failed;
    char buffer[16384];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    return bad ? LoadResult::Failed : LoadResult::Loaded;
}

std::atomic<unsigned> tempCounter{0};

// Writes text to a new file beside target and renames it over target.
bool ReplaceFile(const fs::path& target, const std::string& text) {
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    fs::path temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 20 && !f; ++attempt) {
        temp = folder / (target.filename().string() + ".~" + std::to_string(stamp % 1000000007ULL) + "-" +
                         std::to_string(tempCounter.fetch_add(1)));
        // "x": never reuse a file someone else made; a clash just tries the next name. A
        // new file is the user's alone (a settings file holds the user's messages).
        f = platform::OpenUserFile(temp.string().c_str(), "wbx");
        if (!f && errno != EEXIST) return false;
    }
    if (!f) return false;
    // The old file's mode before any byte is written: a private file's secrets must
    // never sit in a copy that others may read.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    ec.clear();
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace

bool IniValueNeedsQuotes(std::string_view value) {
    if (value.empty()) return false;
    if (IsBlank(value.front()) || IsBlank(value.back())) return true;
    return value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'');
}

std::optional<std::string> IniLookup(std::string_view text, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) return std::nullopt;
    const std::vector<Line> lines = SplitLines(text);
    const Location at = Locate(text, lines, section, key);
    if (!at.keyFound) return std::nullopt;
    const Line& line = lines[at.keyLine];
    std::string_view value = text.substr(line.begin + at.valueOffset, line.end - line.begin - at.valueOffset);
    // No stored value holds a carriage return; one before a line's end is not kept.
    while (!value.empty() && (IsBlank(value.back()) || value.back() == '\r')) value.remove_suffix(1);
    value = Trim(value);
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::optional<std::string> IniAssign(std::string_view text, std::string_view section, std::string_view key,
                                     std::string_view value) {
    if (!UsableNames(section, key) || HasLineBreakOrNul(value)) return std::nullopt;
    section = Trim(section);
    key = Trim(key);
    // A lone CR at the end is completed to a CR LF first, so it stays a line end once
    // something follows it.
    std::string completed;
    if (!text.empty() && text.back() == '\r') {
        completed = std::string(text) + "\n";
        text = completed;
    }
    const std::vector<Line> lines = SplitLines(text);
    std::string eol = "\n";
    if (!lines.empty() && lines.front().eolLength == 2) eol = "\r\n";
    const Location at = Locate(text, lines, section, key);

    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (at.keyFound) {
        const Line& line = lines[at.keyLine];
        out.append(text.substr(0, line.begin + at.valueOffset));
        out.append(value);
        out.append(text.substr(line.end));
        return out;
    }
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    if (at.sectionFound) {
        const Line& after = lines[at.lastKeyLine];
        out.append(text.substr(0, after.end));
        if (after.eolLength == 0) {
            out += eol + keyLine;
        } else {
            out.append(text.substr(after.end, after.eolLength));
            out += keyLine + eol;
        }
        out.append(text.substr(after.end + after.eolLength));
        return out;
    }
    out.append(text);
    if (!lines.empty() && lines.back().eolLength == 0) out += eol;
    out += "[" + std::string(section) + "]" + eol + keyLine + eol;
    return out;
}

std::string IniTextStore::Read(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view def, size_t size) {
    if (size == 0) return {};
    std::string text;
    std::optional<std::string> value;
    if (Load(path, text) == LoadResult::Loaded) value = IniLookup(text, section, key);
    std::string result = value ? std::move(*value) : std::string(def);
    if (result.size() > size - 1) result.resize(size - 1);
    return result;
}

bool IniTextStore::Write(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::path target(path);
    // Editing through a link must change the file it points to, not replace the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::canonical(target, ec);
        if (ec) return false;
    }
    std::string text;
    const LoadResult loaded = Load(target.string(), text);
    // A file we could not read is never replaced by one that holds only the new key.
    if (loaded == LoadResult::Failed) return false;
    if (loaded == LoadResult::Loaded) {
        // Renaming over a read-only file would succeed; its owner meant it to stay as it is.
        std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
        if (!probe) return false;
        std::fclose(probe);
    }
    const std::optional<std::string> updated = IniAssign(text, section, key, value);
    if (!updated) return false;
    if (loaded == LoadResult::Loaded && *updated == text) return true;
    return ReplaceFile(target, *updated);
}

}  // namespace lumi

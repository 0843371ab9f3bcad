#include "core/exercise/echo.h"

#include "core/exercise/judging.h"
#include "core/platform/keyboard.h"

#include <algorithm>
#include <cstring>

namespace {
// The accent a dead key of the ABNT2 layout puts on the next letter; 0 for a key that is not dead there.
char deadAccent(const TEchoKey& key) {
    if (key.layout != 1)
        return 0;
    if (key.code == Vk::Oem4) // right of P
        return key.shifted ? '`' : '\xB4';
    if (key.code == Vk::Oem7) // right of Ç
        return key.shifted ? '^' : '~';
    if (key.code == '6' && key.shifted)
        return '\xA8';
    return 0;
}

// The letter an accent and a letter make (Windows-1252); 0 when they make none.
char accented(char accent, char letter) {
    static const struct {
        char accent;
        const char* plain;
        const char* marked;
    } table[] = {
        {'\xB4', "aeiouAEIOU", "\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA"},
        {'`', "aeiouAEIOU", "\xE0\xE8\xEC\xF2\xF9\xC0\xC8\xCC\xD2\xD9"},
        {'~', "aonAON", "\xE3\xF5\xF1\xC3\xD5\xD1"},
        {'^', "aeiouAEIOU", "\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB"},
        {'\xA8', "aeiouAEIOU", "\xE4\xEB\xEF\xF6\xFC\xC4\xCB\xCF\xD6\xDC"},
    };
    if (letter == 0)
        return 0;
    for (const auto& row : table)
        if (const char* at = std::strchr(row.plain, letter); row.accent == accent && at)
            return row.marked[at - row.plain];
    return 0;
}
} // namespace

void TEcho::Clear() {
    *this = TEcho();
}

TEchoStep TEcho::Type(const TEchoKey& key, const TEchoVerdict& verdict, int columns) {
    TEchoStep step;
    const bool enter = key.code == Vk::Return;

    // What the keyboard writes: a dead key writes nothing until the next key that writes, which takes its
    // accent or, when they make no letter, follows it (a blank: the accent alone).
    std::string typed;
    if (const char accent = deadAccent(key)) {
        if (m_accent)
            typed = std::string(1, m_accent);
        m_accent = accent;
    } else {
        typed = enter ? std::string() : EchoOf(key.code, key.shifted, key.layout, key.capsLock);
        if (m_accent && (enter || !typed.empty())) {
            const char joined = typed.size() == 1 ? accented(m_accent, typed[0]) : 0;
            typed = joined ? std::string(1, joined) : std::string(1, m_accent) + (typed == " " ? "" : typed);
            m_accent = 0;
        }
    }

    if (verdict.wrong && !m_wordWrong) {
        m_wordWrong = true;
        m_markWaiting = true;
    }

    if (!typed.empty()) {
        // A line holds whole groups: a blank at a full line's end is the break itself, and a character that
        // does not fit takes the group it belongs to along to the next line (a group longer than a line is
        // cut).
        const auto room = static_cast<std::size_t>(std::max(1, columns));
        const bool blank = typed == " ";
        if (blank ? m_line.size() >= room : m_line.size() + typed.size() > room) {
            const std::size_t lastBlank = m_line.rfind(' ');
            step.newLine = true;
            step.carried = blank || lastBlank == std::string::npos ? 0 : m_line.size() - lastBlank - 1;
            if (m_markAt != kNoPlace && m_markAt >= m_places - step.carried)
                ++m_markAt;
            m_line.erase(0, m_line.size() - step.carried);
            ++m_places;
            if (blank)
                typed.clear();
        }
        if (m_markWaiting && !typed.empty()) {
            m_markAt = m_places;
            m_markWaiting = false;
        }
        m_line += typed;
        m_places += typed.size();
        step.text = typed;
    }
    if (enter) {
        step.lineAfter = true;
        m_line.clear();
        ++m_places;
    }

    if (verdict.attemptEnded) {
        if (m_wordWrong && m_markAt != kNoPlace)
            step.markFromEnd = m_places - m_markAt;
        m_wordWrong = false;
        m_markWaiting = false;
        m_markAt = kNoPlace;
    }
    return step;
}

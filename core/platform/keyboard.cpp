#include "core/platform/keyboard.h"

#include <array>

namespace {
using F = Finger;
using L = KeyLook;
constexpr F LP = F::LeftPinky, LR = F::LeftRing, LM = F::LeftMiddle, LI = F::LeftIndex;
constexpr F RI = F::RightIndex, RM = F::RightMiddle, RR = F::RightRing, RP = F::RightPinky, TH = F::Thumb;
constexpr L O = L::Ordinary, Fn = L::Function, J = L::Joint, H = L::Hidden;

// One line a key. The on-screen keyboard's keys come first, in the order they are made (the joint of
// Enter last of its pieces, so that it lies over their seam). Columns: code, X keycode, label, legend,
// layout-0 and ABNT2 legends, look, designed left, top, width, height, column, row and width on a
// full-size keyboard, finger, what Shift gives on the American and the ABNT2 layout.
// clang-format off
const TKeyboardKey kKeys[] = {
    {Vk::Oem3, 49, "l1", "`", nullptr, "'", O, 3, 2, 14, 17, 0, 0, 1, LP, '~', '"'},
    {'1', 10, "l2", "1", nullptr, nullptr, O, 19, 2, 14, 17, 1, 0, 1, LP, '!', '!'},
    {'2', 11, "l3", "2", nullptr, nullptr, O, 35, 2, 14, 17, 2, 0, 1, LR, '@', '@'},
    {'3', 12, "l4", "3", nullptr, nullptr, O, 51, 2, 14, 17, 3, 0, 1, LM, '#', '#'},
    {'4', 13, "l5", "4", nullptr, nullptr, O, 67, 2, 14, 17, 4, 0, 1, LI, '$', '$'},
    {'5', 14, "l6", "5", nullptr, nullptr, O, 83, 2, 14, 17, 5, 0, 1, LI, '%', '%'},
    {'6', 15, "l7", "6", nullptr, nullptr, O, 99, 2, 14, 17, 6, 0, 1, RI, '^', 0},
    {'7', 16, "l8", "7", nullptr, nullptr, O, 115, 2, 14, 17, 7, 0, 1, RI, '&', '&'},
    {'8', 17, "l9", "8", nullptr, nullptr, O, 131, 2, 14, 17, 8, 0, 1, RM, '*', '*'},
    {'9', 18, "l10", "9", nullptr, nullptr, O, 147, 2, 14, 17, 9, 0, 1, RR, '(', '('},
    {'0', 19, "l11", "0", nullptr, nullptr, O, 163, 2, 14, 17, 10, 0, 1, RP, ')', ')'},
    {Vk::OemMinus, 20, "l12", "-", nullptr, nullptr, O, 179, 2, 14, 17, 11, 0, 1, RP, '_', '_'},
    {Vk::OemPlus, 21, "l13", "=", nullptr, nullptr, O, 195, 2, 14, 17, 12, 0, 1, RP, '+', '+'},
    {Vk::Oem5, 51, "l14", "\\", nullptr, "]", O, 211, 2, 14, 17, 13, 0, 1, RP, '|', '}'},
    {Vk::Back, 22, "l15", "<--", nullptr, nullptr, Fn, 227, 2, 14, 17, 14, 0, 1, RP, 0, 0},
    {Vk::Tab, 23, "l16", "Tab", nullptr, nullptr, H, 3, 20, 22, 17, 0, 1, 1.5f, LP, 0, 0},
    {'Q', 24, "l17", "Q", nullptr, nullptr, O, 27, 20, 14, 17, 1.5f, 1, 1, LP, 0, 0},
    {'W', 25, "l18", "W", nullptr, nullptr, O, 43, 20, 14, 17, 2.5f, 1, 1, LR, 0, 0},
    {'E', 26, "l19", "E", nullptr, nullptr, O, 59, 20, 14, 17, 3.5f, 1, 1, LM, 0, 0},
    {'R', 27, "l20", "R", nullptr, nullptr, O, 75, 20, 14, 17, 4.5f, 1, 1, LI, 0, 0},
    {'T', 28, "l21", "T", nullptr, nullptr, O, 91, 20, 14, 17, 5.5f, 1, 1, LI, 0, 0},
    {'Y', 29, "l22", "Y", nullptr, nullptr, O, 107, 20, 14, 17, 6.5f, 1, 1, RI, 0, 0},
    {'U', 30, "l23", "U", nullptr, nullptr, O, 123, 20, 14, 17, 7.5f, 1, 1, RI, 0, 0},
    {'I', 31, "l24", "I", nullptr, nullptr, O, 139, 20, 14, 17, 8.5f, 1, 1, RM, 0, 0},
    {'O', 32, "l25", "O", nullptr, nullptr, O, 155, 20, 14, 17, 9.5f, 1, 1, RR, 0, 0},
    {'P', 33, "l26", "P", nullptr, nullptr, O, 171, 20, 14, 17, 10.5f, 1, 1, RP, 0, 0},
    {Vk::Oem4, 34, "l27", "[", "[", "´", O, 187, 20, 14, 17, 11.5f, 1, 1, RP, '{', 0},
    {Vk::Oem6, 35, "l28", "]", "]", "[", O, 203, 20, 14, 17, 12.5f, 1, 1, RP, '}', '{'},
    {Vk::Return, 36, "l29_1", "", nullptr, nullptr, Fn, 219, 20, 22, 19, 0, 0, 0, RP, 0, 0},
    {Vk::Capital, 66, "l30", "Caps L", nullptr, nullptr, Fn, 3, 38, 29, 17, 0, 2, 1.75f, LP, 0, 0},
    {'A', 38, "l31", "A", nullptr, nullptr, O, 33, 38, 14, 17, 1.75f, 2, 1, LP, 0, 0},
    {'S', 39, "l32", "S", nullptr, nullptr, O, 49, 38, 14, 17, 2.75f, 2, 1, LR, 0, 0},
    {'D', 40, "l33", "D", nullptr, nullptr, O, 65, 38, 14, 17, 3.75f, 2, 1, LM, 0, 0},
    {'F', 41, "l34", "F", nullptr, nullptr, O, 81, 38, 14, 17, 4.75f, 2, 1, LI, 0, 0},
    {'G', 42, "l35", "G", nullptr, nullptr, O, 97, 38, 14, 17, 5.75f, 2, 1, LI, 0, 0},
    {'H', 43, "l36", "H", nullptr, nullptr, O, 113, 38, 14, 17, 6.75f, 2, 1, RI, 0, 0},
    {'J', 44, "l37", "J", nullptr, nullptr, O, 129, 38, 14, 17, 7.75f, 2, 1, RI, 0, 0},
    {'K', 45, "l38", "K", nullptr, nullptr, O, 145, 38, 14, 17, 8.75f, 2, 1, RM, 0, 0},
    {'L', 46, "l39", "L", nullptr, nullptr, O, 161, 38, 14, 17, 9.75f, 2, 1, RR, 0, 0},
    {Vk::Oem1, 47, "l40", ";", ";", "Ç", O, 177, 38, 14, 17, 10.75f, 2, 1, RP, ':', 0},
    {Vk::Oem7, 48, "l41", "'", "´", "~", O, 193, 38, 14, 17, 11.75f, 2, 1, RP, '"', '^'},
    {Vk::Return, 0, "l29_3", "  ENTER", nullptr, nullptr, Fn, 209, 38, 32, 17, 0, 0, 0, RP, 0, 0},
    {Vk::Return, 0, "l29_2", "", nullptr, nullptr, J, 220, 31, 20, 8, 0, 0, 0, RP, 0, 0},
    {Vk::Shift, 50, "l42", "Shift", nullptr, nullptr, Fn, 3, 56, 35, 17, 0, 3, 2.25f, LP, 0, 0},
    {'Z', 52, "l43", "Z", nullptr, nullptr, O, 39, 56, 14, 17, 2.25f, 3, 1, LP, 0, 0},
    {'X', 53, "l44", "X", nullptr, nullptr, O, 55, 56, 14, 17, 3.25f, 3, 1, LR, 0, 0},
    {'C', 54, "l45", "C", nullptr, nullptr, O, 71, 56, 14, 17, 4.25f, 3, 1, LM, 0, 0},
    {'V', 55, "l46", "V", nullptr, nullptr, O, 87, 56, 14, 17, 5.25f, 3, 1, LI, 0, 0},
    {'B', 56, "l47", "B", nullptr, nullptr, O, 103, 56, 14, 17, 6.25f, 3, 1, LI, 0, 0},
    {'N', 57, "l48", "N", nullptr, nullptr, O, 119, 56, 14, 17, 7.25f, 3, 1, RI, 0, 0},
    {'M', 58, "l49", "M", nullptr, nullptr, O, 135, 56, 14, 17, 8.25f, 3, 1, RI, 0, 0},
    {Vk::OemComma, 59, "l50", ",", nullptr, nullptr, O, 151, 56, 14, 17, 9.25f, 3, 1, RM, '<', '<'},
    {Vk::OemPeriod, 60, "l51", ".", nullptr, nullptr, O, 167, 56, 14, 17, 10.25f, 3, 1, RR, '>', '>'},
    {Vk::Oem2, 61, "l52", "/", "/", ";", O, 183, 56, 14, 17, 11.25f, 3, 1, RP, '?', ':'},
    {Vk::Shift, 62, "l53", "Shift", nullptr, nullptr, Fn, 199, 56, 42, 17, 12.25f, 3, 2.75f, RP, 0, 0},
    {Vk::Space, 65, "l54", "", nullptr, nullptr, O, 69, 74, 91, 17, 3.75f, 4, 6.25f, TH, 0, 0},
    // Keys the on-screen keyboard does not show: their codes, for the platforms that report places.
    {Vk::Escape, 9},
    {Vk::Control, 37},
    {Vk::Menu, 64},
    {Vk::F1, 67},
    {Vk::F1 + 1, 68},
    {Vk::F1 + 2, 69},
    {Vk::F1 + 3, 70},
    {Vk::F1 + 4, 71},
    {Vk::F1 + 5, 72},
    {Vk::F1 + 6, 73},
    {Vk::F1 + 7, 74},
    {Vk::F1 + 8, 75},
    {Vk::F1 + 9, 76},
    {Vk::NumLock, 77},
    {Vk::Scroll, 78},
    {Vk::Oem102, 94},  // ISO: left of Z
    {Vk::F11, 95},
    {Vk::F12, 96},
    {Vk::AbntC1, 97},  // ABNT2: "/" left of the right Shift
    {Vk::Control, 105},  // right
    {Vk::Snapshot, 107},
    {Vk::Menu, 108},  // AltGr
    {Vk::Home, 110},
    {Vk::Up, 111},
    {Vk::Prior, 112},
    {Vk::Left, 113},
    {Vk::Right, 114},
    {Vk::End, 115},
    {Vk::Down, 116},
    {Vk::Next, 117},
    {Vk::Insert, 118},
    {Vk::Delete, 119},
    {Vk::Pause, 127},
    {Vk::AbntC2, 129},  // ABNT2: the pad's second "."
    {Vk::LWin, 133},
    {Vk::RWin, 134},
    {Vk::Apps, 135},
};
// clang-format on
} // namespace

std::span<const TKeyboardKey> KeyboardKeys() {
    return kKeys;
}

const TKeyboardKey* KeyOfCode(int code) {
    const TKeyboardKey* any = nullptr;
    for (const TKeyboardKey& key : kKeys)
        if (key.code == code) {
            if (key.Lit())
                return &key;
            if (!any)
                any = &key;
        }
    return any;
}

std::uint16_t CodeOfXKeycode(std::uint32_t xKeycode) {
    // Every key event asks: the table is turned round once.
    static const std::array<std::uint16_t, 256> byKeycode = [] {
        std::array<std::uint16_t, 256> t{};
        for (const TKeyboardKey& key : kKeys)
            if (key.xKeycode != 0 && t[key.xKeycode] == 0)
                t[key.xKeycode] = key.code;
        return t;
    }();
    return xKeycode < byKeycode.size() ? byKeycode[xKeycode] : 0;
}

std::uint16_t CodeOfAmericanCharacter(char c) {
    if (c <= ' ' || c > '~')
        return 0;
    for (const TKeyboardKey& key : kKeys)
        if ((key.legend[0] == c && key.legend[1] == 0) || key.shifted == c)
            return key.code;
    return 0;
}

bool CodeHasKey(int code) {
    const TKeyboardKey* key = KeyOfCode(code);
    return key && key->Lit();
}

std::uint32_t FingerRgb(Finger finger) {
    switch (finger) {
    case F::LeftPinky:
    case F::RightPinky:
        return 0xE57373;
    case F::LeftRing:
    case F::RightRing:
        return 0xFFB74D;
    case F::LeftMiddle:
    case F::RightMiddle:
        return 0xFFE066;
    case F::LeftIndex:
        return 0x81C784;
    case F::RightIndex:
        return 0x64B5F6;
    case F::Thumb:
        break;
    }
    return 0xB39DDB;
}
